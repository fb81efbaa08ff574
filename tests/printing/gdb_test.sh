#!/bin/sh
# SPDX-License-Identifier: MIT
# The GDB printers: a list, an iterator, end(), a node and a list without a
# header, printed by gdb -batch from a program stopped at its breakpoint,
# once with the printers loaded by `source` and once with gdb loading them by
# itself, from the file that the program names. And the file that the list's
# libraries name, as gdb lists it (none where NAMED is empty).
# Usage: gdb_test.sh PRINTERS.py PROGRAM ITS-SOURCE AUTOLOADING-PROGRAM NAMED
set -u
command -v gdb >/dev/null 2>&1 || { echo "gdb is missing: skipped"; exit 77; }
export LC_ALL=C
line=$(grep -n 'gdb stops here' "$3" | cut -d: -f1)
expected='ListaEnc with 3 elements = {{key = 10, info = "ana"}, {key = 20, info = "bia"}, {key = 30, info = "caio"}}
{key = 20, info = "bia"}
end()
ListaEnc with 0 elements (no header)'
node='^{key = 10, info = "ana", next = 0x[0-9a-f]*}$'

# Runs gdb on the program (first) with the options that follow it, and
# checks what it printed of the five values.
printed() {
    program=$1
    shift
    out=$(gdb -batch -nx "$@" -ex "break gdb_sample.cpp:$line" -ex run -ex 'print l' \
        -ex 'print it' -ex 'print e' -ex 'print n' -ex 'print none' "$program" 2>&1) || {
        echo "$out"
        return 1
    }
    values=$(printf '%s\n' "$out" | grep '^\$[0-9]* = ' | sed 's/^\$[0-9]* = //')
    if [ "$(printf '%s\n' "$values" | grep -v "$node")" != "$expected" ] ||
        ! printf '%s\n' "$values" | grep -q "$node"; then
        printf 'gdb printed:\n%s\n' "$out"
        return 1
    fi
}

printed "$2" -ex "source $1" || exit 1
printed "$4" -iex "add-auto-load-safe-path $(dirname "$1")" || {
    echo "(the printers were not loaded by gdb itself)"
    exit 1
}

scripts=$(gdb -batch -nx -ex 'info auto-load python-scripts' "$2" 2>&1)
if [ -n "$5" ]; then
    printf '%s\n' "$scripts" | grep -E '^(Yes|No) ' | sed -E 's/^(Yes|No) +//; s/ +$//' |
        grep -qxF -- "$5" || {
        printf 'the program names no %s for gdb:\n%s\n' "$5" "$scripts"
        exit 1
    }
elif printf '%s\n' "$scripts" | grep -qE '^(Yes|No) '; then
    printf 'the program names printers for gdb:\n%s\n' "$scripts"
    exit 1
fi
