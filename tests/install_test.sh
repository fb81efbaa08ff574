#!/bin/sh
# Installs the build into a temporary prefix, checks that the manual pages
# render without warnings and that the installed programs run, then builds a
# small project against the installed library with find_package and runs it.
# usage: install_test.sh CMAKE BUILD_DIR
cmake=$1
build=$2
prefix=$(mktemp -d) || exit 1
trap 'rm -rf "$prefix"' EXIT
fail() {
    echo "$*"
    exit 1
}

"$cmake" --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
for program in countoff listdemo; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program was not installed"
    page=$prefix/share/man/man1/$program.1.gz
    MANWIDTH=80 man --warnings -l "$page" >"$prefix/page" 2>"$prefix/warnings" ||
        fail "man could not render $program.1.gz"
    [ -s "$prefix/warnings" ] && fail "$program.1 renders with warnings: $(cat "$prefix/warnings")"
    for section in NAME SYNOPSIS DESCRIPTION 'EXIT STATUS' EXAMPLE; do
        grep -q "^$section" "$prefix/page" || fail "$program.1 has no $section"
    done
done
"$prefix/bin/listdemo" >/dev/null || fail "the installed listdemo failed"
last=$(printf '1\nalfa beta gama\n' | "$prefix/bin/countoff" | tail -n 1)
[ "$last" = "Jogo terminado..." ] || fail "the installed countoff did not finish a game"

consumer=$(dirname "$0")/consumer
"$cmake" -S "$consumer" -B "$prefix/consumer" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null &&
    "$cmake" --build "$prefix/consumer" >/dev/null || fail "the consumer project did not build"
[ "$("$prefix/consumer/game")" = "  1.alfa  2.beta  3.gama " ] || fail "listaenc::game is not the game build"
[ "$("$prefix/consumer/demo")" = " alfa beta gama " ] || fail "listaenc::demo is not the demo build"
echo "installed, used and checked in $prefix"
