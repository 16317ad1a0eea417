#!/usr/bin/env bash
# Builds the Debian package of kvmap and the desktop program from the
# optimised build: build/package/korvale-map-manager_<version>_amd64.deb.
# Install it with: apt install ./build/package/korvale-map-manager_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release
cmake --build --preset release -j 2 --target kvmap korvale-map-manager kvmap_man_page \
  korvale-map-manager_man_page kv_changelog
rm -f build/package/korvale-map-manager_*.deb
(cd build/release && cpack -G DEB -B "$PWD/../package" >/dev/null)
rm -rf build/package/_CPack_Packages
ls build/package/korvale-map-manager_*.deb
