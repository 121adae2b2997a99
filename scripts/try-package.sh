#!/usr/bin/env bash
# Tries the package that scripts/package.sh built on this machine, as a player would. It installs
# and removes a system package, so it runs as root only: apt-get installs build/beamworks_*.deb
# with its dependencies; as an ordinary user (nobody), `beamworks -help` runs from /tmp in a login
# shell, and the menu entry's command runs the game for five frames on a virtual display (Xvfb)
# with the PATH Debian gives a user's session (root's has no /usr/games); the manual page is
# found; then apt-get removes the package, and no file that `dpkg -L` listed may be left.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -ne 0 ]; then
  echo "try-package.sh installs and removes the package: run it as root." >&2
  exit 1
fi
debs=(build/beamworks_*.deb)
[ -f "${debs[0]}" ] || { echo "No package in build/: run scripts/package.sh first." >&2; exit 1; }
deb=$PWD/${debs[0]}
scratch=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

export DEBIAN_FRONTEND=noninteractive
apt-get install -y "$deb" >"$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log"; exit 1; }
dpkg -L beamworks >"$scratch/files"
echo "Installed $(grep -c . "$scratch/files") paths of $(basename "$deb")"

runuser -u nobody -- sh -lc 'cd /tmp && beamworks -help' | tail -n 1
if command -v man >/dev/null; then
  man -w beamworks
fi

exec 3< <(exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null)
xvfb_pid=$!
read -r display <&3
command=$(sed -n 's/^Exec=//p' /usr/share/applications/beamworks.desktop)
home=$scratch/home
mkdir -p "$home"
chown nobody "$home"
chmod a+rx "$scratch"
(cd "$home" && runuser -u nobody -- env -i HOME="$home" DISPLAY=":$display" BEAMWORKS_FRAMES=5 \
  PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games sh -c "$command" \
  >"$scratch/game.log" 2>&1) || { tail -n 20 "$scratch/game.log"; exit 1; }
echo "The menu entry's command ($command) ran five frames: $(grep -c . "$scratch/game.log") lines"

apt-get remove -y beamworks >"$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log"; exit 1; }
left=0
while IFS= read -r path; do
  if [ -f "$path" ] || [ -L "$path" ]; then
    echo "left behind: $path" >&2
    left=1
  fi
done <"$scratch/files"
[ $left -eq 0 ] || exit 1
echo "Removed: no file of the package is left."
