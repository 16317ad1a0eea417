#!/usr/bin/env bash
# Builds kvmap and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release
cmake --build --preset release -j 2 --target kvmap
build/release/src/cli/kvmap --help
