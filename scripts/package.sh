#!/usr/bin/env bash
# Builds the Debian package: a Release tree of its own (build/package: no tests or benchmarks,
# Debian's hardening flags), installed into /usr and packed by CPack as
# build/beamworks_VERSION_ARCH.deb with a Depends line computed from the linked libraries. Then
# inspects it: every file of the install layout and the Depends line must be there, the menu entry
# and the AppStream metainfo must validate, and lintian must report no error (its warnings are
# printed).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh --package

tree=build/package
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$tree" -DCMAKE_BUILD_TYPE=Release -DBEAMWORKS_TESTS=OFF -DBEAMWORKS_BENCH=OFF \
      -DBEAMWORKS_DEBIAN_DOCS=ON -DBEAMWORKS_GAME_DIR="$PWD/$tree/game" \
      -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
      -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$tree" -j"$(nproc)"
rm -f "$tree"/beamworks_*.deb build/beamworks_*.deb
(cd "$tree" && cpack -G DEB >/dev/null)
built=("$tree"/beamworks_*.deb)
mv "${built[0]}" build/
deb=build/$(basename "${built[0]}")

status=0
missing() {
  echo "$deb: $*" >&2
  status=1
}
metainfo=io.github.beamworks.Beamworks.metainfo.xml
contents=$(dpkg-deb --contents "$deb" | awk '{ print $6 }')
for file in \
  usr/games/beamworks usr/lib/games/beamworks/beamworks usr/bin/beamworks-check \
  usr/share/games/beamworks/{Mirror.3ds,level1.txt,par.txt,vertex.sh,fragment.sh} \
  usr/share/games/beamworks/{music/test1.mp3,images/poweron.png,textures/wall.jpg} \
  usr/share/applications/beamworks.desktop usr/share/metainfo/$metainfo \
  usr/share/icons/hicolor/{48x48,128x128,256x256}/apps/beamworks.png \
  usr/share/man/man6/beamworks.6.gz usr/share/man/man1/beamworks-check.1.gz \
  usr/share/doc/beamworks/copyright usr/share/doc/beamworks/changelog.gz; do
  grep -qxF "./$file" <<<"$contents" || missing "no $file"
done
depends=$(dpkg-deb --field "$deb" Depends)
for library in libc6 libstdc++6 libglfw3 libsdl2-mixer; do
  [[ $depends == *"$library"* ]] || missing "the Depends line names no $library: '$depends'"
done

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/beamworks.desktop" || status=1
# Errors fail; warnings and hints are printed.
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/$metainfo" || status=1

lintian --fail-on error --tag-display-limit 0 "$deb" || status=1
[ $status -eq 0 ] || exit 1
echo "$deb ($(du -k "$deb" | cut -f1) KiB, installed $(dpkg-deb --field "$deb" Installed-Size) KiB)"
echo "Depends: $depends"
