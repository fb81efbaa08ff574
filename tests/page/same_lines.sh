#!/bin/sh
# SPDX-License-Identifier: MIT
# The lines beside the pictures of a page are the text's, the drawings'
# aside: the lines of every step of the --html page, one after the other,
# are the lines of the text with its drawings (--desenho) less those that
# begin with ':'. Markup in the page is taken back to the characters.
# usage: same_lines.sh INPUT OPTIONS [EMULATOR...] PROGRAM
# OPTIONS are the program's other options, as one word.
input=$1 options=$2
shift 2
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
# shellcheck disable=SC2086 # the options are words
"$@" $options --desenho <"$input" >"$work/text" 2>/dev/null
grep -v '^:' "$work/text" >"$work/expected"
# shellcheck disable=SC2086
"$@" $options --html <"$input" >"$work/page" 2>/dev/null
LC_ALL=C sed -n -e '/^<pre class="lines">$/,/<\/pre>$/{' -e '/^<pre class="lines">$/d' \
    -e 's/<\/pre>$//' -e "s/&lt;/</g; s/&gt;/>/g; s/&quot;/\"/g; s/&#39;/'/g; s/&amp;/\\&/g" \
    -e 'p' -e '}' "$work/page" >"$work/got"
if [ ! -s "$work/expected" ] || ! grep -q '<pre class="lines">' "$work/page"; then
    echo "no text or no page: $*"
    exit 1
fi
diff "$work/expected" "$work/got" && echo "the page's lines are the text's ($options)"
