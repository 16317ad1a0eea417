#!/usr/bin/env bash
# Builds kvmap and the desktop program and runs the main job: the bundled
# sample map becomes a map database, and its overview and the whole map put
# together from its tiles are written as PNG files. With a display the
# desktop program then opens the map; without one the command that would is
# printed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release
cmake --build --preset release -j 2 --target kvmap korvale-map-manager
kvmap=build/release/src/cli/kvmap
program=build/release/src/shell/korvale-map-manager
out=build/sample
mkdir -p "$out"
"$kvmap" convert samples/earth.jpg -o "$out/earth.prc" --depth 8
"$kvmap" render "$out/earth.prc" -o "$out/earth-overview.png"
"$kvmap" mosaic "$out/earth.prc" -o "$out/earth-mosaic.png"
echo "Map database:  $out/earth.prc"
echo "Overview:      $out/earth-overview.png"
echo "Whole map:     $out/earth-mosaic.png"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "Opening the desktop program on $out/earth.prc"
  exec "$program" "$out/earth.prc"
else
  echo "No display; to open the map in the desktop program run:"
  echo "  $program $out/earth.prc"
fi
