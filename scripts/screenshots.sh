#!/usr/bin/env bash
# Makes the screenshots of the README and the user guide under Xvfb: the
# desktop program on the converted sample map, at the screen size the docs
# show. Uses the test build, which has the screen grabber; it builds what
# is missing.
#   scripts/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset test >/dev/null
cmake --build --preset test -j 2 --target kvmap korvale-map-manager kv_screen_grab \
  conversion_options_dialog_test world_file_system_dialog_test
build=build/test
export ASAN_OPTIONS=detect_leaks=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/src/cli/kvmap" convert samples/earth.jpg -o "$work/earth.prc" --depth 8 >/dev/null
export XDG_CONFIG_HOME="$work/config"
# A real X server, whatever platform the other tests run on.
export QT_QPA_PLATFORM=xcb
grab() {  # grab OUTPUT.png SCREEN_SIZE ARGUMENTS...
  local output=$1 size=$2
  shift 2
  xvfb-run -a -s "-screen 0 ${size}x24" "$build/tests/shell/kv_screen_grab" "$output" \
    "$build/src/shell/korvale-map-manager" "$@"
}
mkdir -p docs/images docs/guide/images
grab docs/images/main-window.png 1024x680 "$work/earth.prc"
cp docs/images/main-window.png docs/guide/images/reopened-map.png
rm -f "$XDG_CONFIG_HOME/Korvale Map Manager.prefs"
grab docs/guide/images/empty-window.png 1024x680
# The dialogs as their tests draw them, and the calibration panel as the
# real-window test leaves it after setting four points by hand.
export KV_SCREENSHOT_DIR="$work/shots" KV_LANG_DIR="$PWD/lang"
mkdir -p "$KV_SCREENSHOT_DIR"
QT_QPA_PLATFORM=offscreen "$build/tests/dialogs/conversion_options_dialog_test" >/dev/null
QT_QPA_PLATFORM=offscreen "$build/tests/dialogs/world_file_system_dialog_test" >/dev/null
LSAN_OPTIONS=suppressions=$PWD/tests/shell/lsan.supp tests/shell/calibration_by_hand_test.sh \
  "$build/src/shell/korvale-map-manager" "$build/src/cli/kvmap" "$build/tests/shell/kv_screen_grab" \
  samples/earth.jpg >/dev/null
cp "$KV_SCREENSHOT_DIR/conversion-options.png" "$KV_SCREENSHOT_DIR/world-file-system.png" \
  "$KV_SCREENSHOT_DIR/calibration-panel.png" docs/guide/images/
echo "Screenshots written to docs/images and docs/guide/images"
