#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a program again and again with a failing allocator preloaded, on
# n = 3 and NAMES soldiers (or on the file NAMES), for each allocation that a whole run makes: with
# that allocation failing, then with it and every later one failing, and
# then for each allocation of a node's size, with that one failing.
# A run must end as the run without a failure does, or with SIGABRT and a
# prefix of the whole output on standard output, standard error holding only
# the program's out-of-memory line or, when an element or the list's header
# was not made, the list's message and the assertion's report naming the
# operation: never std::terminate, a C library's fatal error, another signal
# or a lost line. With every allocation failing from one on, the assertion
# may find no memory for its report and say only so.
# LISTAENC_SWEEP_MODES may name fewer modes than "one onwards node": a
# program that makes other allocations of a node's size is swept in the
# first two only.
# A run of many allocations is swept at its first and last fifty and at
# evenly spread ones between, LISTAENC_SWEEP_RUNS runs a mode in all (150
# unless set; 0 sweeps every allocation): the middle of a long run repeats
# the same steps on other elements.
# usage: out_of_memory_sweep.sh FAILING_ALLOCATOR NAMES PROGRAM [ARGUMENT...]
allocator=$1 names=$2
shift 2
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
ulimit -c 0
echo >"$work/newline"
case $names in
*[!0-9]*) cp "$names" "$work/in" || exit 1 ;;
*) { echo 3; seq -f 'soldado%g' "$names"; } >"$work/in" ;;
esac
"$@" <"$work/in" >"$work/whole.out" 2>"$work/whole.err"
whole=$?
ours="$(basename "$1"): memória esgotada"
lists='[listaenc::inserir(int)]: Erro durante alocacao da area de armazenamento!'

# Reads the first four lines of standard error from line $1 on.
read_errors() {
    first='' second='' third='' fourth=''
    { IFS= read -r first; IFS= read -r second; IFS= read -r third; IFS= read -r fourth; } <<EOF
$(tail -n "+$1" "$work/err")
EOF
}

# The line of standard error where the last run first differs from the whole
# run's, or goes on past all of it; 1 when it wrote none of its lines first.
differing_line() {
    at=$(LC_ALL=C cmp "$work/err" "$work/whole.err" 2>&1)
    case $at in
    *"EOF on $work/whole.err after byte "*", line "*) at=$((${at##*line } + 1)) ;;
    *" differ: "*", line "*) at=${at##*line } ;;
    *) at=1 ;;
    esac
    case $at in '' | *[!0-9]*) echo 1 ;; *) echo "$at" ;; esac
}

# Checks how the last run ended, with as few processes as can be: a sweep
# makes thousands of runs. A run that ran out of memory may first have
# written, whole, lines that the whole run writes on standard error too (an
# unknown command's, say).
check() {
    first='' second='' third='' fourth=''
    { IFS= read -r first; IFS= read -r second; IFS= read -r third; IFS= read -r fourth; } <"$work/err"
    from=1
    case $status/$mode in
    $whole/node) ;;
    $whole/*)
        cmp -s "$work/out" "$work/whole.out" &&
            if [ -s "$work/whole.err" ]; then cmp -s "$work/err" "$work/whole.err"; else [ ! -s "$work/err" ]; fi &&
            return ;;
    134/*)
        # Whole lines of the whole output: a newline last, or nothing.
        { [ ! -s "$work/out" ] || tail -c 1 "$work/out" | cmp -s - "$work/newline"; } &&
            head -c "$(wc -c <"$work/out")" "$work/whole.out" | cmp -s - "$work/out" &&
            while :; do
                case $mode/$first/$second/$third/$fourth in
                one/"$ours"/// | onwards/"$ours"///) return ;;
                */"/$lists/"*listaenccircular.cpp:*inserir*"Assertion"*/) return ;;
                onwards/"/$lists/Unexpected error./") return ;;
                esac
                [ "$from" -eq 1 ] && [ -s "$work/whole.err" ] || break
                from=$(differing_line)
                [ "$from" -gt 1 ] || break
                read_errors "$from"
            done ;;
    esac
    echo "allocation $k$suffix of $calls failing: status $status, standard error:"
    cat "$work/err"
    exit 1
}

for mode in ${LISTAENC_SWEEP_MODES:-one onwards node}; do
    case $mode in one) suffix='' ;; onwards) suffix=+ ;; node) suffix=:node ;; esac
    calls=$(LISTAENC_FAILING_ALLOCATION=0${suffix#+} LD_PRELOAD=$allocator "$@" <"$work/in" 2>&1 >/dev/null | tail -n 1)
    case $calls in '' | *[!0-9]*) echo "the allocator counted nothing: $calls"; exit 1 ;; esac
    [ "$mode" = node ] || [ "$calls" -gt 0 ] || { echo "the allocator counted no call"; exit 1; }
    runs=${LISTAENC_SWEEP_RUNS:-150} edge=50 stride=1
    if [ "$runs" -gt 0 ] && [ "$calls" -gt "$runs" ]; then
        middle=$((runs - 2 * edge))
        [ "$middle" -gt 0 ] || middle=1
        stride=$(((calls - 2 * edge + middle - 1) / middle))
    fi
    k=0
    while [ $((k += 1)) -le "$calls" ]; do
        if [ "$k" -gt "$edge" ] && [ "$k" -le $((calls - edge)) ] && [ $((k % stride)) -ne 0 ]; then
            continue
        fi
        (LISTAENC_FAILING_ALLOCATION=$k$suffix LD_PRELOAD=$allocator exec "$@" <"$work/in" >"$work/out" 2>"$work/err")
        status=$?
        check
    done
done 2>/dev/null # what the shell says of a process that a signal ended
