#!/usr/bin/env bash
# Measures `kvmap convert` of a large photo-like map at depths 16 and 8
# against the time GDAL alone needs to decode the same source.
#
#   bench/convert_bench.sh [WIDTH HEIGHT]     (default 8192 6144)
#
# Needs the release build (scripts/run.sh or `cmake --preset release &&
# cmake --build --preset release --target kvmap`).
set -euo pipefail
cd "$(dirname "$0")/.."
width=${1:-8192}
height=${2:-6144}
kvmap=build/release/src/cli/kvmap
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The sample map enlarged with smooth resampling: photo-like detail, no
# large flat areas that would flatter compression.
gdal_translate -q -r bilinear -outsize "$width" "$height" -co QUALITY=90 \
  samples/earth.jpg "$work/big.jpg"
megapixels=$(awk "BEGIN { print $width * $height / 1e6 }")

# Runs a command, prints "seconds peak-MiB".
measure() {
  /usr/bin/time -f "%e %M" -o "$work/time" "$@" > /dev/null
  awk '{ printf "%s %.0f\n", $1, $2 / 1024 }' "$work/time"
}

read -r decode_s decode_mb < <(measure gdal_translate -q -of ENVI "$work/big.jpg" "$work/big.envi")
printf "source: %dx%d (%s Mpx)\n" "$width" "$height" "$megapixels"
printf "%-22s %8s %10s %10s %12s\n" job seconds "Mpx/s" "peak MiB" "x decode"
printf "%-22s %8s %10.1f %10s %12s\n" "GDAL decode (ENVI)" "$decode_s" \
  "$(awk "BEGIN { print $megapixels / $decode_s }")" "$decode_mb" "1.00"
for depth in 16 8; do
  read -r s mb < <(measure "$kvmap" convert "$work/big.jpg" -o "$work/big-$depth.prc" --depth "$depth")
  printf "%-22s %8s %10.1f %10s %12.2f\n" "kvmap convert depth $depth" "$s" \
    "$(awk "BEGIN { print $megapixels / $s }")" "$mb" "$(awk "BEGIN { print $s / $decode_s }")"
done
