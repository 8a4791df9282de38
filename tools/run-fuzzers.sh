#!/usr/bin/env bash
# Runs every libFuzzer target (fuzz_*) of a build tree for FUZZ_SECONDS each
# (60 by default), starting from its seed folder with the input limit its
# NAME.fuzz file gives. Prints each target's runs and coverage edges beside
# the edges its seeds reach alone, and fails when a target crashes or ends
# below its seeds: a limit that cuts the seeds short shows up there.
set -euo pipefail
build="$1"
seconds="${FUZZ_SECONDS:-60}"

# The edges of the last status line libFuzzer wrote to a log.
final_edges() { grep -oE 'cov: [0-9]+' "$1" | tail -n 1 | grep -oE '[0-9]+' || echo 0; }
setting() { sed -n "s/^$1=//p" "$2"; }

found=0
failed=0
while IFS= read -r target; do
  found=1
  name="$(basename "$target")"
  options="$(dirname "$target")/$name.fuzz"
  [ -f "$options" ] || { echo "$name: no $name.fuzz beside it" >&2; exit 1; }
  seeds="$(setting seeds "$options")"
  max_len="$(setting max_len "$options")"
  [ -d "$seeds" ] && [ -n "$(ls -A "$seeds")" ] || { echo "$name: no seeds in $seeds" >&2; exit 1; }

  work="$build/corpus/$name"
  rm -rf "$work"
  mkdir -p "$work"
  # The seeds alone, whole: the coverage the run has to keep.
  "$target" -runs=0 "$seeds" >"$work.seeds.log" 2>&1 || { echo "$name: seeds fail, see $work.seeds.log" >&2; exit 1; }
  seed_edges="$(final_edges "$work.seeds.log")"

  status=0
  "$target" -max_total_time="$seconds" -max_len="$max_len" -print_final_stats=1 "$work" "$seeds" \
    >"$work.log" 2>&1 || status=$?
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$work.log")"
  edges="$(final_edges "$work.log")"
  echo "$name: ${runs:-?} runs in ${seconds}s, cov: $edges edges (seeds alone: $seed_edges), max_len $max_len"
  if [ "$status" != 0 ]; then
    grep -E 'ERROR|SUMMARY' "$work.log" >&2 || true
    echo "$name failed (exit $status), see $work.log" >&2
    failed=1
  elif [ "$edges" -lt "$seed_edges" ]; then
    echo "$name ended below its seeds' coverage, see $work.log" >&2
    failed=1
  fi
done < <(find "$build" -type f -perm -u+x -name 'fuzz_*' | sort)
[ $found = 1 ] || { echo "no fuzz targets in $build" >&2; exit 1; }
exit $failed
