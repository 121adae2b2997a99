#!/usr/bin/env bash
# Frame times of a level at 1024 x 768 on a virtual display (Xvfb; OpenGL in software where the
# machine has no graphics card) while the hint search runs beside the frames, against the same
# scene without a search. Each run turns every element (Tab) a degree off the solver's grid in
# heading and tilt (Shift+] and Shift+'), which makes the search long, and the hint run then
# presses H. The frames are counted from AFTER seconds after the first on, so that the search runs
# through them; a hint run whose search ended before its last frame (its hint shown) is reported,
# as its figures are partly without a search: ask for fewer frames then.
#
#   ./scripts/hint-frame-bench.sh [--game PROGRAM]... [LEVEL] [FRAMES] [ROUNDS] [AFTER]
#
# LEVEL is a number (default 20), FRAMES are counted per run (default 30), ROUNDS the runs of
# each game and condition, interleaved (default 6), AFTER the seconds left out (default 1.5).
# PROGRAM is a game binary to measure, run in the optimised build's game folder (build/game);
# several compare builds (one built before a change, say); by default the one built there. Not a
# test: it checks nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
games=()
while [ "${1:-}" = --game ]; do
  games+=("$(realpath "$2")")
  shift 2
done
level=${1:-20}
frames=${2:-30}
rounds=${3:-6}
after=${4:-1.5}
./scripts/setup.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBEAMWORKS_TESTS=OFF \
      -DBEAMWORKS_GAME_DIR="$PWD/build/game" >/dev/null
cmake --build build/release -j2 >/dev/null
[ ${#games[@]} -gt 0 ] || games=("$PWD/build/game/beamworks")

exec 3< <(exec Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
xvfb_pid=$!
read -r number <&3
export DISPLAY=":$number"
work=$(mktemp -d)
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$work"' EXIT

turns=""
for _ in 1 2 3 4 5; do
  turns+=" Tab shift+bracketright shift+apostrophe"
done

# One run: game number, condition (still or hint), round.
run() {
  local g=$1 condition=$2 out=$work/$1-$2-$3.txt keys=$turns
  [ "$condition" = hint ] && keys+=" h"
  (
    cd build/game
    exec env XDG_DATA_HOME="$work" BEAMWORKS_FRAMES="$frames" BEAMWORKS_FRAMES_AFTER="$after" \
      "${games[$g]}" -level "$level" -resolution 1024 768 > "$out" 2>&1
  ) &
  local game=$!
  if timeout 30 xdotool search --sync --name '^Beamworks$' windowfocus --sync >/dev/null 2>&1; then
    sleep 0.5
    # shellcheck disable=SC2086
    xdotool key --delay 30 $keys
  fi
  wait "$game" || { echo "The game failed (${games[$g]}, $condition):" >&2; tail -n 20 "$out" >&2; exit 1; }
  tr '\r' '\n' < "$out" | sed -n 's/^frame: mean \(.*\) ms, p95 \(.*\) ms$/\1 \2/p' > "$work/$1-$2-$3.frame"
  tr '\r' '\n' < "$out" | sed -n 's/^period: mean \(.*\) ms, p95 \(.*\) ms$/\1 \2/p' > "$work/$1-$2-$3.period"
  if [ "$condition" = hint ] && tr '\r' '\n' < "$out" | grep -q '^Hint: '; then
    echo "Round $3, ${games[$g]}: the search ended before the last frame" >&2
  fi
}

echo "Load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for round in $(seq "$rounds"); do
  for g in "${!games[@]}"; do
    for condition in still hint; do
      run "$g" "$condition" "$round"
    done
  done
done
echo "Load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "level$level.txt at 1024 x 768, $frames frames per run from $after s on, $rounds rounds;" \
     "mean / p95 in ms of the frame's own time and of the period (start to start, waits included)"
for g in "${!games[@]}"; do
  printf "%s\n" "${games[$g]}"
  for condition in still hint; do
    for what in frame period; do
      cat "$work/$g-$condition-"*."$what" |
        awk -v c="$condition" -v w="$what" \
          '{ m += $1; p += $2; n++ } END { if (n) printf "  %-6s %-6s %8.2f / %.2f\n", c, w, m / n, p / n }'
    done
  done
done
