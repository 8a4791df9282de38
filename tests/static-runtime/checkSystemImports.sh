#!/bin/sh
# checkSystemImports.sh PROGRAM...: fails when a program imports a library
# that is not one of Windows' known system libraries. Those are always mapped
# from the system folder; any other name is looked for beside the program
# first, where a library planted by another user would be loaded.
# COMCTL32 comes through the programs' manifests, from the side-by-side store.
set -u
objdump="${OBJDUMP:-i686-w64-mingw32-objdump}"
allowed='kernel32|user32|gdi32|advapi32|shell32|shlwapi|ole32|oleaut32|msvcrt|comdlg32|comctl32'

failed=0
for program in "$@"; do
  if ! headers=$("$objdump" -p "$program" 2>/dev/null); then
    echo "not readable as a PE file: $program"
    failed=$((failed + 1))
    continue
  fi
  libraries=$(printf '%s\n' "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p')
  [ -n "$libraries" ] || { echo "no imports read from $program"; failed=$((failed + 1)); continue; }
  if other=$(printf '%s\n' "$libraries" | grep -viE "^($allowed)\.dll$"); then
    echo "$program imports:" $other
    failed=$((failed + 1))
  fi
done
echo "$# programs checked, $failed importing other libraries"
[ "$#" -gt 0 ] && [ "$failed" -eq 0 ]
