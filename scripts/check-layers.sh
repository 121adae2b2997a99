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
# A folder may include its own headers and those of the layers below it, nothing else.
set -euo pipefail
cd "$(dirname "$0")/../src"

sim="core model elements laser level"
declare -A allowed=(
  [core]="core"
  [model]="core model"
  [elements]="$sim"
  [laser]="$sim"
  [level]="$sim"
  [rules]="$sim rules"
  [solver]="$sim rules solver"
  [render]="$sim rules render"
  [ui]="$sim rules ui"
  [sound]="sound"
  [app]="$sim rules solver render ui sound app"
)

status=0
for folder in */; do
  folder=${folder%/}
  if [ -z "${allowed[$folder]+set}" ]; then
    echo "src/$folder: a folder the layer check does not know"
    status=1
    continue
  fi
  while IFS= read -r line; do
    file=${line%%:*}
    target=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$line")
    if [[ " ${allowed[$folder]} " != *" $target "* ]]; then
      echo "src/$file includes $target/, above its layer: ${line#*:}"
      status=1
    fi
  done < <(grep -HnE '^#include "[a-z]+/' "$folder"/* | sed -E 's/:[0-9]+:/:/')
done
[ $status -eq 0 ] && echo "Every include in src/ runs downward."
exit $status
