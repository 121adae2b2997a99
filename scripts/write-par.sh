#!/usr/bin/env bash
# Writes the pack's par file, data/levels/par.txt: for every level of the pack the fewest moves
# that solve it from its shipped state, as beamworks-solve --par finds them ("par 3": a turn is one
# move, a carry one, a carry and a turn of the same holder two). A level the solver has no answer
# for (no solution, or no par within the time limit) is left out, and the game shows no par for
# it. The file is never edited by hand: run this again when a
# level or the solver changes.
#
#   ./scripts/write-par.sh [--solve PROGRAM] [--data DIR] [--time-limit SECONDS] [--check]
#                          [LEVEL...]
#
# Without --solve it builds the optimised solver (build/release, as ./play.sh does) and runs it
# with that game folder's models. It writes the whole pack, every data/levels/levelN.txt. With
# --check it writes nothing: it fails unless the file gives each LEVEL (every level of the pack
# when none is given) the solver's par, and leaves out each LEVEL the solver has no answer for
# (the pack's tests run it one level at a time).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
par_file=$root/data/levels/par.txt
solve="" data="" time_limit=120 check=0 levels=()
while [ $# -gt 0 ]; do
  case $1 in
    --solve) solve=$2; shift 2 ;;
    --data) data=$2; shift 2 ;;
    --time-limit) time_limit=$2; shift 2 ;;
    --check) check=1; shift ;;
    -*) echo "usage: scripts/write-par.sh [--solve PROGRAM] [--data DIR]" \
          "[--time-limit SECONDS] [--check] [LEVEL...]" >&2; exit 2 ;;
    *) levels+=("$1"); shift ;;
  esac
done
if [ $check = 0 ] && [ ${#levels[@]} -gt 0 ]; then
  echo "scripts/write-par.sh: the par file is written for the whole pack; LEVELs go with --check" >&2
  exit 2
fi
if [ -z "$solve" ]; then
  ./scripts/setup.sh
  cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBEAMWORKS_TESTS=OFF \
        -DBEAMWORKS_GAME_DIR="$root/build/game" >/dev/null
  cmake --build build/release -j2 --target beamworks-solve game_models >/dev/null
  solve=$root/build/game/beamworks-solve
  data=${data:-$root/build/game}
fi
if [ ${#levels[@]} -eq 0 ]; then
  mapfile -t levels < <(ls data/levels/level*.txt | sort -V)
fi

# The par of one level from the solver, or "" when it has no answer.
par_of() {
  local report status=0
  report=$("$solve" ${data:+--data "$data"} --time-limit "$time_limit" --par -o /dev/null "$1" \
           2>&1 >/dev/null) || status=$?
  case $status in
    0) if [[ $report =~ (\(|,\ )par\ ([0-9]+), ]]; then
         echo "${BASH_REMATCH[2]}"
       elif [[ $report =~ (\(|,\ )par\ unknown, ]]; then
         echo "" # out of time while looking for fewer moves than the solution found
       else
         echo "$1: the solver's report is not understood: $report" >&2; return 1
       fi ;;
    1|3) echo "" ;; # no solution, or none within the time limit
    *) echo "$1: the solver failed ($status): $report" >&2; return 1 ;;
  esac
}

if [ $check = 1 ]; then
  failed=0
  for level in "${levels[@]}"; do
    name=$(basename "$level")
    expected=$(par_of "$level")
    listed=$(awk -v n="$name" '$1 == n { print $2 }' "$par_file")
    if [ "$listed" != "$expected" ]; then
      echo "$name: the par file says \"$listed\", the solver \"$expected\"" \
           "(run scripts/write-par.sh)" >&2
      failed=1
    fi
  done
  exit $failed
fi

trap 'rm -f "$par_file.tmp"' EXIT
{
  echo "# The fewest moves that solve each level of the pack from its shipped state, as"
  echo "# beamworks-solve --par finds them. Written by scripts/write-par.sh: do not edit. A level the"
  echo "# solver has no answer for is left out, and has no par."
  for level in "${levels[@]}"; do
    par=$(par_of "$level")
    if [ -n "$par" ]; then
      echo "$(basename "$level") $par"
    else
      echo "$(basename "$level"): no answer from the solver, left out" >&2
    fi
  done
} > "$par_file.tmp"
mv "$par_file.tmp" "$par_file"
echo "Wrote $par_file"
