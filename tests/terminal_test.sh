#!/bin/sh
# SPDX-License-Identifier: MIT
# countoff at a real terminal: script(1) runs it on a pseudo-terminal, where
# n is typed, then names over two lines, then ctrl+d to end the input.
# usage: terminal_test.sh [EMULATOR...] COUNTOFF
script -qec true /dev/null >/dev/null 2>&1 || { echo "script (util-linux) is missing or has no terminal"; exit 77; }
screen=$(mktemp) || exit 1
trap 'rm -f "$screen"' EXIT
{ printf '3\n'; sleep 0.2; printf 'alfa beta\ngama delta\n'; sleep 0.2; printf '\004'; } |
    timeout 30 script -qefc "$*" /dev/null >"$screen" &&
    grep -q 'O vencedor e o Soldado beta' "$screen" && grep -q '^Jogo terminado\.\.\.' "$screen" ||
    { cat "$screen"; exit 1; }
# One name a line: the count is taken as soon as it is typed, and the names
# asked for before they are typed (given two seconds to ask).
{ printf '2\n'; sleep 2; printf 'alfa\nbeta\ngama\n'; sleep 0.2; printf '\004'; } |
    timeout 30 script -qefc "$* --linhas --resumo" /dev/null >"$screen" &&
    grep -q 'O vencedor e o Soldado beta' "$screen" &&
    sed -n '/Nome dos soldados/,$p' "$screen" | grep -q '^gama' ||
    { cat "$screen"; exit 1; }
