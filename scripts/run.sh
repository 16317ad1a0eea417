#!/usr/bin/env bash
# Builds kvmap and runs the main job: the bundled sample map becomes a map
# database, and its overview and the whole map put together from its tiles
# are written as PNG files.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release
cmake --build --preset release -j 2 --target kvmap
kvmap=build/release/src/cli/kvmap
out=build/sample
mkdir -p "$out"
"$kvmap" convert samples/earth.jpg -o "$out/earth.prc" --depth 8
"$kvmap" render "$out/earth.prc" -o "$out/earth-overview.png"
"$kvmap" mosaic "$out/earth.prc" -o "$out/earth-mosaic.png"
echo "Map database:  $out/earth.prc"
echo "Overview:      $out/earth-overview.png"
echo "Whole map:     $out/earth-mosaic.png"
