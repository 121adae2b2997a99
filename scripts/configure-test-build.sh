#!/usr/bin/env bash
# Configures the sanitizer build in build/test (AddressSanitizer and UndefinedBehaviorSanitizer),
# with its own game folder build/test/game; ./test.sh and tools/soak.sh --asan build there.
# Ninja, line tables only (enough for the sanitizers' stack traces) and lld keep the build short;
# a tree configured before keeps its generator.
set -euo pipefail
cd "$(dirname "$0")/.."
generator=()
[ -f build/test/CMakeCache.txt ] || generator=(-G Ninja)
cmake -S . -B build/test "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="-O1" \
      -DCMAKE_CXX_FLAGS_DEBUG="-g1" -DCMAKE_EXE_LINKER_FLAGS="-fuse-ld=lld" -DBEAMWORKS_SANITIZE=ON \
      -DBEAMWORKS_GAME_DIR="$PWD/build/test/game" >/dev/null
