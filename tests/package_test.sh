#!/bin/sh
# Makes the Debian packages of the build and checks that together they hold
# what cmake --install puts under a prefix, that the countoff of the unpacked
# listaenc plays a game, and that lintian finds no error and no warning.
# usage: package_test.sh CMAKE CPACK BUILD_DIR
cmake=$1
cpack=$2
build=$3
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
fail() {
    echo "$*"
    exit 1
}

(cd "$work" && "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/log") ||
    fail "cpack failed: $(cat "$work/log")"
"$cmake" --install "$build" --prefix "$work/prefix" >/dev/null || fail "cmake --install failed"
(cd "$work/prefix" && find . -type f | sed 's|^\./|./usr/|' | sort) >"$work/installed"
for deb in "$work"/listaenc_*.deb "$work"/listaenc-dev_*.deb; do
    dpkg-deb -c "$deb" | awk '!/\/$/ { print $6 }'
done | sort >"$work/packaged"
cmp -s "$work/installed" "$work/packaged" ||
    fail "the packages and cmake --install differ: $(diff "$work/installed" "$work/packaged")"

dpkg -x "$work"/listaenc_*.deb "$work/root" || fail "dpkg -x failed"
last=$(printf '1\nalfa beta gama\n' | "$work/root/usr/bin/countoff" | tail -n 1)
[ "$last" = "Jogo terminado..." ] || fail "the packaged countoff did not finish a game"

if command -v lintian >/dev/null 2>&1; then
    lintian --fail-on error,warning "$work"/*.deb 2>/dev/null || fail "lintian complains"
else
    echo "lintian is not installed: the packages were not checked by it"
fi
echo "packaged and checked in $work"
