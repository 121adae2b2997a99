#!/usr/bin/env bash
# Installs what is missing, builds the game and the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer, stages their own game folder (build/test/game) and runs every test;
# then runs each fuzz target for a short while over its corpus (tools/fuzz.sh) and plays the
# sanitizer build at random for half a minute (tools/soak.sh).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
./scripts/configure-test-build.sh
cmake --build build/test -j"$(nproc)"
echo "test.sh: set-up and build took $SECONDS s"
cd build/test
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --output-on-failure -j"$(nproc)" "$@"
echo "test.sh: the tests ran by $SECONDS s"
cd ../..
# The fuzz targets, built once, and half a minute of random play with the sanitizer build, all
# side by side. The fuzz targets load the models this build made.
export BEAMWORKS_MODELS=$PWD/build/test/game
tools/fuzz.sh build
echo "test.sh: the fuzz targets were built by $SECONDS s"
echo "Fuzzing the model, level, progress and settings readers and the level editor for 20 s while playing the sanitizer build"
echo "at random for 30 s"
tools/soak.sh --asan 0.5 > build/soak.log 2>&1 &
soak=$!
pids=()
for target in model level progress settings editor; do
  BEAMWORKS_FUZZ_BUILT=1 tools/fuzz.sh "$target" 20 > "build/fuzz-$target.log" 2>&1 &
  pids+=($!)
done
failed=0
i=0
for target in model level progress settings editor; do
  if ! wait "${pids[$i]}"; then
    tail -n 60 "build/fuzz-$target.log"
    echo "The $target fuzz target found a fault; the input is in build/fuzz/findings"
    failed=1
  fi
  grep -E 'DONE' "build/fuzz-$target.log" | tail -n 1 || true
  i=$((i + 1))
done
if ! wait "$soak"; then
  failed=1
fi
cat build/soak.log
[ $failed -eq 0 ]
