#!/usr/bin/env bash
# Fails when an include runs upward through the layers of src/:
#
#   app                      the window, display set-up, frame loop, main
#   render   ui   sound      drawing; the interface; the music
#   solver                   the level solver (searches orientations with the simulation)
#   rules                    settings, commands and game rules without a window
#   elements laser level     the light simulation (one layer: an element's reaction makes
#                            segments in the level and traces them on)
#   model                    the 3DS loader
#   core                     maths, the scene node and the mesh type
#
# A folder may include its own headers and those of the layers below it, nothing else. The
# headless part (core up to solver) includes no header of OpenGL, GLFW, Guichan, DevIL or SDL.
# tools/ and bench/ stand beside the game: they may include the headless layers and their own
# headers (bare names, and the asset generator's `assets/...`), never render, ui, sound or app;
# and they are headless too, but for tools/assets, which writes textures and pictures through
# DevIL.
#
# usage: check-layers.sh [ROOT]   (ROOT: the checkout to look at, by default this one)
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

sim="core model elements laser level"
headless="$sim rules solver"
declare -A allowed=(
  [src/core]="core"
  [src/model]="core model"
  [src/elements]="$sim"
  [src/laser]="$sim"
  [src/level]="$sim"
  [src/rules]="$sim rules"
  [src/solver]="$headless"
  [src/render]="$sim rules render"
  [src/ui]="$sim rules ui"
  [src/sound]="sound"
  [src/app]="$headless render ui sound app"
  [tools]="$headless assets"
  [tools/assets]="$headless assets"
  # The model loading benchmark writes its meshes with the asset generator's 3DS writer.
  [bench]="$headless assets"
)
# System headers each headless folder must not include, as the start of the name in <...>.
window="GL/ GLFW/ guichan IL/ SDL"
declare -A refused=(
  [src/core]="$window" [src/model]="$window" [src/elements]="$window" [src/laser]="$window"
  [src/level]="$window" [src/rules]="$window" [src/solver]="$window"
  [tools]="$window" [bench]="$window"
  [tools/assets]="GL/ GLFW/ guichan SDL"
)

status=0
for folder in src/*/; do
  folder=${folder%/}
  if [ -z "${allowed[$folder]+set}" ]; then
    echo "$folder: a folder the layer check does not know"
    status=1
  fi
done

# One pass over every include line; awk reads the tables first, as "A|R folder=words" lines.
tables() {
  local key
  for key in "${!allowed[@]}"; do echo "A $key=${allowed[$key]}"; done
  for key in "${!refused[@]}"; do echo "R $key=${refused[$key]}"; done
}
grep -rHnE --include='*.h' --include='*.hpp' --include='*.c' --include='*.cpp' \
  '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' src tools bench |
  awk -v layers="$sim rules solver render ui sound app" '
    BEGIN {
      split(layers, list, " ")
      for (i in list) layer[list[i]] = 1
      bad = 0
    }
    NR == FNR {
      eq = index($0, "=")
      key = substr($0, 3, eq - 3)
      if (substr($0, 1, 1) == "A") allowed[key] = " " substr($0, eq + 1) " "
      else refused[key] = substr($0, eq + 1)
      next
    }
    {
      c1 = index($0, ":"); file = substr($0, 1, c1 - 1)
      rest = substr($0, c1 + 1); c2 = index(rest, ":"); text = substr(rest, c2 + 1)
      split(file, part, "/")
      folder = (part[1] == "bench") ? "bench" : (part[1] "/" part[2])
      if (part[1] == "tools" && !(folder in allowed)) folder = "tools"
      match(text, /[<"][^>"]*[>"]/)
      name = substr(text, RSTART + 1, RLENGTH - 2)
      quoted = substr(text, RSTART, 1) == "\""
      slash = index(name, "/")
      top = slash ? substr(name, 1, slash - 1) : ""
      if (quoted || top in layer) {
        if (top != "" && index(allowed[folder], " " top " ") == 0) {
          print file " includes " top "/, which " folder "/ may not: " text
          bad = 1
        }
        next
      }
      m = split(refused[folder], words, " ")
      for (i = 1; i <= m; i++) {
        if (substr(name, 1, length(words[i])) == words[i]) {
          print file " includes <" name ">, a window or media library, in headless " folder "/"
          bad = 1
        }
      }
    }
    END { exit bad }
  ' <(tables) - || status=1

[ $status -eq 0 ] && echo "Every include in src/, tools/ and bench/ runs downward."
exit $status
