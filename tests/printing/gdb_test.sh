#!/bin/sh
# SPDX-License-Identifier: MIT
# The GDB printers: a list, an iterator, end(), a node and a list without a
# header, printed by gdb -batch from a program stopped at its breakpoint.
# Usage: gdb_test.sh PRINTERS.py PROGRAM ITS-SOURCE
set -u
command -v gdb >/dev/null 2>&1 || { echo "gdb is missing: skipped"; exit 77; }
export LC_ALL=C
line=$(grep -n 'gdb stops here' "$3" | cut -d: -f1)
out=$(gdb -batch -nx -ex "source $1" -ex "break gdb_sample.cpp:$line" -ex run \
    -ex 'print l' -ex 'print it' -ex 'print e' -ex 'print n' -ex 'print none' "$2" 2>&1) || {
    echo "$out"
    exit 1
}
printed=$(printf '%s\n' "$out" | grep '^\$[0-9]* = ' | sed 's/^\$[0-9]* = //')
expected='ListaEnc with 3 elements = {{key = 10, info = "ana"}, {key = 20, info = "bia"}, {key = 30, info = "caio"}}
{key = 20, info = "bia"}
end()
ListaEnc with 0 elements (no header)'
got=$(printf '%s\n' "$printed" | grep -v '^{key = 10, info = "ana", next = 0x[0-9a-f]*}$')
if [ "$got" != "$expected" ] || ! printf '%s\n' "$printed" | grep -q '^{key = 10, info = "ana", next = 0x[0-9a-f]*}$'; then
    printf 'gdb printed:\n%s\n' "$out"
    exit 1
fi
