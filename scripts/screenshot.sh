#!/usr/bin/env bash
# Makes the README's picture, docs/screenshot.png: builds the optimised game (as ./play.sh does),
# runs it on a virtual display (Xvfb) at a level's start view with the laser power on, and keeps
# its last frame. Run it again when the look changes: ./scripts/screenshot.sh [LEVEL] (default 2,
# the first level with a filter's colour).
set -euo pipefail
cd "$(dirname "$0")/.."
level=${1:-2}
./scripts/setup.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBEAMWORKS_TESTS=OFF \
      -DBEAMWORKS_GAME_DIR="$PWD/build/game" >/dev/null
cmake --build build/release -j"$(nproc)"

shot=$PWD/docs/screenshot.png
mkdir -p docs
exec 3< <(exec Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
xvfb_pid=$!
read -r number <&3
export DISPLAY=":$number"
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
rm -f "$shot"
# A progress folder of its own: the picture shows a level not yet solved.
progress=$(mktemp -d)
(
  cd build/game
  XDG_DATA_HOME=$progress BEAMWORKS_FRAMES=150 BEAMWORKS_SCREENSHOT="$shot" \
    ./beamworks -level "$level" >/dev/null
) &
game_pid=$!
if timeout 30 xdotool search --sync --name '^Beamworks$' windowfocus --sync >/dev/null 2>&1; then
  xdotool key space
fi
wait "$game_pid"
rm -rf "$progress"
[ -f "$shot" ] || { echo "No screenshot was written." >&2; exit 1; }
echo "Screenshot: docs/screenshot.png"
