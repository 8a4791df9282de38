#!/bin/sh
# checkStaticRuntime.sh BUILD-TREE: fails when a Windows program or DLL built
# there imports a MinGW runtime DLL or a library DLL that a bare Windows does
# not have. Wine prefixes, cross-built dependencies and CMake's probes are
# not ours and are skipped.
set -u
build="$1"
objdump="${OBJDUMP:-i686-w64-mingw32-objdump}"
foreign='lib(gcc|stdc\+\+|winpthread)[^ ]*\.dll|zlib1\.dll|libz[^ ]*\.dll|libjpeg[^ ]*\.dll'

binaries=$(find "$build" -type d \( -name 'wineprefix*' -o -name CMakeFiles -o -name deps \) -prune \
  -o -type f \( -iname '*.exe' -o -iname '*.dll' \) -print)
[ -n "$binaries" ] || { echo "no Windows binaries below $build"; exit 1; }

checked=0 failed=0
while IFS= read -r binary; do
  if ! headers=$("$objdump" -p "$binary" 2>/dev/null); then
    echo "not readable as a PE file: $binary"
    failed=$((failed + 1))
  elif bad=$(printf '%s\n' "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | grep -iE "^($foreign)$"); then
    echo "$binary imports:" $bad
    failed=$((failed + 1))
  fi
  checked=$((checked + 1))
done <<EOF_LIST
$binaries
EOF_LIST

echo "$checked binaries checked, $failed with runtime DLL imports"
[ "$failed" -eq 0 ]
