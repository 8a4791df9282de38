#!/usr/bin/env bash
# Runs every benchmark program (bench_*) of a build tree.
set -euo pipefail
build="$1"
found=0
while IFS= read -r program; do
  found=1
  echo "== $(basename "$program")"
  "$program"
done < <(find "$build" -type f -perm -u+x -name 'bench_*' | sort)
[ $found = 1 ] || { echo "no benchmark programs in $build" >&2; exit 1; }
