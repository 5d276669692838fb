#!/usr/bin/env bash
# Runs fuzz targets for a bounded time each and reports what they found.
#
#   run-fuzzers.sh BUILD SECONDS [-j N] [TARGET...]
#
# BUILD is a WS_FUZZ build folder; TARGETs are names without "fuzz_" (obj,
# cluster, ...), all targets when none is given; -j N runs N targets at once
# (one libFuzzer process each). Each target is seeded from
#   fuzz/seeds/<target>         our own inputs in the harness's input form,
#   fuzz/regressions/<target>   inputs of past findings,
#   ../shared/samples/<format>  the public sample files of its format, when
#                               that folder exists (obj, raw, nff, dxf, 3ds,
#                               cob, wrl for vrml, x for the three X targets,
#                               3dmf for both 3DMF targets);
# new inputs go to BUILD/corpus/<target>, findings (crash-*, leak-*,
# timeout-*, oom-*) to BUILD/findings/<target>/ and the log to
# BUILD/fuzz_<target>.log; a finding stays there, and is reported again by
# later runs, until it is moved away (into fuzz/regressions/<target> once
# fixed). At the end one line per target gives its
# executions, coverage (cov:), corpus size (corp:) and findings; the exit status is
# non-zero when any target found something or did not run.
set -uo pipefail
usage() { echo "usage: $0 BUILD SECONDS [-j N] [TARGET...]" >&2; exit 2; }
[ $# -ge 2 ] || usage
build=$(cd "$1" && pwd) || usage
seconds=$2
shift 2
jobs=1
targets=()
while [ $# -gt 0 ]; do
  case $1 in
    -j|--jobs) jobs=${2:?}; shift 2 ;;
    -j*) jobs=${1#-j}; shift ;;
    *) targets+=("${1#fuzz_}"); shift ;;
  esac
done
root=$(cd "$(dirname "$0")/.." && pwd)
samples=$(cd "$root/../shared/samples" 2>/dev/null && pwd) || samples=""
if [ ${#targets[@]} -eq 0 ]; then
  for exe in "$build"/fuzz/fuzz_*; do
    [ -f "$exe" ] && [ -x "$exe" ] && targets+=("$(basename "${exe#"$build"/fuzz/fuzz_}")")
  done
fi

sample_folder() {
  case $1 in
    obj|raw|nff|dxf|3ds|cob) echo "$1" ;;
    vrml) echo wrl ;;
    x|xfile_text|xfile_binary) echo x ;;
    3dmf_bin|3dmf_text) echo 3dmf ;;
  esac
}

# Inputs bigger than a target needs only slow it down; the scene walk reads
# a program of nodes whose useful size is a few KB, the cluster target's
# inputs are resources without the fixed header.
max_len() {
  case $1 in
    scene_walk) echo 16384 ;;
    cluster) echo 65536 ;;
    *) echo 1048576 ;;
  esac
}

run_one() {
  local t=$1 exe="$build/fuzz/fuzz_$1"
  local corpus="$build/corpus/$t" found="$build/findings/$t" log="$build/fuzz_$t.log"
  mkdir -p "$corpus" "$found"
  local dirs=("$corpus")
  local d
  for d in "$root/fuzz/seeds/$t" "$root/fuzz/regressions/$t"; do
    [ -d "$d" ] && dirs+=("$d")
  done
  local s
  s=$(sample_folder "$t")
  [ -n "$s" ] && [ -n "$samples" ] && [ -d "$samples/$s" ] && dirs+=("$samples/$s")
  echo "== $t (${seconds}s) seeds: ${dirs[*]:1}"
  "$exe" -max_total_time="$seconds" -max_len="$(max_len "$t")" -rss_limit_mb=4096 \
    -print_final_stats=1 -artifact_prefix="$found/" "${dirs[@]}" >"$log" 2>&1
  echo $? >"$build/fuzz_$t.status"
}

# Undefined behaviour stops the run (the build makes it fatal too), with
# the stack that reached it in the log.
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

status=0
for t in "${targets[@]}"; do
  if [ ! -x "$build/fuzz/fuzz_$t" ]; then
    echo "no fuzz target $t in $build/fuzz" >&2
    status=1
    continue
  fi
  rm -f "$build/fuzz_$t.status"
  run_one "$t" &
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
done
wait

# corpus: the inputs libFuzzer held at the end (seeds and new ones alike).
printf '%-14s %12s %8s %8s  %s\n' target executions cov corpus findings
for t in "${targets[@]}"; do
  [ -x "$build/fuzz/fuzz_$t" ] || continue
  log="$build/fuzz_$t.log"
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$')
  cov=$(grep -o ' cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$')
  corp=$(grep -o ' corp: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*$')
  findings=$(find "$build/findings/$t" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
    -o -name 'oom-*' \) | sort)
  rc=$(cat "$build/fuzz_$t.status" 2>/dev/null || echo missing)
  if [ -n "$findings" ] || [ "$rc" != 0 ]; then
    status=1
    printf '%-14s %12s %8s %8s  %s\n' "$t" "${runs:-?}" "${cov:-?}" "${corp:-?}" \
      "FOUND (exit $rc, log $log): ${findings//$'\n'/ }"
  else
    printf '%-14s %12s %8s %8s  %s\n' "$t" "${runs:-?}" "${cov:-?}" "${corp:-?}" none
  fi
done
exit $status
