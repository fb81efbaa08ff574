#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a program on a golden case and compares everything it does with the
# case's files: NAME.in (standard input), NAME.out (standard output, byte
# for byte), NAME.err (standard error) and NAME.status (exit status); a
# missing file means empty, or status 0, and NAME.in.gz or NAME.out.gz stand
# for large ones. NAME.run, if there is one, is the shell line that runs the
# command ("$@") instead of the plain one, to give it other streams, a
# wrapper or a limit; it finds its files in $in, $out and $err.
# usage: run_golden.sh CASE_DIR NAME COMMAND [ARGUMENT...]
case=$1/$2
shift 2
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
# The case's file for $1, unpacked.
expected() {
    cat "$case.$1" 2>/dev/null || gzip -dc "$case.$1.gz" 2>/dev/null || [ "$1" != status ] || echo 0
}

in=$work/in out=$work/out err=$work/err
expected in >"$in"
: >"$out"
run='"$@" <"$in" >"$out" 2>"$err"'
[ -f "$case.run" ] && run=$(cat "$case.run")
eval "$run"
echo $? >"$work/status"
failed=0
for part in out err status; do
    expected $part | cmp -s - "$work/$part" && continue
    echo "$part differs from the expected one:"
    expected $part | diff - "$work/$part" | head -c 4000
    failed=1
done
exit $failed
