#!/bin/sh
# SPDX-License-Identifier: MIT
# Writes the pages that the programs make into FOLDER, for the browser test:
# the script (script.html), a game of four soldiers (game.html), a game and
# a session whose names and texts look like markup or hold controls (hostile.html,
# hostile_session.html), a game whose winner's name begins with a
# right-to-left override (rtl.html), the example session step by step
# (sessao.html), a session of eleven elements that removes and turns the list
# around (onze.html) and a game of twelve full names (doze.html).
# usage: program_pages.sh FOLDER SOURCE_DIR [EMULATOR...] LISTDEMO COUNTOFF
set -e
folder=$1 source=$2
shift 2
# The last two arguments are the programs, what comes before them the
# emulator that runs them.
eval "countoff=\${$#}"
eval "listdemo=\${$(($# - 1))}"
emulator=
while [ $# -gt 2 ]; do
    emulator="$emulator $1"
    shift
done
mkdir -p "$folder"
$emulator "$listdemo" --html >"$folder/script.html"
$emulator "$listdemo" --interativo --passo --html <"$source/examples/sessao.txt" >"$folder/sessao.html"
$emulator "$listdemo" --passo --html >"$folder/passos.html"
printf '2\nalfa beta gama delta\n' | $emulator "$countoff" --html >"$folder/game.html"
printf '<script>alert(1)</script>\nConcei\303\247\303\243o\n\033[31mvermelho\n\001controle\n<img src=x onerror=alert(2)>\n' |
    $emulator "$countoff" --html --linhas --contagem 1 >"$folder/hostile.html" 2>/dev/null
printf 'inserir 1 <script>alert(1)</script>\ninserir 2 <img src=x onerror=alert(2)>\nbuscainfo <script>alert(1)</script>\nexibirinfo\n' |
    $emulator "$listdemo" --interativo --passo --html >"$folder/hostile_session.html"
printf '1\n\342\200\256avliS airaM\nAna\n' | $emulator "$countoff" --linhas --html >"$folder/rtl.html"
{
    i=1
    while [ $i -le 11 ]; do
        echo "inserir $((i * 10)) elemento$i"
        i=$((i + 1))
    done
    printf 'remover 50\ninverter\nremover 10\n'
} | $emulator "$listdemo" --interativo --passo --html >"$folder/onze.html"
printf '3\nMaria Aparecida dos Santos\nJos\303\251 Carlos da Silva\nAna Beatriz Concei\303\247\303\243o\nFrancisco de Assis Pereira\nLu\303\255za Helena Gon\303\247alves\nPedro Henrique Albuquerque\nJo\303\243o Victor Nascimento\nMariana Fernandes Costa\nRafael Augusto Moreira\nGabriela Cristina Rocha\nLucas Eduardo Martins\nBeatriz Helena Cavalcanti\n' |
    $emulator "$countoff" --linhas --html >"$folder/doze.html"
