#!/usr/bin/env bash
# Mutation check: plants the one-line faults listed in scripts/mutants.tsv,
# one at a time, in a scratch copy of the working tree, rebuilds the test
# program of the fault's module and runs it. A fault the tests do not notice
# "survives". Not part of `make test`: a full run rebuilds one library and
# one test program per fault and takes a while.
#
# Usage: scripts/mutation-check.sh [--module NAME]... [--list FILE] [--jobs N]
#   --module NAME  only the faults of that module (resource, model, editor,
#                  geometry, import, cli, tools, gui, viewer); may be repeated
#   --list FILE    another fault list (same columns as scripts/mutants.tsv)
#   --jobs N       ninja jobs (default: nproc)
# Environment: MUTATION_DIR, the scratch folder (default build-mutation/ in
# the checkout). ccache is used when installed.
#
# A row of the list: module, path, original, replacement, what (tab
# separated). The original text must occur exactly once in the file; a row
# whose text has gone is reported "stale" and counts in no score.
#
# Score on the suite as it stood when this check was written (commit
# 99ff751, the first 51 rows): 31 of 51 faults caught (60.8%). Twenty
# survived: three limits of the resource file (directory capacity, path
# length, last open slot), DeletePoint and DeleteVector renumbering, the
# object text reader's view-zone index and count limits, diagonal line
# stepping, the free-rotation sphere edge, the zoom curve, the digit 9 key,
# the largest primitive size, the sphere room suggestion, the OBJ group cap,
# the 10,000-face collector cap, the scene walk's depth limit, the bounding
# box of a one-point object, glyph Z (in a function nothing called; the row
# now names a live font fault), the Ctrl+Z key forwarding and the toggle
# buttons' pressed bits.
#
# After the suite was consolidated: those 51 rows 48 caught (94.1%); the
# whole list of 111 rows 106 caught (95.5%). Survivors: diagonal line
# stepping and the sphere edge (equivalent: at |dx| = |dy| and on the rim both
# branches give the same result), the toggle buttons' pressed bits (the mask
# only decides whether to repaint), the working file's colour table put back
# when the Preferences file refuses a write, and an object file of exactly
# the largest size (a 1 GiB test input).
#
# With walk mode, the DXF, 3D Studio, trueSpace and VRML readers and the X-file
# library added, and the suite consolidated again (222 rows, each module run
# on its own): 217 caught (97.7%), the same five surviving.
#
# Printing and the hardware viewer added 15 rows (editor, viewer, gui): all
# 15 caught.
#
# The X, 3DMF, glTF, viewer and Check Object work brought the list to 331
# rows, each checked caught when added. After the next consolidation, run in
# three subsets covering 224 rows: import formats and CLI 67 of 67; viewer,
# gui, printing and interaction 44 of 45; model, geometry, resource and the
# older readers 110 of 112. The three survivors are the known ones above
# (toggle buttons, the colour table put back, the 1 GiB object file).
#
# A seventh consolidation, run in three subsets that together cover every
# row: model, resource, raster, walk, viewer and tools 102 of 106; editor and
# gui 47 of 49; import, cli and geometry 187 of 188. The survivors are the
# known ones above plus Save Object As matching an export extension by case,
# whose last check an earlier pass had removed; a test for it was added back
# and it is caught. The four rows added with the scene hash and the store
# into a copy of the working file (338 rows in all) are caught.
#
# Delete and rename moved onto the working-file copy (two rows added, 340 in
# all); the 60 rows in files changed alongside, plus the six of the object
# list, 63 of 66 caught. The colour table put back when the Preferences file
# refuses now has its test and is caught; the free-rotation sphere rim and an
# object file of exactly the size limit survive as before.
#
# An eighth consolidation, with the whole tree formatted (12 rows follow the
# reflowed lines): every row run, 335 of 340 caught (98.5%); import 137 of
# 137. Survivors: diagonal line stepping and the sphere rim (equivalent), the
# toggle buttons' pressed bits, the 1 GiB object file, and the mouse-release
# refresh of the GL walk picture, equivalent since the hardware view rebuilds
# whenever the scene hash changes (it survives the earlier suite as well).
#
# A ninth consolidation, and 22 rows added where the list was thin (fills,
# lines, the resource file, the CLI's output, the Preferences generator, the
# 3DMF import's empty-file note): every row run, 357 of 362 caught (98.6%);
# import 138 of 138. The survivors are the five above. Six more faults tried
# for those rows are left out as equivalent: a 45-degree fill edge taken as
# shallow and a span's word copy ending a word early (the same pixels), BMP
# rows left unpadded (the generator writes 256-pixel rows only), a glyph
# stroke doubled back on itself (no glyph retraces one), the CLI leaving the
# last object current (each run ends after its one command), and the comma
# glyph's index (the lookup had no caller and was removed).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
list="$root/scripts/mutants.tsv"
jobs=$(nproc)
modules=()
while [ $# -gt 0 ]; do
  case "$1" in
    --module) modules+=("$2"); shift 2 ;;
    --list) list=$(realpath "$2"); shift 2 ;;
    --jobs) jobs="$2"; shift 2 ;;
    -h|--help) sed -n '2,20p' "$0"; exit 0 ;;
    *) echo "mutation-check: unknown argument $1" >&2; exit 2 ;;
  esac
done

