#!/usr/bin/env bash
# Starts the real desktop program under Xvfb on the sample map converted by
# kvmap, waits for its window, checks the screenshot is not blank, closes it
# and checks that it wrote its preferences on the way out.
#   desktop_smoke_test.sh KVMAP PROGRAM SCREEN_GRAB SAMPLE_IMAGE
set -euo pipefail
kvmap=$1 program=$2 grab=$3 sample=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$kvmap" convert "$sample" -o "$work/earth.prc" --depth 8 >/dev/null
export XDG_CONFIG_HOME="$work/config"
# A real X server, whatever platform the other tests run on.
export QT_QPA_PLATFORM=xcb
# libxkbcommon-x11 hands strndup a buffer without a terminating NUL, which
# the strict string checks of the test preset report; the other tests keep
# them.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:strict_string_checks=0"
xvfb-run -a -s "-screen 0 1024x768x24" "$grab" "$work/screen.png" "$program" "$work/earth.prc"
test -s "$work/screen.png"
prefs="$work/config/Korvale Map Manager.prefs"
test "$(stat -c %s "$prefs")" -eq 1428
echo "window shown, screenshot taken, preferences written"
