#!/usr/bin/env bash
# The installed game: `cmake --install BUILD --prefix TMP`, then the launcher and the checker run
# from another folder, the game on a private virtual display (Xvfb), relative paths the player
# gives taken from the starting folder, the data folder left as installed, and the menu entry.
# Usage: install-test.sh BUILD_DIR
set -euo pipefail
build=$1
tmp=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
data=$prefix/share/games/beamworks
for file in games/beamworks lib/games/beamworks/beamworks bin/beamworks-check bin/beamworks-solve \
    share/games/beamworks/{Mirror.3ds,level2.txt,par.txt,vertex.sh,music/test1.mp3,images/poweron.png} \
    share/applications/beamworks.desktop share/man/man6/beamworks.6 \
    share/metainfo/io.github.beamworks.Beamworks.metainfo.xml \
    share/icons/hicolor/{48x48,128x128,256x256}/apps/beamworks.png; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
done
[ -x "$prefix/games/beamworks" ] || fail "the launcher is not executable"
desktop-file-validate "$prefix/share/applications/beamworks.desktop"

listing() { (cd "$data" && find . -printf '%p %s %T@ %m\n' | sort); }
listing >"$tmp/before"

# The player's folders, apart from the data folder and from this machine's own.
start=$tmp/start
mkdir -p "$start" "$tmp/home"
export HOME=$tmp/home XDG_DATA_HOME=$tmp/home/data
cd "$start"

# The checker finds the installed models from a folder without any.
cp "$data/level2.txt" mine.txt
out=$("$prefix/bin/beamworks-check" mine.txt) || fail "beamworks-check ended with $?: $out"
[[ $out == "mine.txt: segments="* ]] || fail "beamworks-check printed: $out"
# So does the solver, and its answer checks out.
"$prefix/bin/beamworks-solve" -o solved.txt mine.txt 2>/dev/null || fail "beamworks-solve ended with $?"
out=$("$prefix/bin/beamworks-check" solved.txt) || fail "beamworks-check ended with $?: $out"
[[ $out == *"solved=yes"* ]] || fail "the solver's answer is not solved: $out"

# Mesa keeps its allocations to the end: no leak report for the game.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
out=$("$prefix/games/beamworks" -help) || fail "beamworks -help ended with $?"
[[ $out == *USEAGE* ]] || fail "beamworks -help printed no usage line: $out"

exec 3< <(exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
xvfb_pid=$!
read -r display <&3 || fail "Xvfb did not start"
export DISPLAY=:$display

status=0
BEAMWORKS_FRAMES=5 BEAMWORKS_SCREENSHOT=shot.png timeout 120 "$prefix/games/beamworks" \
    -level 3 >"$tmp/game.log" 2>&1 || status=$?
[ "$status" -eq 0 ] || { tail -n 20 "$tmp/game.log"; fail "the game ended with $status"; }
grep -q "level3.txt" "$tmp/game.log" || fail "the game did not load level3.txt"
[ -s "$start/shot.png" ] || fail "no screenshot shot.png in the starting folder"

listing >"$tmp/after"
diff "$tmp/before" "$tmp/after" >&2 || fail "the data folder changed during the run"

# The launcher alone, moved with a stand-in binary that reports where it runs and what it got:
# paths after -file and in BEAMWORKS_SCREENSHOT become absolute from the starting folder, every
# other argument passes as it came, and a link to the launcher works as the launcher.
moved=$tmp/moved
mkdir -p "$moved/games" "$moved/lib/games/beamworks" "$moved/share/games/beamworks" "$tmp/bin"
cp "$prefix/games/beamworks" "$moved/games/"
cat >"$moved/lib/games/beamworks/beamworks" <<'STAND_IN'
#!/bin/sh
pwd -P
printf '[%s]\n' "$BEAMWORKS_SCREENSHOT" "$@"
STAND_IN
chmod +x "$moved/lib/games/beamworks/beamworks"
ln -s "$moved/games/beamworks" "$tmp/bin/beamworks"
expected="$moved/share/games/beamworks
[$start/shots/a.png]
[-level]
[3]
[-file]
[$start/my level.txt]
[-file]
[/abs/x.txt]
[two  words]
[-file]"
for launcher in "$moved/games/beamworks" "$tmp/bin/beamworks"; do
    out=$(BEAMWORKS_SCREENSHOT=shots/a.png "$launcher" -level 3 -file "my level.txt" \
        -file /abs/x.txt "two  words" -file)
    [ "$out" = "$expected" ] || fail "$launcher passed on:
$out
instead of:
$expected"
done
echo "The installed game runs from any folder."
