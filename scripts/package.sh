#!/usr/bin/env bash
# Builds the Debian package of kvmap and the desktop program and prints its
# path: build/package/korvale-map-manager_<version>_amd64.deb, from the
# optimised build. Install it with: apt install ./build/package/korvale-map-manager_*.deb
#   scripts/package.sh [PRESET]
# The test suite packages its own sanitizer build (PRESET test, into
# build/test/package) to check the package without a second compilation.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-release}
case $preset in
  release) out=$PWD/build/package ;;
  test) out=$PWD/build/test/package ;;
  *) echo "usage: scripts/package.sh [release|test]" >&2; exit 2 ;;
esac
scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j 2 --target kvmap korvale-map-manager kvmap_man_page \
  korvale-map-manager_man_page kv_changelog >/dev/null
rm -f "$out"/korvale-map-manager_*.deb
(cd "build/$preset" && cpack -G DEB -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
ls "$out"/korvale-map-manager_*.deb
