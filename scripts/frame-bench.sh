#!/usr/bin/env bash
# Frame times of a level at 1024 x 768 on a virtual display (Xvfb; OpenGL in software where the
# machine has no graphics card): (a) every pass in every frame, as the game drew before its fast
# paths (BEAMWORKS_SHADOW_EVERY_FRAME=1 BEAMWORKS_FAST_PASSES=0), against (b) the game as it is,
# each with nothing moving and while a mirror is turned by a left drag. Prints the mean and 95th
# percentile of every pass and of the whole frame, and the ratios a/b of the frame means.
#
#   ./scripts/frame-bench.sh [LEVEL] [FRAMES] [ROUNDS]
#
# LEVEL is a number (levelN.txt of the game folder, default 2) or a level file's path; FRAMES are
# counted per run (default 150) after the first seconds (start-up, and the start of the drag);
# the four runs are repeated ROUNDS times (default 3) interleaved, and their figures averaged, so
# that other work on the machine weighs on every variant alike. The load average is printed
# before and after: compare figures of the same run only. Not a test: it checks nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
level=${1:-2}
frames=${2:-150}
rounds=${3:-3}
./scripts/setup.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBEAMWORKS_TESTS=OFF \
      -DBEAMWORKS_GAME_DIR="$PWD/build/game" >/dev/null
cmake --build build/release -j2 >/dev/null

if [[ $level =~ ^[0-9]+$ ]]; then
  file=build/game/level$level.txt
  args=(-level "$level")
else
  file=$(realpath "$level")
  args=(-file "$file")
fi
[ -f "$file" ] || { echo "No level file $file" >&2; exit 1; }
file=$(realpath "$file")

# Where the first mirror or half mirror the start view shows is on screen, as the checker finds it
# with the game's projection: the centre of its pane.
read -r mx my < <(cd build/game && ./beamworks-check --screen "$file" | awk '
  $1 == "screen:" && ($2 == "Mirror" || $2 == "MirrorHalf") && $5 > 40 && $5 < 984 &&
  $6 > 110 && $6 < 658 { print $5, $6; found = 1; exit }
  END { if (!found) print "none none" }')
if [ "$mx" = none ]; then
  echo "The start view of $file shows no mirror to turn" >&2
  exit 1
fi

exec 3< <(exec Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
xvfb_pid=$!
read -r number <&3
export DISPLAY=":$number"
work=$(mktemp -d)
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$work"' EXIT

# One run: variant (a or b), condition (still or turning), round.
run() {
  local variant=$1 condition=$2 out=$work/$1-$2-$3.txt env=()
  [ "$variant" = a ] && env=(BEAMWORKS_SHADOW_EVERY_FRAME=1 BEAMWORKS_FAST_PASSES=0)
  local after=1
  [ "$condition" = turning ] && after=4
  (
    cd build/game
    exec env "${env[@]}" XDG_DATA_HOME="$work" BEAMWORKS_FRAMES="$frames" \
      BEAMWORKS_FRAMES_AFTER=$after ./beamworks "${args[@]}" -resolution 1024 768 > "$out" 2>&1
  ) &
  local game=$!
  if [ "$condition" = turning ]; then
    # Click the mirror to select it, press on it again (past the double-click time), then sweep
    # the pointer right and left with the button held until the game has its frames and ends.
    if timeout 30 xdotool search --sync --name '^Beamworks$' windowfocus --sync >/dev/null 2>&1; then
      xdotool mousemove "$mx" "$my" sleep 0.5 click 1 sleep 1 mousedown 1 sleep 0.3
      local step=0
      while kill -0 "$game" 2>/dev/null; do
        if (( (step / 40) % 2 == 0 )); then
          xdotool mousemove_relative -- 3 0 2>/dev/null || true
        else
          xdotool mousemove_relative -- -3 0 2>/dev/null || true
        fi
        step=$((step + 1))
        sleep 0.02
      done
      xdotool mouseup 1 2>/dev/null || true
    fi
  fi
  wait "$game" || { echo "The game failed ($variant, $condition):" >&2; tail -n 20 "$out" >&2; exit 1; }
  tr '\r' '\n' < "$out" | awk '/^Frame statistics/ { on = 1; next } on && / ms, p95 / { print }' \
    > "$work/$1-$2-$3.stats"
  tr '\r' '\n' < "$out" | sed -n 's/^Shadow map passes: //p' > "$work/$1-$2-$3.passes"
}

echo "Load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for round in $(seq "$rounds"); do
  for condition in still turning; do
    for variant in a b; do
      run "$variant" "$condition" "$round"
    done
  done
done
echo "Load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"

echo
echo "$(basename "$file") at 1024 x 768, $frames frames per run, $rounds rounds; mean / p95 in ms"
echo "(a: every pass every frame, b: as the game draws now)"
cat "$work"/*.stats >/dev/null
awk -F': mean | ms, p95 | ms$' '
  FNR == 1 { split(FILENAME, part, "/"); n = split(part[length(part)], key, "-"); k = key[1] "-" key[2] }
  {
    if (!($1 in seen)) { seen[$1] = 1; names[++count] = $1 }
    mean[$1, k] += $2; p95[$1, k] += $3; runs[$1, k]++
  }
  END {
    split("a-still b-still a-turning b-turning", cols, " ")
    printf "%-14s", "pass"
    for (c = 1; c <= 4; c++) printf "%20s", cols[c]
    printf "\n"
    for (i = 1; i <= count; i++) {
      name = names[i]
      if (name == "frame") continue
      printf "%-14s", name
      for (c = 1; c <= 4; c++) {
        r = runs[name, cols[c]]
        if (r) printf "%20s", sprintf("%.2f / %.2f", mean[name, cols[c]] / r, p95[name, cols[c]] / r)
        else printf "%20s", "-"
      }
      printf "\n"
    }
    printf "%-14s", "frame"
    for (c = 1; c <= 4; c++) {
      r = runs["frame", cols[c]]
      fm[cols[c]] = mean["frame", cols[c]] / r
      printf "%20s", sprintf("%.2f / %.2f", fm[cols[c]], p95["frame", cols[c]] / r)
    }
    printf "\n\nframe mean a/b: still %.2f, turning %.2f\n", fm["a-still"] / fm["b-still"],
           fm["a-turning"] / fm["b-turning"]
  }' "$work"/*.stats
printf "shadow map passes in a run, first frames included:"
for key in a-still b-still a-turning b-turning; do
  printf " %s %s" "$key" "$(cat "$work"/$key-*.passes | tr '\n' ' ' | sed 's/ $//; s/ /,/g')"
done
echo
