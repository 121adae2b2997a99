#!/usr/bin/env bash
# The layer check on a scratch copy of the tree: it passes as the tree is, and fails, naming the
# file, once the rules refer to OpenGL or a tool includes a drawing header.
# Usage: check-layers-test.sh SOURCE_DIR
set -euo pipefail
source=$1
check=$source/scripts/check-layers.sh
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

copy() {
    rm -rf "$tmp/tree"
    mkdir "$tmp/tree"
    cp -r "$source/src" "$source/tools" "$source/bench" "$tmp/tree"
}
# refuses FILE LINE: the check fails on the copy with LINE added to FILE, and names FILE.
refuses() {
    copy
    echo "$2" >>"$tmp/tree/$1"
    if "$check" "$tmp/tree" >"$tmp/out"; then
        fail "the check passes with '$2' in $1"
    fi
    grep -q "^$1 " "$tmp/out" || fail "the check does not name $1: $(cat "$tmp/out")"
}

copy
"$check" "$tmp/tree" >/dev/null || fail "the check refuses the tree as it is"
refuses src/rules/GameRules.cpp '#include <GL/gl.h>'
refuses tools/check.cpp '#include "render/GL.h"'
echo "The layer check refuses OpenGL in the rules and a drawing header in a tool."
