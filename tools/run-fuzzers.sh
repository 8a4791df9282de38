#!/usr/bin/env bash
# Runs every libFuzzer target (fuzz_*) of a build tree for FUZZ_SECONDS each
# (60 by default) and prints the executions each one ran.
set -euo pipefail
build="$1"
seconds="${FUZZ_SECONDS:-60}"
found=0
while IFS= read -r target; do
  found=1
  name="$(basename "$target")"
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  echo "== $name (${seconds}s)"
  log="$build/corpus/$name.log"
  status=0
  "$target" -max_total_time="$seconds" -print_final_stats=1 "$corpus" >"$log" 2>&1 || status=$?
  grep -E 'stat::number_of_executed_units|ERROR|SUMMARY' "$log" || true
  [ "$status" = 0 ] || { echo "$name failed (exit $status), see $log" >&2; exit 1; }
done < <(find "$build" -type f -perm -u+x -name 'fuzz_*' | sort)
[ $found = 1 ] || { echo "no fuzz targets in $build" >&2; exit 1; }
