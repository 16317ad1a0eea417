#!/usr/bin/env bash
# Makes a program's manual page from its own --help and --version, so the
# page cannot drift from the options: help2man, plus INCLUDE for what --help
# does not say. With --subcommands, each subcommand's --help (and that of
# nested ones) becomes a part of a SUBCOMMANDS section.
#   make-man-page.sh PROGRAM INCLUDE OUTPUT [--subcommands]
set -euo pipefail
program=$1 include=$2 output=$3 subcommands=${4:-}

# The names listed under "Subcommands:" in a --help text.
list_subcommands() {
  awk '/^Subcommands:/ { listing = 1; next }
       listing && /^  [a-z]/ { print $1 }
       listing && /^$/ { listing = 0 }'
}

# Help text as roff that keeps its layout: backslashes escaped, and lines
# that would read as requests guarded.
as_roff() {
  sed -e 's/\\/\\e/g' -e "s/^\([.']\)/\\\\\&\1/"
}

describe() {
  local words=("$@")
  printf '.SS "kvmap %s"\n.nf\n' "${words[*]}"
  "$program" "${words[@]}" --help | as_roff
  printf '.fi\n'
  local sub
  for sub in $("$program" "${words[@]}" --help | list_subcommands); do
    describe "${words[@]}" "$sub"
  done
}

includes=(--include "$include")
if [ "$subcommands" = --subcommands ]; then
  generated=$(mktemp)
  trap 'rm -f "$generated"' EXIT
  {
    echo '[SUBCOMMANDS]'
    for sub in $("$program" --help | list_subcommands); do describe "$sub"; done
  } >"$generated"
  includes+=(--include "$generated")
fi

LC_ALL=C.UTF-8 help2man --no-info --no-discard-stderr --section 1 "${includes[@]}" \
  --output "$output" "$program"
