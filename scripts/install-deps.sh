#!/usr/bin/env bash
# Installs, with apt-get and only when missing, every Debian package the
# project builds, tests, fuzzes and benchmarks with; xvfb and xdotool run the desktop
# program's smoke test and screenshots without a display; Qt's translations
# put Qt's own buttons and file chooser in the program's language; help2man
# makes the manual pages, and the rest checks the Debian package and its
# completion, desktop entry and metadata.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libgdal-dev gdal-bin libpng-dev
  qt6-base-dev qt6-translations-l10n
  xvfb xauth xdotool
  libcli11-dev nlohmann-json3-dev
  netpbm libproj-dev proj-bin
  clang-14 libclang-rt-14-dev clang-format
  help2man bash-completion lintian desktop-file-utils appstream shared-mime-info man-db
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
