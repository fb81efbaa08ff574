#!/bin/sh
# countoff with its address space capped, on input that cannot fit: the
# allocation-failure message on standard error, then death by SIGABRT.
# usage: alloc_limit.sh COUNTOFF many-names|one-huge-name
countoff=$1
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT

long_name=$(printf '%08192d' 0) # long, so that memory runs out after few insertions
feed() {
    echo 2
    case $1 in
    many-names) while :; do echo "$long_name"; done ;;
    one-huge-name) cat /dev/zero ;; # NUL is no separator: one endless name
    esac
}

(
    ulimit -c 0
    ulimit -v 65536 # KiB
    feed "$2" | "$countoff" >/dev/null 2>"$work/err"
    echo $? >"$work/status"
)
status=$(cat "$work/status")
if [ "$status" != 134 ]; then # 128 + SIGABRT
    echo "exit status $status, expected 134 (SIGABRT); standard error:"
    head -c 2000 "$work/err"
    exit 1
fi
if ! grep -q 'Erro durante alocacao da area de armazenamento!' "$work/err" ||
    grep -q 'terminate called' "$work/err"; then
    echo "no allocation-failure message, or an uncaught exception, on standard error:"
    head -c 2000 "$work/err"
    exit 1
fi
echo "countoff ran out of memory and aborted as it should ($2)"
