#!/bin/sh
# SPDX-License-Identifier: MIT
# The code beside the steps of a page is the text's: every listing of the
# --passo --html page, its marked line marked, one after the other, is the
# listing that --passo prints under each step's code, at a width where no
# line is cut. Markup in the page is taken back to the characters.
# usage: same_code.sh INPUT OPTIONS [EMULATOR...] LISTDEMO
# OPTIONS are the program's other options, as one word.
input=$1 options=$2
shift 2
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
# shellcheck disable=SC2086 # the options are words
"$@" $options --passo --largura 1000 <"$input" >"$work/text" 2>/dev/null
# After a step's heading comes its code, in one line at this width, then,
# for a helper's, whose code it is, then its listing up to a line of ':'
# alone; the end of an operation has none. The page titles every listing,
# the text a helper's: those are compared.
LC_ALL=C awk '/^: .*: passo [0-9]+( de [0-9]+)?$/ { step = 1; next }
              step == 1 { step = /^:   \(fim da/ ? 0 : 2; next }
              step == 2 && /^:   c.*, chamada por .*:$/ { sub(/^:   /, "# "); sub(/:$/, ""); print; next }
              step == 2 && $0 == ":" { step = 0; next }
              step == 2 { sub(/^:   -> /, "-> ") || sub(/^:      /, "   "); print }' \
    "$work/text" >"$work/expected"
# shellcheck disable=SC2086
"$@" $options --passo --html <"$input" >"$work/page" 2>/dev/null
LC_ALL=C sed -n -e 's/^<p class="code-title">\(.*, chamada por .*\)<\/p>$/# \1/p' \
    -e '/^<ol class="code"/,/^<\/ol>$/{' -e '/^<\/*ol/d' \
    -e 's/^<li aria-current="step">/-> /' -e 's/^<li>/   /' -e 's/<\/li>$//' \
    -e "s/&lt;/</g; s/&gt;/>/g; s/&quot;/\"/g; s/&#39;/'/g; s/&amp;/\\&/g" \
    -e 'p' -e '}' "$work/page" >"$work/got"
if [ ! -s "$work/expected" ] || [ "$(grep -c '^-> ' "$work/got")" -lt 10 ] ||
    [ "$(grep -c '^# ' "$work/got")" -lt 1 ]; then
    echo "no listing, or no helper's, in the text or the page: $*"
    exit 1
fi
diff "$work/expected" "$work/got" && echo "the page's code is the text's ($options)"
