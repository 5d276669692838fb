#!/usr/bin/env bash
# Installs the build tree into a temporary prefix and checks what a user's
# system receives: the programs, the defaults under share/wirestead, the
# desktop entry, icon, MIME types and manual page; then starts both
# installed programs with no build tree to fall back on and checks they
# find the installed defaults.
# usage: install_layout_test.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$1
source=$2
work=$(mktemp -d /tmp/ws-install-test-XXXXXX)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; echo "FAIL: cmake --install"; exit 1; }

for f in bin/wirestead bin/wirestead-cli; do
  [ -x "$prefix/$f" ] || fail "$f is not an installed program"
done
for f in share/wirestead/Preferences share/wirestead/textures/ground.bmp; do
  cmp -s "$build/${f#share/wirestead/}" "$prefix/$f" || fail "$f differs from the build's"
done
for size in 32 64 128; do
  icon=$prefix/share/icons/hicolor/${size}x${size}/apps/wirestead.png
  # The PNG signature, then the IHDR width and height as big-endian words.
  want=$(printf '89504e470d0a1a0a0000000d49484452%08x%08x' "$size" "$size")
  [ "$(head -c 24 "$icon" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = "$want" ] ||
    fail "icon ${size}x${size} is not a ${size}x${size} PNG"
done
mime=$prefix/share/mime/packages/wirestead.xml
for pair in 'application/x-wirestead-object *.wdo' 'application/x-wirestead-cluster *.wdc'; do
  set -- $pair
  # Each glob must sit inside its own type's element.
  awk -v t="$1" -v g="$2" '$0 ~ "type=\"" t "\"" {in_type = 1}
       in_type && index($0, "pattern=\"" g "\"") {found = 1}
       /<\/mime-type>/ {in_type = 0} END {exit !found}' "$mime" 2>/dev/null ||
    fail "$mime lacks $2 as $1"
done
desktop=$prefix/share/applications/wirestead.desktop
grep -qx 'Exec=wirestead %f' "$desktop" || fail "the desktop entry does not start wirestead"
grep -qx 'Icon=wirestead' "$desktop" || fail "the desktop entry names another icon"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
else
  echo "desktop-file-validate not installed: the entry's syntax is not checked"
fi
man_page=$prefix/share/man/man1/wirestead-cli.1
"$prefix/bin/wirestead-cli" --man | cmp -s - "$man_page" ||
  fail "the installed manual page is not what wirestead-cli --man prints"
if command -v groff >/dev/null; then
  warnings=$(groff -man -ww -z -Tutf8 "$man_page" 2>&1)
  [ -z "$warnings" ] || fail "groff warns about the manual page: $warnings"
else
  echo "groff not installed: the manual page's markup is not checked"
fi

# The installed programs with a fresh home. The installed ground texture
# gets a last pixel byte of its own, so that a copy taken from the build
# tree instead shows.
home=$work/home
ground=$prefix/share/wirestead/textures/ground.bmp
last=$(tail -c 1 "$ground" | od -An -tu1 | tr -d ' ')
printf "$(printf '\\%03o' $(((last + 1) % 256)))" |
  dd of="$ground" bs=1 seek=$(($(stat -c %s "$ground") - 1)) conv=notrunc status=none
cmp -s "$ground" "$build/textures/ground.bmp" && fail "could not mark the installed texture"
mkdir -p "$home"
run() { env -i PATH="$PATH" HOME="$home" QT_QPA_PLATFORM=offscreen WIRESTEAD_NO_SPLASH=1 "$@"; }
run "$prefix/bin/wirestead-cli" info "$source/tests/data/cube.wdo" >"$work/info.json" 2>&1 ||
  fail "the installed wirestead-cli: $(cat "$work/info.json")"
run timeout 60 "$prefix/bin/wirestead" --screenshot="$work/shot.png" >"$work/app.log" 2>&1 ||
  fail "the installed wirestead did not start: $(cat "$work/app.log")"
base=$home/.local/share/wirestead
cmp -s "$build/Preferences" "$base/Preferences" ||
  fail "the first run did not copy the installed Preferences into $base"
cmp -s "$ground" "$base/textures/ground.bmp" ||
  fail "the first run did not copy the installed textures/ground.bmp into $base"

[ "$failures" -eq 0 ] && echo "install layout: all checks passed"
exit $((failures > 0))
