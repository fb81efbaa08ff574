#!/bin/sh
# SPDX-License-Identifier: MIT
# The workbook of --xlsx read back: the registrants of a spreadsheet drawn
# with --xlsx beside --csv. Its sheet must hold the table's rows, each id
# and name a text cell exactly as in the file (no "'" before "=1+1", "0001"
# not a number), the order, row and prize numbers, and no formula at all.
# With "libreoffice", LibreOffice Calc (headless) then opens the workbook and
# saves it as CSV: it must read the same cells. Python runs in the C locale;
# a missing tool skips (status 77).
# usage: xlsx_readback.sh [libreoffice] SPREADSHEETS_DIR COMMAND [ARGUMENT...]
office=false
[ "$1" = libreoffice ] && { office=true; shift; }
sheets=$1
shift
command -v python3 >/dev/null || { echo "python3 is missing: the workbook is not read back"; exit 77; }
if $office && ! command -v soffice >/dev/null; then
    echo "soffice is missing: the workbook is not opened in LibreOffice"
    exit 77
fi
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
"$@" --coluna Nome --id id --premios 3 --csv --contagem 7 --xlsx "$work/sorteio.xlsx" \
    <"$sheets/inscritos_virgula.csv" >"$work/sorteio.csv" 2>"$work/err"
status=$?
if [ $status = 2 ] && grep -q 'não tem libxlsxwriter' "$work/err"; then
    echo "this build writes no workbooks"
    exit 77
fi
[ $status = 0 ] || { echo "status $status"; cat "$work/err"; exit 1; }
if $office; then
    export HOME="$work" # a profile of its own
    soffice --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,false,true' \
        --outdir "$work/office" "$work/sorteio.xlsx" >"$work/office.log" 2>&1
    [ -f "$work/office/sorteio.csv" ] || { echo "LibreOffice did not open the workbook:"; cat "$work/office.log"; exit 1; }
fi
LC_ALL=C python3 - "$work" $office <<'PYTHON'
import csv, io, re, sys, zipfile
work, office = sys.argv[1], sys.argv[2] == "true"
ns = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}
import xml.etree.ElementTree as ET
with zipfile.ZipFile(work + "/sorteio.xlsx") as book:
    strings = [
        "".join(t.text or "" for t in si.iter("{%s}t" % ns["m"]))
        for si in ET.fromstring(book.read("xl/sharedStrings.xml")).findall("m:si", ns)
    ]
    sheet_xml = book.read("xl/worksheets/sheet1.xml")
sheet = ET.fromstring(sheet_xml)
if sheet.findall(".//m:f", ns) or b"<f" in sheet_xml:
    sys.exit("the workbook has a formula")
rows = []
for number, row in enumerate(sheet.findall(".//m:sheetData/m:row", ns), 1):
    if row.get("r") != str(number):
        sys.exit("row %d of the sheet is numbered %s" % (number, row.get("r")))
    cells = {}
    for c in row.findall("m:c", ns):
        column, at = re.match(r"([A-Z]+)([0-9]+)$", c.get("r")).groups()
        if at != str(number):
            sys.exit("a cell of row %d is in row %s" % (number, at))
        value = c.find("m:v", ns)
        if c.get("t") == "s":
            cells[column] = ("text", strings[int(value.text)])
        else:
            cells[column] = ("number", value.text)
    width = max(ord(k) - ord("A") + 1 for k in cells)
    rows.append([cells.get(chr(ord("A") + i), ("empty", "")) for i in range(width)])

with open(work + "/sorteio.csv", encoding="utf-8-sig", newline="") as f:
    table = list(csv.reader(f, strict=True))
def unguarded(cell):
    return cell[1:] if cell[:1] == "'" and cell[1:2] in ("=", "+", "-", "@", "\t", "\r") else cell
expected = [[("text", c) for c in table[0]]]
for r in table[1:]:
    expected.append([("number", r[0]), ("number", r[1]), ("text", unguarded(r[2])),
                     ("text", unguarded(r[3]))] + ([("number", r[4])] if r[4] else []))
if rows != expected:
    for got, want in zip(rows, expected):
        if got != want:
            print("read %r, expected %r" % (got, want))
            break
    sys.exit("the workbook's cells are not the table's (%d rows, %d expected)" % (len(rows), len(expected)))
if not any(c == ("text", "=1+1") for r in rows for c in r) or ("text", "0004") not in rows[2]:
    sys.exit("a name or an id that looks like a formula or a number is not text")

if office:
    with open(work + "/office/sorteio.csv", encoding="utf-8", newline="") as f:
        opened = list(csv.reader(f, strict=True))
    want = [[v for kind, v in r] for r in rows]
    opened = [r[:len(w)] for r, w in zip(opened, want)] + opened[len(want):]
    if opened != want:
        for got, w in zip(opened, want):
            if got != w:
                print("LibreOffice read %r, expected %r" % (got, w))
                break
        sys.exit("LibreOffice reads other cells")
PYTHON
