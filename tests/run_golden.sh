#!/bin/sh
# Runs a program on a golden case and compares everything it does with the
# case's files: NAME.in (standard input; none means empty), NAME.out
# (standard output, byte for byte), NAME.err (standard error; none means
# empty) and NAME.status (exit status; none means 0). NAME.in.gz and
# NAME.out.gz stand for large inputs and outputs. NAME.run, when there is
# one, is the shell line that runs the command ("$@") instead of the plain
# one below, to give it other standard streams or a wrapper; it finds the
# files to use in $in, $out and $err.
# usage: run_golden.sh CASE_DIR NAME COMMAND [ARGUMENT...]
case=$1/$2
shift 2
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT

for part in in out; do
    if [ -f "$case.$part.gz" ]; then
        gzip -dc "$case.$part.gz" >"$work/expected.$part" || exit 1
    elif [ -f "$case.$part" ]; then
        cp "$case.$part" "$work/expected.$part"
    fi
done
[ -f "$work/expected.in" ] || : >"$work/expected.in"
expected_err=/dev/null
[ -f "$case.err" ] && expected_err=$case.err
expected_status=0
[ -f "$case.status" ] && expected_status=$(cat "$case.status")

in=$work/expected.in
out=$work/out
err=$work/err
: >"$out"
run='"$@" <"$in" >"$out" 2>"$err"'
[ -f "$case.run" ] && run=$(cat "$case.run")
eval "$run"
status=$?

failed=0
if ! cmp -s "$work/out" "$work/expected.out"; then
    echo "standard output differs from the expected one:"
    diff "$work/expected.out" "$work/out" | head -c 4000
    failed=1
fi
if ! cmp -s "$work/err" "$expected_err"; then
    echo "standard error differs from the expected one:"
    head -c 4000 "$work/err"
    failed=1
fi
if [ "$status" != "$expected_status" ]; then
    echo "exit status $status, expected $expected_status"
    failed=1
fi
exit $failed
