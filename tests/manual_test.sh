#!/bin/sh
# SPDX-License-Identifier: MIT
# A program's manual pages, in English and in Portuguese: each renders
# without a warning and names every option that the program's --help names.
# Skips (status 77) where man is missing.
# usage: manual_test.sh PAGE_STEM [EMULATOR...] PROGRAM  (pages PAGE_STEM.1, PAGE_STEM.pt_BR.1)
set -e
export LC_ALL=C.UTF-8 MANWIDTH=200
stem=$1
shift
options=$("$@" --help | sed -n 's/^ *\(--[a-z]*\).*/\1/p' | sort -u)
[ "$(echo "$options" | wc -l)" -ge 5 ] || { echo "--help names too few options: $options"; exit 1; }
command -v man >/dev/null || { echo "man is missing: the pages are not rendered"; exit 77; }
warnings=$(mktemp)
trap 'rm -f "$warnings"' EXIT
status=0
for page in "$stem.1" "$stem.pt_BR.1"; do
    text=$(man --warnings --nh --nj -l "$page" 2>"$warnings") || status=1
    [ ! -s "$warnings" ] || { echo "$page:"; cat "$warnings"; status=1; }
    for option in $options; do
        echo "$text" | grep -qF -e "$option" || { echo "$page does not name $option"; status=1; }
    done
done
exit $status
