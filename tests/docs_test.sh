#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs the commands of the README and of each guide in docs/: the lines of
# their ```sh blocks, each document's in order in a folder of its own that
# holds the examples, with countoff and listdemo on the PATH and where the
# quick start builds them. Every command must succeed, but in a build
# without one of countoff's optional libraries, where a guide that needs it
# is skipped (status 77 when nothing else failed).
# usage: docs_test.sh SOURCE_DIR COUNTOFF LISTDEMO [EMULATOR...]
set -e
export LC_ALL=C.UTF-8
source=$1 countoff=$2 listdemo=$3
shift 3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin"
for program in countoff listdemo; do
    eval "path=\$$program"
    printf '#!/bin/sh\nexec %s "%s" "$@"\n' "$*" "$path" >"$work/bin/$program"
    chmod +x "$work/bin/$program"
done
status=0 skipped=0
for doc in "$source"/README.md "$source"/docs/*.md; do
    name=$(basename "$doc" .md)
    dir=$work/$name
    mkdir -p "$dir/build/default/game" "$dir/build/default/demo"
    cp -R "$source/examples" "$dir/examples"
    cp "$source"/examples/*.txt "$source"/examples/*.csv "$dir"
    ln -s "$work/bin/countoff" "$dir/build/default/game/countoff"
    ln -s "$work/bin/listdemo" "$dir/build/default/demo/listdemo"
    awk '/^ *```/ { block = ($0 ~ /^ *```sh$/); next } block { sub(/^ +/, ""); print }' "$doc" >"$work/$name.sh"
    [ -s "$work/$name.sh" ] || continue
    if ! (cd "$dir" && PATH=$work/bin:$PATH sh -ex "$work/$name.sh" >"$work/$name.log" 2>&1); then
        if grep -q '^countoff: .*: esta compila.* do countoff n.* tem ' "$work/$name.log"; then
            echo "$doc: skipped, this build lacks what it needs:"
            grep '^countoff: .*: esta compila' "$work/$name.log" | head -n 1
            skipped=1
            continue
        fi
        echo "$doc: a command failed:"
        tail -n 20 "$work/$name.log"
        status=1
    fi
done
[ "$status" -ne 0 ] || [ "$skipped" -eq 0 ] || exit 77
exit $status
