#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a program once for each call of malloc that a whole run makes, with
# that call failing. Each run must end as if nothing had failed, or with the
# out-of-memory message and SIGABRT: never through std::terminate, another
# signal or a lost line.
# usage: out_of_memory_sweep.sh FAILING_MALLOC INPUT PROGRAM [ARGUMENT...]
shim=$1 input=$2
shift 2
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
ulimit -c 0
"$@" <"$input" >"$work/whole"
calls=$(LISTAENC_FAILING_MALLOC=0 LD_PRELOAD=$shim "$@" <"$input" 2>&1 >/dev/null)
k=0
while [ $((k += 1)) -le "$calls" ]; do
    LISTAENC_FAILING_MALLOC=$k LD_PRELOAD=$shim "$@" <"$input" >"$work/out" 2>"$work/err"
    status=$?
    { [ $status = 0 ] && cmp -s "$work/whole" "$work/out"; } ||
        { [ $status = 134 ] && grep -q -e 'memoria esgotada' -e 'Erro durante alocacao' "$work/err"; } ||
        { echo "with malloc call $k of $calls failing, status $status and" && cat "$work/err" && exit 1; }
done
