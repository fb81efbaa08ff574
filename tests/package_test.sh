#!/bin/sh
# SPDX-License-Identifier: MIT
# Makes the Debian packages of the build and checks that together they hold
# exactly the installed tree, that the unpacked programs run, and that
# lintian (when it is there) finds no error and no warning, in the manual
# pages either.
# usage: package_test.sh CPACK BUILD_DIR INSTALLED_PREFIX
set -e
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$1" -G DEB --config "$2/CPackConfig.cmake" -B "$work" >log
(cd "$3" && find . -type f | sed 's|^\./|./usr/|' | sort) >installed
for deb in *.deb; do dpkg-deb -c "$deb"; done | awk '!/\/$/ { print $6 }' | sort | diff installed -
dpkg -x listaenc_*.deb root
root/usr/bin/listdemo >/dev/null
printf '1\nalfa beta gama\n' | root/usr/bin/countoff | grep -q '^Jogo terminado'
! command -v lintian >/dev/null || lintian --fail-on error,warning ./*.deb 2>/dev/null
