#!/usr/bin/env bash
# tools/soak.sh [--asan] [--seed N] MINUTES [LEVEL]
#
# A monkey drives the game on an Xvfb display for MINUTES. At the first crash, sanitizer report,
# freeze, memory growth or blank picture it stops and reports why, with its seed and the 50
# inputs before (tools/soak.py holds the details). Builds the optimised game in
# build/release, or with --asan the sanitizer build in build/test, first. LEVEL is the level
# number to start on (1 by default); the monkey walks the pack from there.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

asan=0
seed=()
while [ $# -gt 0 ]; do
  case $1 in
    --asan) asan=1; shift ;;
    --seed) seed=(--seed "$2"); shift 2 ;;
    *) break ;;
  esac
done
if [ $# -lt 1 ]; then
  echo "usage: tools/soak.sh [--asan] [--seed N] MINUTES [LEVEL]" >&2
  exit 2
fi

./scripts/setup.sh
if [ $asan -eq 1 ]; then
  ./scripts/configure-test-build.sh
  cmake --build build/test -j"$(nproc)" --target beamworks game_models game_data >/dev/null
  game=build/test/game
  asan_flag=(--asan)
else
  cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBEAMWORKS_TESTS=OFF \
        -DBEAMWORKS_GAME_DIR="$root/build/game" >/dev/null
  cmake --build build/release -j"$(nproc)" --target beamworks game_models game_data >/dev/null
  game=build/game
  asan_flag=()
fi
exec python3 tools/soak.py --game-dir "$game" "${asan_flag[@]}" "${seed[@]}" "$@"
