#!/usr/bin/env bash
# Measures kvmap against GDAL decoding the same source, in one run:
#
#   8000 x 6000 photo-like JPEG        kvmap convert --depth 16 and --depth 8
#   45000 x 22500 tiled JPEG GeoTIFF   kvmap convert --scale 1/4 --depth 8
#   20000 x 20000 PNG                  kvmap convert --scale 1/4
#   a map of 9999 images               kvmap info
#
# Each job and its peer (bench/gdal_decode: every pixel decoded once, in
# block rows, one thread) run as processes; the table gives the wall time
# (the best of several runs), the job's time as a multiple of the decode,
# and the peak memory. The sources are made from samples/earth.jpg with
# GDAL the first time and kept in the build folder.
#
#   bench/convert_bench.sh [RUNS]        (default 3; big sources run once)
#
# Needs the bench build: cmake --preset bench && cmake --build --preset bench
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
build=build/bench
kvmap=$build/src/cli/kvmap
decode=$build/bench/gdal_decode
make_full_map=$build/bench/make_full_map
data=build/bench-data
mkdir -p "$data"
work=$(mktemp -d "$data/run.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The sample enlarged with smooth resampling: photo-like detail, no large
# flat areas that would flatter compression.
make_source() {
  local file=$1 width=$2 height=$3
  shift 3
  [ -f "$data/$file" ] && return
  echo "making $file (${width} x ${height})..." >&2
  gdal_translate -q -r bilinear -outsize "$width" "$height" "$@" samples/earth.jpg \
    "$data/partial-$file"
  mv "$data/partial-$file" "$data/$file"
}
make_source photo.jpg 8000 6000 -co QUALITY=90
make_source tiled.tif 45000 22500 -co COMPRESS=JPEG -co TILED=YES
make_source big.png 20000 20000
[ -f "$data/full.prc" ] || "$make_full_map" "$data/full.prc"

# Runs a command `count` times; prints the best wall time in seconds, the
# processor time (user and system, all threads) and the peak resident
# memory in MiB of that run. Other work on the machine slows the wall time
# of a job that uses every core more than that of a one-thread peer; the
# processor time shows the work itself.
measure() {
  local count=$1
  shift
  local best="" best_cpu="" best_mb=""
  for _ in $(seq "$count"); do
    local start end
    start=$(date +%s.%N)
    /usr/bin/time -f "%U %S %M" -o "$work/usage" "$@" > /dev/null
    end=$(date +%s.%N)
    local seconds
    seconds=$(awk "BEGIN { printf \"%.3f\", $end - $start }")
    if [ -z "$best" ] || awk "BEGIN { exit !($seconds < $best) }"; then
      best=$seconds
      best_cpu=$(awk '{ printf "%.2f", $1 + $2 }' "$work/usage")
      best_mb=$(awk '{ printf "%.0f", $3 / 1024 }' "$work/usage")
    fi
  done
  echo "$best $best_cpu $best_mb"
}

line() {
  printf "| %-42s | %8s | %8s | %8s | %6s | %8s | %-22s |\n" "$@"
}

row() {  # job, seconds, CPU seconds, peer seconds, peak MiB, aim
  line "$1" "$2" "$3" "$4" "$(awk "BEGIN { printf \"%.2f\", $2 / $4 }")" "$5" "$6"
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
line job seconds "CPU s" "decode s" "x dec." "peak MiB" aim
line "$(printf -- '-%.0s' {1..42})" -------- -------- -------- ------ -------- \
  ----------------------

read -r photo_s _ _ < <(measure "$runs" "$decode" "$data/photo.jpg")
# The first measurements of this job took `gdalinfo -checksum` as the
# decode; it is shown too, as the second row of each depth.
read -r checksum_s _ _ < <(measure "$runs" gdalinfo -checksum "$data/photo.jpg")
for depth in 16 8; do
  aim="<= 1.10 x decode"
  [ "$depth" = 8 ] && aim="<= 1.25 x decode"
  read -r s cpu mb < <(measure "$runs" "$kvmap" convert "$data/photo.jpg" -o "$work/photo.prc" \
    --depth "$depth")
  row "8000 x 6000 JPEG, --depth $depth" "$s" "$cpu" "$photo_s" "$mb" "$aim"
  row "  same, against gdalinfo -checksum" "$s" "$cpu" "$checksum_s" "$mb" "$aim"
done

read -r tiled_s _ _ < <(measure 1 "$decode" "$data/tiled.tif")
read -r s cpu mb < <(measure 1 "$kvmap" convert "$data/tiled.tif" -o "$work/tiled.prc" \
  --scale 1/4 --depth 8 --no-calibration)
row "45000 x 22500 tiled GeoTIFF, 1/4, depth 8" "$s" "$cpu" "$tiled_s" "$mb" "<= 1.5 x, < 1024 MiB"

read -r png_s _ _ < <(measure 1 "$decode" "$data/big.png")
read -r s cpu mb < <(measure 1 "$kvmap" convert "$data/big.png" -o "$work/big.prc" --scale 1/4)
row "20000 x 20000 PNG, 1/4" "$s" "$cpu" "$png_s" "$mb" "< 1024 MiB"

# Opening the map has no decode to compare with; its peer is reading the
# file's bytes.
read -r cat_s _ _ < <(measure "$runs" cat "$data/full.prc")
read -r s cpu mb < <(measure "$runs" "$kvmap" info "$data/full.prc")
row "kvmap info, map of 9999 images" "$s" "$cpu" "$cat_s" "$mb" "< 1 s (peer: cat)"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
