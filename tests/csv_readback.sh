#!/bin/sh
# SPDX-License-Identifier: MIT
# A column of names as a spreadsheet exports it (a byte order mark, CRLF,
# duplicates, commas, quotes, accents), drawn with --linhas --csv
# --contagem N for several counts: Python's csv module must read the table
# back as the header, then every soldier once, in the order that a plain
# circle removes them, each with its number in the roster and its name
# exactly. Python runs in the C locale and reads the file as UTF-8.
# usage: csv_readback.sh COMMAND [ARGUMENT...]
command -v python3 >/dev/null || { echo "python3 is missing: the table is not read back"; exit 77; }
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
LC_ALL=C python3 - "$work/nomes.csv" <<'PYTHON' || exit 1
import sys
names = ["Maria Silva", "Jo\u00e3o Souza", "Silva, Maria", 'Ana "Aninha" Lima', "Maria Silva",
         "\u674e\u534e", "Concei\u00e7\u00e3o", "Pedro", "Jo\u00e3o Souza", "Z"]
names += ["Soldado %d" % i for i in range(1, 91)]
with open(sys.argv[1], "wb") as f:
    f.write(b"\xef\xbb\xbf" + "\r\n".join(names).encode("utf-8") + b"\r\n")
PYTHON
for n in 0 1 7 1000 2147483647; do
    "$@" --linhas --csv --contagem "$n" <"$work/nomes.csv" >"$work/sorteio.csv" 2>"$work/err" ||
        { echo "n = $n: status $?"; cat "$work/err"; exit 1; }
    LC_ALL=C python3 - "$work/nomes.csv" "$work/sorteio.csv" "$n" <<'PYTHON' || exit 1
import csv, sys
with open(sys.argv[1], encoding="utf-8-sig", newline="") as f:
    roster = f.read().split("\r\n")[:-1]
n = int(sys.argv[3])
standing = list(range(1, len(roster) + 1))
order, at = [], 0
while standing:
    at = (at + n) % len(standing)
    order.append(standing.pop(at))
    if standing:
        at %= len(standing)
with open(sys.argv[2], encoding="utf-8-sig", newline="") as f:
    table = list(csv.reader(f, strict=True))
expected = [["ordem", "posicao", "nome"]]
expected += [[str(i + 1), str(p), roster[p - 1]] for i, p in enumerate(order)]
if table != expected:
    for got, want in zip(table, expected):
        if got != want:
            print("n = %d: read %r, expected %r" % (n, got, want))
            break
    print("n = %d: %d rows read, %d expected" % (n, len(table), len(expected)))
    sys.exit(1)
with open(sys.argv[2], "rb") as f:
    data = f.read()
if data.count(b"\r\n") != len(expected) or data.count(b"\n") != len(expected):
    sys.exit("n = %d: a row does not end with CRLF" % n)
PYTHON
done
