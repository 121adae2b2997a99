#!/usr/bin/env bash
# Builds the optimised tree and runs the benchmarks: ./scripts/bench.sh [benchmark options]
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBEAMWORKS_TESTS=OFF \
      -DBEAMWORKS_GAME_DIR="$PWD/build/game" >/dev/null
cmake --build build/release -j"$(nproc)"
for b in build/release/bench/*_bench; do
  "$b" "$@"
done
