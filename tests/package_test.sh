#!/bin/sh
# SPDX-License-Identifier: MIT
# Makes the Debian packages of the build and checks that together they hold
# exactly the installed tree; that the unpacked programs run, hardened (PIE,
# RELRO, BIND_NOW); that the copyright names the license; that a program
# builds against each pkg-config file of the unpacked library, and names the
# GDB printers (PRINTERS, the file that the libraries name) that the package
# installs; and that lintian has nothing to say, pedantic tags included.
# Skips (status 77) where a tool that it needs is missing.
# usage: [CXX=COMPILER] package_test.sh CPACK BUILD_DIR INSTALLED_PREFIX [PRINTERS]
set -e
export LC_ALL=C
for tool in dpkg-deb pkg-config; do
    command -v $tool >/dev/null || { echo "$tool is missing: no packages made"; exit 77; }
done
tests=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$1" -G DEB --config "$2/CPackConfig.cmake" -B "$work" >log
(cd "$3" && find . -type f | sed 's|^\./|./usr/|' | sort) >installed
for deb in *.deb; do dpkg-deb -c "$deb"; done | awk '!/\/$/ { print $6 }' | sort | diff installed -
for deb in *.deb; do dpkg -x "$deb" root; done
root/usr/bin/listdemo >/dev/null
printf '1\nalfa beta gama\n' | root/usr/bin/countoff | grep -q '^Jogo terminado'
sh "$tests/hardened.sh" root/usr/bin/*
grep -q '^License: Expat' root/usr/share/doc/listaenc/copyright
printf '#include "listaenccircular.h"\nint main() { ListaEnc l; l.inserir(0, "alfa"); l.ExibirInfo(); }\n' >app.cpp
for build in game demo; do
    pc=$(dirname root/usr/lib/*/pkgconfig/listaenc-$build.pc)
    ${CXX:-c++} -std=c++17 app.cpp $(PKG_CONFIG_PATH=$pc pkg-config --cflags --libs listaenc-$build) -o $build
done
[ "$(./game)" = "  1.alfa " ] && [ "$(./demo)" = " alfa " ]
# A program of the unpacked library names, for gdb to load, the printers that
# the package installs (where the libraries name a file under /usr).
case ${4:-} in
/usr/*)
    [ -f "root$4" ] || { echo "the package has no $4"; exit 1; }
    printf '\001%s\000' "$4" >named
    for build in game demo; do
        objcopy --dump-section .debug_gdb_scripts=printers $build /dev/null
        cmp -s named printers || { echo "$build does not name $4 for gdb"; exit 1; }
    done
    ;;
esac
command -v lintian >/dev/null || { echo "lintian is missing: the packages were not linted"; exit 77; }
[ -z "$(lintian -EIL +pedantic --allow-root ./*.deb 2>&1)" ]
