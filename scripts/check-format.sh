#!/usr/bin/env bash
# Fails when a C++ source of the project is not formatted as .clang-format
# says; `clang-format -i FILE` fixes it.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h')
[ ${#files[@]} -gt 0 ] || { echo "no sources found" >&2; exit 1; }
clang-format --dry-run -Werror "${files[@]}"
