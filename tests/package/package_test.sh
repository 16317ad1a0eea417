#!/usr/bin/env bash
# Builds the Debian package and checks it as a user's machine would see it:
# unpacked into a temporary folder, kvmap runs from there and finds its
# language files from the prefix, converts the sample and shows its manual
# page; lintian finds no errors; the desktop entry, the MIME types and the
# AppStream metadata pass their validators.
#   package_test.sh [PRESET]   (the build to package; release by default)
set -euo pipefail
cd "$(dirname "$0")/../.."
deb=$(scripts/package.sh "${1:-release}" | tail -1)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

fail() { echo "package test: $*" >&2; exit 1; }

dpkg-deb -x "$deb" "$root"
usr=$root/usr
for file in bin/kvmap bin/korvale-map-manager \
    share/korvale-map-manager/lang/DARudIdiEN.lang share/korvale-map-manager/lang/DARudIdiDE.lang \
    share/korvale-map-manager/guide/index.html share/korvale-map-manager/cursors/calibrate.png \
    share/man/man1/kvmap.1.gz share/man/man1/korvale-map-manager.1.gz \
    share/bash-completion/completions/kvmap share/applications/korvale-map-manager.desktop \
    share/mime/packages/korvale-map-manager.xml \
    share/metainfo/org.korvale.MapManager.metainfo.xml \
    share/icons/hicolor/64x64/apps/korvale-map-manager.png \
    share/doc/korvale-map-manager/copyright share/doc/korvale-map-manager/changelog.gz; do
  [ -e "$usr/$file" ] || fail "the package lacks /usr/$file"
done

version=$(dpkg-deb -f "$deb" Version)
[ "$("$usr/bin/kvmap" --version)" = "kvmap $version" ] || fail "kvmap --version is not $version"
[ "$("$usr/bin/korvale-map-manager" --version)" = "korvale-map-manager $version" ] ||
  fail "korvale-map-manager --version is not $version"
dpkg-deb -f "$deb" Depends | grep -q libgdal || fail "Depends lacks what dpkg-shlibdeps finds"

work=$(mktemp -d -p "$root")
"$usr/bin/kvmap" convert samples/earth.jpg -o "$work/earth.prc" --depth 8 >/dev/null 2>&1 ||
  fail "the unpacked kvmap cannot convert the sample"
"$usr/bin/kvmap" info "$work/earth.prc" >/dev/null
# The messages must come from the installed language file: mark one there
# and look for the mark in kvmap's error.
lang=$usr/share/korvale-map-manager/lang/DARudIdiEN.lang
sed -i 's/^805 .*/805 Marked in the installed language file:\\n%s/' "$lang"
if "$usr/bin/kvmap" info "$work/missing.prc" 2>"$work/error.txt"; then
  fail "kvmap info on a missing file succeeded"
fi
grep -q "Marked in the installed language file" "$work/error.txt" ||
  fail "kvmap's messages do not come from $lang: $(cat "$work/error.txt")"

for page in kvmap korvale-map-manager; do
  text=$(MANWIDTH=80 man -l "$usr/share/man/man1/$page.1.gz" 2>/dev/null)
  grep -q "^NAME" <<<"$text" || fail "man -l $page.1.gz shows no page"
done
man_text=$(MANWIDTH=200 man -l "$usr/share/man/man1/kvmap.1.gz" 2>/dev/null)
for word in convert recode install KV_THREADS KORVALE_DEVICE_ROOT SOURCE_DATE_EPOCH "EXIT STATUS"; do
  grep -q -- "$word" <<<"$man_text" || fail "the kvmap manual page does not mention $word"
done

desktop-file-validate "$usr/share/applications/korvale-map-manager.desktop"
appstreamcli validate --no-net "$usr/share/metainfo/org.korvale.MapManager.metainfo.xml"
mkdir -p "$work/mime/packages"
cp "$usr/share/mime/packages/korvale-map-manager.xml" "$work/mime/packages/"
update-mime-database "$work/mime" >/dev/null 2>&1 || fail "shared-mime-info refuses the MIME types"

# Lintian's errors fail the test; its warnings are shown.
lintian --fail-on error --suppress-tags no-manual-page "$deb" || fail "lintian reports errors"
echo "package test: $deb passes"
