#!/bin/sh
# SPDX-License-Identifier: MIT
# Makes the pictures of docs/professores.md again: the pages that listdemo
# and countoff write with --html, as headless Chromium shows them, and the
# first sheet of one printed.
#
#   docs/screenshots.sh [BUILD]
#
# BUILD is the build folder whose programs write the pages (build/default
# unless given). With LISTAENC_PAGES set to a folder, the pages aula.html,
# sessao.html and jogo.html are taken from there instead. Needs chromium;
# the printed sheet needs pdftoppm (poppler-utils) too.
set -eu
cd "$(dirname "$0")/.."
build=${1:-build/default}
chromium=${CHROMIUM:-chromium}
pages=${LISTAENC_PAGES:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

if ! command -v "$chromium" >/dev/null 2>&1; then
    echo "screenshots.sh: $chromium is missing" >&2
    exit 1
fi

# Chromium as the tests start it: headless, its own fresh profile, nothing
# asked of a network.
browser() {
    profile=$(mktemp -d "$work/profile.XXXXXX")
    "$chromium" --headless --no-sandbox --disable-gpu --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$profile" --hide-scrollbars "$@" >/dev/null 2>&1
}

# shoot PAGE STEP PNG: the page opened at that step, as a projector shows it.
shoot() {
    browser --window-size=1280,760 --screenshot="$3" "file://$(realpath "$1")#passo=$2"
    echo "$3"
}

if [ -n "$pages" ]; then
    for page in aula sessao jogo; do
        cp "$pages/$page.html" "$work/$page.html"
    done
else
    "$build/demo/listdemo" --html >"$work/aula.html"
    "$build/demo/listdemo" --interativo --passo --html <examples/sessao.txt >"$work/sessao.html"
    "$build/game/countoff" --html <examples/soldados.txt >"$work/jogo.html"
fi

shoot "$work/aula.html" "${AULA_PASSO:-10}" docs/aula.png
shoot "$work/sessao.html" "${SESSAO_PASSO:-12}" docs/sessao.png
shoot "$work/jogo.html" "${JOGO_PASSO:-3}" docs/jogo.png

if command -v pdftoppm >/dev/null 2>&1; then
    browser --no-pdf-header-footer --print-to-pdf="$work/aula.pdf" "file://$work/aula.html"
    pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$work/aula.pdf" docs/impressao
    echo docs/impressao.png
else
    echo "screenshots.sh: pdftoppm is missing: docs/impressao.png is not made again" >&2
fi
