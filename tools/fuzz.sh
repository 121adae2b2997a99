#!/usr/bin/env bash
# tools/fuzz.sh TARGET SECONDS [libFuzzer options...]
# tools/fuzz.sh build
#
# Builds the fuzz target (clang, libFuzzer, AddressSanitizer and UBSan, in build/fuzz) and runs it
# for SECONDS over its corpus. TARGET is "model" (3DS reader and post-processing), "level"
# (level reader, one laser update, one transparent ordering), "progress" (the reader of the
# player's progress file), "settings" (the reader and writer of the player's settings file) or
# "editor" (a level opened in the level editor, written back, edited). The corpus in build/fuzz/corpus
# grows from run to run; it starts from the generated models or the shipped levels and the kept
# findings in tests/data/fuzz. Findings are written to build/fuzz/findings and end the run with a
# non-zero status. An input that takes more than a second counts as a hang.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ "${1:-}" != build ] &&
   { [ $# -lt 2 ] || { [ "$1" != model ] && [ "$1" != level ] && [ "$1" != progress ] &&
                        [ "$1" != settings ] && [ "$1" != editor ]; }; }; then
  echo "usage: tools/fuzz.sh model|level|progress|settings|editor SECONDS [libFuzzer options...]" >&2
  echo "       tools/fuzz.sh build" >&2
  exit 2
fi
target=$1

build=build/fuzz
# BEAMWORKS_FUZZ_BUILT=1: the targets are built already (test.sh builds them once and runs them
# side by side).
if [ "${BEAMWORKS_FUZZ_BUILT:-0}" != 1 ]; then
  ./scripts/setup.sh
  generator=()
  [ -f "$build/CMakeCache.txt" ] || generator=(-G Ninja)
  CXX=clang++ CC=clang cmake -S . -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-O1" -DCMAKE_CXX_FLAGS_DEBUG="-g1" -DCMAKE_EXE_LINKER_FLAGS="-fuse-ld=lld" \
    -DBEAMWORKS_FUZZ=ON -DBEAMWORKS_TESTS=OFF -DBEAMWORKS_BENCH=OFF \
    -DBEAMWORKS_GAME_DIR="$root/$build/game" >/dev/null
fi
if [ "$target" = build ]; then
  # Every target, for runs side by side with BEAMWORKS_FUZZ_BUILT=1 (models from
  # BEAMWORKS_MODELS).
  cmake --build "$build" -j"$(nproc)" --target model_fuzz level_fuzz progress_fuzz settings_fuzz editor_fuzz \
    >/dev/null
  exit 0
fi
seconds=$2
shift 2
# The level target builds real elements, so it needs the game's models: those of another build
# when BEAMWORKS_MODELS names its game folder, else generated here.
if [ -n "${BEAMWORKS_MODELS:-}" ]; then
  models=$BEAMWORKS_MODELS
  [ "${BEAMWORKS_FUZZ_BUILT:-0}" = 1 ] ||
    cmake --build "$build" -j"$(nproc)" --target "${target}_fuzz" >/dev/null
else
  models=$build/game
  cmake --build "$build" -j"$(nproc)" --target "${target}_fuzz" game_models >/dev/null
fi
export BEAMWORKS_MODELS=$models

corpus=$build/corpus/$target
findings=$build/findings
mkdir -p "$corpus" "$findings"
seeds=()
[ -d "tests/data/fuzz/$target" ] && seeds+=("tests/data/fuzz/$target")
if [ "$target" = model ]; then
  mkdir -p "$build/seeds/model"
  cp "$models"/*.3ds "$build/seeds/model/"
  seeds+=("$build/seeds/model")
  [ -d ../shared/testdata ] && seeds+=(../shared/testdata)
elif [ "$target" = level ] || [ "$target" = editor ]; then
  seeds+=(data/levels data/levels/solutions tests/data/window)
fi

dict=
[ -f "tests/fuzz/$target.dict" ] && dict="tests/fuzz/$target.dict"
[ "$target" = editor ] && dict=tests/fuzz/level.dict
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
exec "$build/tests/fuzz/${target}_fuzz" -max_total_time="$seconds" -timeout=1 \
  ${dict:+-dict="$dict"} -artifact_prefix="$findings/$target-" \
  -print_final_stats=1 "$@" "$corpus" "${seeds[@]}"
