#!/bin/sh
# Runs a program on a golden case and compares everything it does with the
# case's files: NAME.in (standard input; none means /dev/null), NAME.out
# (standard output, byte for byte), NAME.err (standard error; none means
# empty) and NAME.status (exit status; none means 0).
# usage: run_golden.sh PROGRAM CASE_DIR NAME
program=$1
case=$2/$3
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT

input=/dev/null
[ -f "$case.in" ] && input=$case.in
expected_err=/dev/null
[ -f "$case.err" ] && expected_err=$case.err
expected_status=0
[ -f "$case.status" ] && expected_status=$(cat "$case.status")

"$program" <"$input" >"$work/out" 2>"$work/err"
status=$?

failed=0
if ! cmp -s "$work/out" "$case.out"; then
    echo "standard output differs from $case.out:"
    diff "$case.out" "$work/out" | head -40
    failed=1
fi
if ! cmp -s "$work/err" "$expected_err"; then
    echo "standard error differs from $expected_err:"
    head -c 4000 "$work/err"
    failed=1
fi
if [ "$status" != "$expected_status" ]; then
    echo "exit status $status, expected $expected_status"
    failed=1
fi
exit $failed
