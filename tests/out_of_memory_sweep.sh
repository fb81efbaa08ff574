#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a program again and again as memory runs out at another point of the
# run each time, on n = 3 and NAMES soldiers:
# - with a failing allocator preloaded, for each allocation that a whole run
#   makes, first with that allocation failing, then with it and every later
#   one failing;
# - with "address-space", under each cap from 1,000 to 12,000 KiB, 16 KiB
#   apart (and stacks of 256 KiB, so that threads can be made).
# Each run must end as the run without limits does, or with SIGABRT, only
# the program's out-of-memory message on standard error and a prefix of the
# whole output on standard output: never through std::terminate, a C
# library's fatal error, another signal or a lost line.
# Under the lowest caps the dynamic loader cannot map the program's libraries
# or its thread data; such a run never started, and must print nothing else.
# usage: out_of_memory_sweep.sh FAILING_ALLOCATOR|address-space NAMES PROGRAM [ARGUMENT...]
limit=$1 names=$2
shift 2
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
ulimit -c 0
{ echo 3; seq -f 'soldado%g' "$names"; } >"$work/in"
"$@" <"$work/in" >"$work/whole.out" 2>"$work/whole.err"
whole=$?
ours="$(basename "$1"): memoria esgotada"

# Checks how the last run ended ($1 says which), with as few processes as
# can be: a sweep makes thousands of runs.
check() {
    first='' second='' third=''
    { IFS= read -r first; IFS= read -r second; IFS= read -r third; } <"$work/err"
    case $status in
    $whole)
        cmp -s "$work/out" "$work/whole.out" &&
            if [ -s "$work/whole.err" ]; then cmp -s "$work/err" "$work/whole.err"; else [ ! -s "$work/err" ]; fi &&
            return ;;
    134)
        # The message, then what the shell itself may add ("Aborted").
        [ "$first/${second:-Aborted}/$third" = "$ours/Aborted/" ] &&
            { compared=$(cmp "$work/out" "$work/whole.out" 2>&1) ||
                [ -z "${compared##*EOF on $work/out*}" ]; } && return ;;
    127)
        [ ! -s "$work/out" ] && case $first in
        *'error while loading shared libraries'* | *'cannot allocate TLS data structures'*) return ;;
        esac ;;
    esac
    echo "$1: status $status, standard error:"
    cat "$work/err"
    exit 1
}

if [ "$limit" = address-space ]; then
    cap=984
    while [ $((cap += 16)) -le 12000 ]; do
        (ulimit -v $cap && ulimit -s 256 && exec "$@" <"$work/in" >"$work/out" 2>"$work/err")
        status=$?
        check "address space of $cap KiB"
    done
    exit 0
fi
calls=$(LISTAENC_FAILING_ALLOCATION=0 LD_PRELOAD=$limit "$@" <"$work/in" 2>&1 >/dev/null | tail -n 1)
for mode in '' +; do
    k=0
    while [ $((k += 1)) -le "$calls" ]; do
        LISTAENC_FAILING_ALLOCATION=$k$mode LD_PRELOAD=$limit "$@" <"$work/in" >"$work/out" 2>"$work/err"
        status=$?
        check "allocation $k$mode of $calls failing"
    done
done
