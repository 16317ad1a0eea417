#!/usr/bin/env bash
# Builds everything under ASan and UBSan and runs every test, then builds
# the Debian package and checks it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset test
cmake --build --preset test -j 2
ctest --preset test
tests/package/package_test.sh
