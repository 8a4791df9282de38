#!/bin/sh
# Runs the OS probe in a 32-bit Wine prefix under each Windows version that
# Wine can report, and compares code and family flags with the table.
# Usage: osCodes.sh <probe.exe> <prefix folder> <setup scripts folder>
probe="$1"
export WINEPREFIX="$2" WINEARCH=win32 WINEDEBUG=-all
"$3/make-wineprefix.sh" "$WINEPREFIX" || exit 1

failures=0
while read -r version expected; do
  wine winecfg -v "$version" >/dev/null 2>&1
  actual=$(wine "$probe" 2>/dev/null | tr -d '\r')
  if [ "$actual" = "$expected" ]; then
    echo "ok   $version: $actual"
  else
    echo "FAIL $version: got '$actual', expected '$expected'"
    failures=$((failures + 1))
  fi
done <<'TABLE'
win95 0 100000
win98 2 010000
winme 3 001000
nt40 4 000100
win2k 5 000010
winxp 6 000001
win2003 -1 000000
win7 -1 000000
win10 -1 000000
TABLE
wineserver -k
exit $((failures != 0))