work=${MUTATION_DIR:-$root/build-mutation}
tree="$work/tree"
mkdir -p "$tree"
# The scratch tree mirrors the checkout's tracked and untracked (not ignored)
# files, so uncommitted work is measured too. Everything but the build is laid
# anew, so files deleted since the last run do not linger; the copies keep
# their time stamps, so the build redoes only what changed. A tracked file
# deleted in the working tree is left out rather than failing the copy.
find "$tree" -mindepth 1 -maxdepth 1 ! -name build -exec rm -rf {} +
(cd "$root" && git ls-files -co --exclude-standard -z |
  while IFS= read -r -d '' f; do if [ -e "$f" ]; then printf '%s\0' "$f"; fi; done |
  tar --null -T - -cf -) | tar -C "$tree" -xf -
# A run stopped while a fault was planted leaves objects built from the
# faulty text, older than nothing the copy brings back: the file it named is
# given a fresh time stamp so that the build redoes it.
if [ -f "$work/planted" ]; then
  planted=$(cat "$work/planted")
  [ -f "$tree/$planted" ] && touch "$tree/$planted"
  rm -f "$work/planted"
fi
# Sample-file tests find ../shared beside the source tree.
if [ -d "$root/../shared" ] && [ ! -e "$work/shared" ]; then
  ln -s "$(cd "$root/../shared" && pwd)" "$work/shared"
fi

if command -v ccache >/dev/null 2>&1; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root} CCACHE_NOHASHDIR=true
  # The test programs compile against a precompiled header, which ccache
  # caches only with these relaxations.
  export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
fi
cmake -S "$tree" -B "$tree/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

target_of() { echo "ws_$1_tests"; }
binary_of() {
  case "$1" in
    gui|viewer) echo "$tree/build/tests/$1/ws_$1_tests" ;;
    *) echo "$tree/build/tests/ws_$1_tests" ;;
  esac
}
wanted() {
  [ ${#modules[@]} -eq 0 ] && return 0
  local m
  for m in "${modules[@]}"; do [ "$m" = "$1" ] && return 0; done
  return 1
}
run_tests() {  # module -> exit status of its test program
  (cd "$tree" && QT_QPA_PLATFORM=offscreen timeout 900 "$(binary_of "$1")" \
     --gtest_fail_fast --gtest_brief=1 >/dev/null 2>&1)
}

# Rows to run.
mapfile -t rows < <(grep -v '^#' "$list" | grep -v '^[[:space:]]*$')
selected=()
for row in "${rows[@]}"; do
  IFS=$'\t' read -r module _ <<<"$row"
  wanted "$module" && selected+=("$row")
done
[ ${#selected[@]} -gt 0 ] || { echo "mutation-check: no faults selected" >&2; exit 2; }

# The unmutated suite must pass, or nothing can be measured.
declare -A checked=()
for row in "${selected[@]}"; do
  IFS=$'\t' read -r module _ <<<"$row"
  [ -n "${checked[$module]:-}" ] && continue
  checked[$module]=1
  if ! ninja -C "$tree/build" -j "$jobs" "$(target_of "$module")" >"$work/build.log" 2>&1; then
    echo "mutation-check: the $module tests do not build without any fault; see $work/build.log" >&2
    exit 2
  fi
  if ! run_tests "$module"; then
    echo "mutation-check: the $module tests fail without any fault; fix that first" >&2
    exit 2
  fi
done

killed=0 survived=0 stale=0 broken=0
survivors=()
for row in "${selected[@]}"; do
  IFS=$'\t' read -r module path original replacement what <<<"$row"
  file="$tree/$path"
  backup="$work/backup.tmp"
  cp -p "$file" "$backup"
  printf '%s' "$path" >"$work/planted"
  if ! python3 - "$file" "$original" "$replacement" <<'PY'
import sys
path, old, new = sys.argv[1], sys.argv[2], sys.argv[3]
text = open(path, encoding="utf-8").read()
if text.count(old) != 1:
    sys.exit(1)
open(path, "w", encoding="utf-8").write(text.replace(old, new, 1))
PY
  then
    echo "stale     $module  $path: $what"
    stale=$((stale + 1))
    continue
  fi
  if ! ninja -C "$tree/build" -j "$jobs" "$(target_of "$module")" >/dev/null 2>&1; then
    echo "no-build  $module  $path: $what"
    broken=$((broken + 1))
  elif run_tests "$module"; then
    echo "SURVIVED  $module  $path: $what"
    survived=$((survived + 1))
    survivors+=("$module $path: $what")
  else
    echo "killed    $module  $path: $what"
    killed=$((killed + 1))
  fi
  # Restore the text with a fresh time stamp so the next build recompiles it.
  cat "$backup" >"$file"
  touch "$file"
  rm -f "$work/planted"
done
# Leave the scratch build matching the tree: every module's program is built
# again from the restored text. The next run lays the files anew with their
# checkout time stamps, older than any object built here from a fault.
for m in "${!checked[@]}"; do
  ninja -C "$tree/build" -j "$jobs" "$(target_of "$m")" >/dev/null 2>&1 || true
done

valid=$((killed + survived))
echo
echo "faults: ${#selected[@]}  killed: $killed  survived: $survived  stale: $stale  no-build: $broken"
if [ "$valid" -gt 0 ]; then
  awk -v k="$killed" -v n="$valid" 'BEGIN { printf "score: %d of %d caught (%.1f%%)\n", k, n, 100 * k / n }'
fi
for s in "${survivors[@]}"; do echo "  survives: $s"; done
