#!/usr/bin/env bash
# Runs every fuzz target for a bounded time, seeded from ../shared/samples
# and from the small hand-made files under tests/data.
set -euo pipefail
build=$1
seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  seeds="$root/fuzz/seeds/${name#fuzz_}"
  seed_dirs=()
  [ -d "$seeds" ] && seed_dirs+=("$seeds")
  echo "== $name (${seconds}s)"
  if ! "$target" -max_total_time="$seconds" -max_len=1048576 -rss_limit_mb=4096 \
      "$corpus" "${seed_dirs[@]}" >"$build/$name.log" 2>&1; then
    echo "   FAILED: see $build/$name.log"
    tail -30 "$build/$name.log"
    status=1
  else
    tail -1 "$build/$name.log"
  fi
done
exit $status
