#!/usr/bin/env bash
# Drives kvmap's bash completion as bash would on Tab, in a folder of
# files of several kinds, and checks what it offers.
#   completion_test.sh KVMAP COMPLETION_FILE
set -euo pipefail
kvmap_dir=$(dirname "$1")
completion=$2
PATH=$kvmap_dir:$PATH
source /usr/share/bash-completion/bash_completion
source "$completion"

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder"
touch map.prc OLD.PRC photo.jpg chart.kap notes.kvm scan.tfw readme.txt out.png
mkdir maps

# What Tab offers at the end of LINE, sorted, one line.
offered() {
  local line=$1
  COMP_LINE=$line
  COMP_POINT=${#line}
  read -r -a COMP_WORDS <<<"$line"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _kvmap kvmap "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  ((${#COMPREPLY[@]})) || return 0
  printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}

failures=0
expect() {
  local line=$1 wanted=$2 got
  got=$(offered "$line")
  if [[ $got != "$wanted" ]]; then
    echo "'$line<Tab>' offers '$got', expected '$wanted'" >&2
    failures=$((failures + 1))
  fi
}

expect "kvmap " "calibration convert coord info install mosaic pdb recode render "
expect "kvmap re" "recode render "
expect "kvmap --" "--help --version "
expect "kvmap install " "device palm users "
expect "kvmap coord to-" "to-grid to-latlon "
expect "kvmap convert --de" "--depth "
expect "kvmap convert --depth " "1 16 2 4 8 "
expect "kvmap convert --scale " "1/1 1/2 1/4 "
expect "kvmap convert --name " ""
expect "kvmap convert " "chart.kap maps notes.kvm out.png photo.jpg "
expect "kvmap info " "OLD.PRC map.prc maps "
expect "kvmap recode map.prc --depth 8 " "OLD.PRC map.prc maps "
expect "kvmap render map.prc -o " "maps out.png "
expect "kvmap calibration " "OLD.PRC chart.kap find map.prc maps notes.kvm out.png photo.jpg scan.tfw "
expect "kvmap convert photo.jpg --calibration " "OLD.PRC chart.kap map.prc maps notes.kvm out.png photo.jpg scan.tfw "
expect "kvmap install device --root " "maps "
exit $((failures > 0))
