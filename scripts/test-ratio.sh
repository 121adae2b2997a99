#!/usr/bin/env bash
# Prints the size of the tests against the size of the code they test: the non-blank lines of
# the C++ sources and headers in tests/ against those in src/ and tools/, as git knows them.
# Fails when the tests are more than MAX percent of the code (36 unless given).
set -euo pipefail
cd "$(dirname "$0")/.."
max=${1:-36}

lines() {
  git ls-files -z -- "$@" | grep -z -E '\.(cpp|h)$' | xargs -0 -r cat | grep -c . || true
}

tests=$(lines tests)
code=$(lines src tools)
percent=$(( (tests * 1000 / code + 5) / 10 ))
echo "tests: $tests lines, src and tools: $code lines, $percent %"
if (( tests * 100 > code * max )); then
  echo "The tests are more than $max % of the code." >&2
  exit 1
fi
