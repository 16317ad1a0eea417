#!/usr/bin/env bash
# Builds everything under ASan and UBSan and runs every test, then packages
# that build as a Debian package and checks the package.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset test
cmake --build --preset test -j 2
ctest --preset test
tests/package/package_test.sh test
