#!/usr/bin/env bash
# Prints the calibration corpus as a table: file, origin, kind; the worst
# distance in pixels between our positions and GDAL/PROJ's, in the datum the
# map is labelled with ("worst px") and in the file's own datum, which shows
# the geometry alone ("own datum px"); how far GDAL's positions of the
# image's edges lie outside the stored bounds (pixels; "n/a" when the bounds
# hold nothing, "none" when the reader gives none); and the state of the row
# (ok, FAILS, or the known fault it waits for).
# Builds calibration_tests in the test preset when it is missing.
#   scripts/corpus-table.sh [--markdown]
set -euo pipefail
cd "$(dirname "$0")/.."
binary=build/test/tests/calibration/calibration_tests
if [ ! -x "$binary" ]; then
  cmake --preset test >/dev/null
  cmake --build --preset test --target calibration_tests >/dev/null
fi
lines=$(KV_TEST_DATA="$PWD/tests/calibration/data" ASAN_OPTIONS=detect_leaks=0 \
  "$binary" --gtest_filter='Files/CorpusPeer.*' 2>/dev/null | grep '^corpus|' | cut -d'|' -f2-)
header="file|origin|kind|worst px|own datum px|outside bounds px|state|note"
if [ "${1:-}" = "--markdown" ]; then
  echo "| ${header//|/ | } |"
  echo "|---|---|---|---|---|---|---|---|"
  while IFS= read -r line; do echo "| ${line//|/ | } |"; done <<<"$lines"
else
  printf '%s\n%s\n' "$header" "$lines" | column -t -s '|'
fi
