#!/usr/bin/env bash
# Calibrates the sample by hand in the real program on a real (virtual) X
# server, driving it with the mouse and keys as a user would: open the
# calibration panel, set four points by clicking into the image and typing
# their positions, apply, save, then re-open the saved map and save it
# again. Both maps must hold the four points as they were set.
#   calibration_by_hand_test.sh PROGRAM KVMAP SCREEN_GRAB SAMPLE_IMAGE
# With KV_SCREENSHOT_DIR set, the panel with its four points is saved there
# as calibration-panel.png for the guide.
#
# The positions below are those of the default 800 x 550 window; a change of
# the panel's layout moves them. On failure the screens taken on the way
# are kept and named.
set -euo pipefail

if [ "${1:-}" != --on-display ]; then
  export KV_WORK
  KV_WORK=$(mktemp -d)
  export XDG_CONFIG_HOME="$KV_WORK/config"
  export QT_QPA_PLATFORM=xcb
  # libxkbcommon-x11 hands strndup a buffer without a terminating NUL, which
  # the strict string checks of the test preset report.
  export ASAN_OPTIONS="${ASAN_OPTIONS:-}:strict_string_checks=0"
  if xvfb-run -a -s "-screen 0 1024x768x24" "$0" --on-display "$@"; then
    rm -rf "$KV_WORK"
    exit 0
  fi
  echo "screens and logs kept in $KV_WORK" >&2
  exit 1
fi
shift
program=$1 kvmap=$2 grab=$3 sample=$4
work=$KV_WORK
cp "$sample" "$work/earth.jpg"

fail() {
  echo "FAIL: $*" >&2
  "$grab" "$work/failed.png" --settled 2>/dev/null || true
  exit 1
}

# Waits up to a minute (sanitizer builds are slow) for the main window whose
# title contains $1 and prints its id.
window_titled() {
  local id
  for _ in $(seq 120); do
    for id in $(xdotool search --onlyvisible --name "Korvale Map Manager" 2>/dev/null); do
      if xdotool getwindowname "$id" | grep -q -- "$1"; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.5
  done
  return 1
}

settle() { "$grab" "$work/$1.png" --settled 2>/dev/null || fail "the screen did not settle ($1)"; }

# Clicks at a position inside the main window.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }

# Replaces the text of the field at a window position.
type_into() {
  click "$1" "$2"
  xdotool key ctrl+a
  xdotool type --delay 20 "$3"
}

# Positions in the 800 x 550 window with the panel open in points mode.
points_mode=(400 75) pick=(671 129) next=(674 36) apply=(668 274)
latitude=(603 83) longitude=(603 107)
image_origin=(366 306)  # where pixel (0, 0) of the image lies at 100 %

start() {
  "$program" "$@" >>"$work/program.log" 2>&1 &
  program_pid=$!
}

# Saves through the file chooser under the path $2 with the keys $1.
save_as() {
  focus
  xdotool key "$1"
  sleep 2
  settle "chooser-$(basename "$2")"
  xdotool key ctrl+a
  xdotool type --delay 20 "$2"
  xdotool key Return
  for _ in $(seq 240); do
    [ -s "$2" ] && ! xdotool getwindowname "$window" | grep -q '\*$' && return 0
    sleep 0.5
  done
  fail "the map was not saved as $2"
}

# Without a window manager the focus does not come back by itself when a
# dialog closes.
focus() { xdotool windowfocus --sync "$window"; }

quit() {
  focus
  xdotool key ctrl+q
  for _ in $(seq 60); do
    if ! kill -0 "$program_pid" 2>/dev/null; then
      wait "$program_pid" || fail "the program ended with status $?"
      return 0
    fi
    sleep 0.5
  done
  kill "$program_pid"
  fail "the program did not end on Ctrl+Q"
}

# Pixel (x, y) of the plate carrée sample and its position in degrees and
# minutes.
set_point() {
  local x=$1 y=$2
  click $((image_origin[0] + x)) $((image_origin[1] + y))
  sleep 1
  type_into "${latitude[@]}" "$3"
  type_into "${longitude[@]}" "$4"
}

start "$work/earth.jpg"
window=$(window_titled "Map") || fail "the main window did not show the imported image"
focus
settle imported
xdotool key ctrl+k
sleep 2
click "${points_mode[@]}"
click "${pick[@]}"
settle panel
set_point 64 64 "78 45.0000 N" "168 45.0000 W"
click "${next[@]}"
set_point 384 64 "78 45.0000 N" "112 30.0000 W"
click "${next[@]}"
set_point 64 192 "56 15.0000 N" "168 45.0000 W"
click "${next[@]}"
set_point 384 192 "56 15.0000 N" "112 30.0000 W"
settle four-points
if [ -n "${KV_SCREENSHOT_DIR:-}" ]; then
  cp "$work/four-points.png" "$KV_SCREENSHOT_DIR/calibration-panel.png"
fi
click "${apply[@]}"
sleep 1
xdotool key Escape
sleep 1
save_as ctrl+s "$work/hand.prc"
quit

start "$work/hand.prc"
window=$(window_titled "hand") || fail "the saved map did not open again"
focus
settle reopened
save_as ctrl+shift+s "$work/again.prc"
quit

expected="$work/expected.txt"
cat >"$expected" <<'POINTS'
64 64 78.75 -168.75
384 64 78.75 -112.5
64 192 56.25 -168.75
384 192 56.25 -112.5
POINTS
for map in hand again; do
  "$kvmap" calibration "$work/$map.prc" >"$work/$map.kvm" 2>"$work/$map.residuals" || fail "kvmap cannot read $map.prc"
  # Point N is the lines cN_x, cN_y, cN_lat and cN_lon, each "key=7=value".
  awk -F= '/^c[1-4]_(x|y|lat|lon)=/ { v[$1] = $3 }
    END { for (n = 1; n <= 4; n++)
            printf "%d %d %.6g %.6g\n", v["c" n "_x"], v["c" n "_y"], v["c" n "_lat"], v["c" n "_lon"] }' \
    "$work/$map.kvm" >"$work/$map.points"
  diff "$expected" "$work/$map.points" >&2 || fail "$map.prc does not hold the four points set"
done
echo "four points set by hand, saved, re-opened and saved again"
