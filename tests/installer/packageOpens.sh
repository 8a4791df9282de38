#!/bin/sh
# A whole quiet install through the launcher opens the package (temp.dat) for
# reading exactly once: every later step reads through that one handle.
# Wine's file trace lists each open with its access mask.
# Usage: packageOpens.sh <wine-run> <Setup.exe>
wine_run="$1" setup="$2"
trace=$(mktemp)
WINEDEBUG=trace+file "$wine_run" "$setup" /q 2>"$trace" >/dev/null
status=$?
# Reads: FILE_READ_DATA (1) or GENERIC_READ (0x80000000) in the mask.
reads=0
for access in $(grep 'trace:file:NtCreateFile' "$trace" | grep -i 'temp\.dat"' |
  sed -n 's/.* access=\([0-9a-fA-F]*\) .*/\1/p'); do
  if [ $((0x$access & 0x80000001)) -ne 0 ]; then reads=$((reads + 1)); fi
done
echo "install status $status, temp.dat opened for reading $reads time(s)"
grep 'trace:file:NtCreateFile' "$trace" | grep -i 'temp\.dat"' | sed 's/.*\(access=[0-9a-f]*\).*\(sharing=[0-9a-f]*\).*/  \1 \2/'
rm -f "$trace"
# The sample goes again, and the restart deletes the uninstaller it moved
# aside, so that the prefix stays as the other tests expect it.
"$wine_run" 'C:\ProgramData\Lumavane\Auro0389\saverremove.exe' /q /n=Auro0389 >/dev/null 2>&1
"$wine_run" wineboot.exe -r >/dev/null 2>&1
[ "$status" -eq 0 ] && [ "$reads" -eq 1 ]
