#!/bin/sh
# Installs the build into a temporary prefix and checks that both programs
# and both manual pages are there, that the pages render without warnings
# and that the installed programs run.
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
    page=$prefix/share/man/man1/$program.1
    [ -f "$page" ] || fail "share/man/man1/$program.1 was not installed"
    if command -v man >/dev/null 2>&1; then
        MANWIDTH=80 man --warnings -l "$page" >"$prefix/page" 2>"$prefix/warnings" ||
            fail "man could not render $program.1"
        [ -s "$prefix/warnings" ] && fail "$program.1 renders with warnings: $(cat "$prefix/warnings")"
        for section in NAME SYNOPSIS DESCRIPTION 'EXIT STATUS' EXAMPLE; do
            grep -q "^$section" "$prefix/page" || fail "$program.1 has no $section"
        done
    else
        echo "man is not installed: the pages were not rendered"
    fi
done

"$prefix/bin/listdemo" >/dev/null || fail "the installed listdemo failed"
last=$(printf '1\nalfa beta gama\n' | "$prefix/bin/countoff" | tail -n 1)
[ "$last" = "Jogo terminado..." ] || fail "the installed countoff did not finish a game"
echo "installed and checked in $prefix"
