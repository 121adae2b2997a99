#!/usr/bin/env bash
# Installs what is missing, builds the game and the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer, stages their own game folder (build/test/game) and runs every test;
# then runs each fuzz target for a short while over its corpus (tools/fuzz.sh) and plays the
# sanitizer build at random for half a minute (tools/soak.sh).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="-O1 -g" \
      -DBEAMWORKS_SANITIZE=ON -DBEAMWORKS_GAME_DIR="$PWD/build/test/game" >/dev/null
cmake --build build/test -j"$(nproc)"
cd build/test
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --output-on-failure -j"$(nproc)" "$@"
cd ../..
# The fuzz targets, built once and run side by side, load the models this build made.
export BEAMWORKS_MODELS=$PWD/build/test/game
tools/fuzz.sh build
echo "Fuzzing the model, level and progress readers for 20 s"
pids=()
for target in model level progress; do
  BEAMWORKS_FUZZ_BUILT=1 tools/fuzz.sh "$target" 20 > "build/fuzz-$target.log" 2>&1 &
  pids+=($!)
done
failed=0
for i in 0 1 2; do
  target=$(echo model level progress | cut -d' ' -f$((i + 1)))
  if ! wait "${pids[$i]}"; then
    tail -n 60 "build/fuzz-$target.log"
    echo "The $target fuzz target found a fault; the input is in build/fuzz/findings"
    failed=1
  fi
  grep -E 'DONE' "build/fuzz-$target.log" | tail -n 1 || true
done
[ $failed -eq 0 ] || exit 1
echo "Playing the sanitizer build at random for 30 s"
tools/soak.sh --asan 0.5
