#!/bin/sh
# dcltool: round trips in both modes and of an empty file, and a cut stream
# refused without output.
set -e
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -c 200000 "$tool" > "$work/in"
for flags in "" "--ascii --dict 1024" "--dict 2048"; do
  "$tool" implode $flags "$work/in" "$work/imp"
  "$tool" explode "$work/imp" "$work/out"
  cmp "$work/in" "$work/out"
done
: > "$work/empty"
"$tool" implode "$work/empty" "$work/imp-empty"
"$tool" explode "$work/imp-empty" "$work/out-empty"
cmp "$work/empty" "$work/out-empty"
head -c 100 "$work/imp" > "$work/cut"
if "$tool" explode "$work/cut" "$work/bad" 2>/dev/null; then exit 1; fi
test ! -e "$work/bad"
if "$tool" implode --dict 512 "$work/in" "$work/bad" 2>/dev/null; then exit 1; fi
test ! -e "$work/bad"
