#!/bin/sh
# SPDX-License-Identifier: MIT
# Makes the spreadsheet files that the tests read, as a spreadsheet program
# saves them: LibreOffice Calc, headless, exports inscritos.fods (twelve
# registrants: a comma, a semicolon and double quotes in names, a cell of
# two lines, a name that looks like a formula, accents, a duplicate, an
# empty row) as CSV with each separator, quoting and encoding that people
# choose when they save:
#   inscritos_virgula.csv          ',' and quotes only where needed, UTF-8
#   inscritos_ponto_e_virgula.csv  ';' and every text cell quoted, UTF-8
#   inscritos_utf16.csv            ';' in UTF-16 with its byte order mark
#                                  ("Texto Unicode")
#   inscritos_cp1252.csv           ';' in Windows-1252 ("Texto", older CSV)
#   inscritos_bom.csv              ',' in UTF-8 with a byte order mark, as
#                                  the "CSV UTF-8" of other spreadsheets
#                                  saves it (LibreOffice 7.4 writes none:
#                                  the mark is put before its UTF-8 file)
# Each file's names are the same: the tests draw them all alike.
# usage: make.sh  (in this folder; needs soffice)
set -e
cd "$(dirname "$0")"
command -v soffice >/dev/null || { echo "soffice is missing" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work" # a profile of its own, made anew
# Filter options: separator, text delimiter, character set (76 UTF-8,
# 65535 UTF-16, 1 Windows-1252), first line, cell formats, language, quote
# every text cell, detect numbers, save cells as shown.
for file in "virgula 44,34,76,1,,0,false,false,true" \
            "ponto_e_virgula 59,34,76,1,,0,true,false,true" \
            "utf16 59,34,65535,1,,0,false,false,true" \
            "cp1252 59,34,1,1,,0,false,false,true"; do
    set -- $file
    mkdir "$work/$1"
    soffice --headless --convert-to "csv:Text - txt - csv (StarCalc):$2" --outdir "$work/$1" \
        inscritos.fods >/dev/null 2>&1
    cp "$work/$1/inscritos.csv" "inscritos_$1.csv"
done
printf '\357\273\277' | cat - inscritos_virgula.csv >inscritos_bom.csv
