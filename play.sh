#!/usr/bin/env bash
# Installs what is missing, builds an optimised game, stages build/game and runs it there.
# Arguments are passed on to the game (for example: ./play.sh -level 3 -resolution 1280 800).
# Without a display, the game runs for a few seconds on a virtual one (Xvfb) with the laser
# power on and leaves a screenshot in build/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBEAMWORKS_TESTS=OFF \
      -DBEAMWORKS_GAME_DIR="$PWD/build/game" >/dev/null
cmake --build build/release -j"$(nproc)"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  cd build/game
  exec ./beamworks "$@"
fi

for arg in "$@"; do
  # Options that end the game at once need no display.
  if [ "$arg" = "-help" ]; then
    cd build/game
    exec ./beamworks "$@"
  fi
done

screenshot="$PWD/build/screenshot.png"
echo "No display found: running Beamworks on a virtual display (Xvfb) for a few seconds with"
echo "the laser power on; the last frame is saved to build/screenshot.png."
exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
xvfb_pid=$!
read -r number <&3
export DISPLAY=":$number"
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
rm -f "$screenshot"
(
  cd build/game
  BEAMWORKS_FRAMES=300 BEAMWORKS_SCREENSHOT="$screenshot" ./beamworks "$@"
) &
game_pid=$!
if timeout 30 xdotool search --sync --name '^Beamworks$' windowfocus --sync >/dev/null 2>&1; then
  xdotool key space
fi
wait "$game_pid"
if [ -f "$screenshot" ]; then
  echo "Screenshot: $screenshot"
else
  echo "No screenshot was written." >&2
  exit 1
fi
