#!/bin/sh
# checkSizeBudgets.sh FILE BUDGET [FILE BUDGET ...]: fails when a file is
# larger than its budget in bytes, or missing.
set -u
failed=0
while [ $# -ge 2 ]; do
  file="$1" budget="$2"
  shift 2
  if ! size=$(stat -c %s "$file" 2>/dev/null); then
    echo "missing: $file"
    failed=1
  elif [ "$size" -gt "$budget" ]; then
    echo "$(basename "$file"): $size bytes, over its budget of $budget"
    failed=1
  else
    echo "$(basename "$file"): $size bytes, budget $budget"
  fi
done
[ $# -eq 0 ] || { echo "usage: checkSizeBudgets.sh FILE BUDGET [FILE BUDGET ...]"; exit 2; }
exit "$failed"
