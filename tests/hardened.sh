#!/bin/sh
# SPDX-License-Identifier: MIT
# The programs are hardened as Debian's are: position-independent, their
# relocations read-only (RELRO) and bound when they start (BIND_NOW).
# usage: hardened.sh PROGRAM...
command -v readelf >/dev/null || { echo "readelf is missing"; exit 77; }
for program; do
    [ "$(LC_ALL=C readelf -hlWd "$program" | grep -c -e 'Type: *DYN' -e GNU_RELRO -e '(FLAGS) *BIND_NOW')" = 3 ] ||
        { echo "$program is not hardened"; exit 1; }
done
