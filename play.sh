#!/usr/bin/env bash
# Installs what is missing, builds an optimised game, stages build/game and runs it there.
# Arguments are passed on to the game (for example: ./play.sh -level 3 -resolution 1280 800).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBEAMWORKS_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)"
cd build/game
exec ./beamworks "$@"
