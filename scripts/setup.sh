#!/usr/bin/env bash
# Installs the Debian packages Beamworks needs to build, run and test, when any is missing;
# `setup.sh --package` also those that build and inspect the Debian package (scripts/package.sh).
# Runs apt-get as root, else through sudo; without either it prints the command and stops.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config ninja-build lld
  libglfw3-dev libglew-dev libglu1-mesa-dev libgl1-mesa-dri mesa-utils
  libdevil-dev libguichan-dev libsdl2-mixer-dev lame
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-apps python3 desktop-file-utils
  clang libclang-rt-14-dev
)
if [ "${1:-}" = --package ]; then
  # dpkg-shlibdeps computes the Depends line; CPack finds the programs to strip with file;
  # appstreamcli validates the metainfo.
  PACKAGES+=(dpkg-dev file lintian appstream)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
cmd=(apt-get install -y --no-install-recommends "${missing[@]}")
if [ "$(id -u)" -eq 0 ]; then
  sudo_cmd=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  sudo_cmd=(sudo)
else
  echo "Beamworks needs these packages. Please run as root:"
  echo "  apt-get update && ${cmd[*]}"
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" "${cmd[@]}"
