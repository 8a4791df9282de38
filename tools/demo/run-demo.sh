#!/usr/bin/env bash
# The main job, end to end: the sample screen saver's installer (built and
# packed by the build) is installed under Wine in a fresh prefix, quietly and
# then by clicking, shown running, and uninstalled. Prints what was placed
# where, and ends with 0 only when every step checked out.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build/win32
demo=$root/build/demo
setup_exe=$build/examples/sample/Setup.exe
walkthrough=$build/tools/demo/installer_walkthrough.exe
screenshot=$build/tests/driver/driver_screenshot.exe
# The sample's names: its display name, and the coded short name that names
# its program and its folder.
saver_name="Aurora Sampler"
coded_name="Auro0389"

failures=0
check() {
  local what=$1; shift
  if "$@"; then printf '  ok    %s\n' "$what"; else printf '  FAIL  %s\n' "$what"; failures=$((failures + 1)); fi
}
seconds_since() { awk -v from="$1" -v to="$(date +%s.%N)" 'BEGIN { printf "%.1f", to - from }'; }

for needed in "$setup_exe" "$walkthrough" "$screenshot"; do
  [ -f "$needed" ] || { echo "make demo: missing $needed (build the win32 tree first)" >&2; exit 1; }
done

started=$(date +%s.%N)
rm -rf "$demo"
mkdir -p "$demo"
export WINEPREFIX=$demo/prefix WINEDEBUG=-all
echo "== A fresh Wine prefix in build/demo/prefix"
"$root/tools/setup/make-wineprefix.sh" "$WINEPREFIX" || exit 1
wineserver -p
drive=$WINEPREFIX/drive_c
saver_folder=$drive/ProgramData/Lumavane/$coded_name
program_32=$drive/windows/syswow64/$coded_name.scr
program_64=$drive/windows/system32/$coded_name.scr
uninstall_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$saver_name"

# The files of the prefix (outside the user profiles, where Wine keeps its
# own changing files and the installer its work folders), the uninstall entry
# and the active saver.
prefix_state() {
  (cd "$drive" && find . -path ./users -prune -o -type f -print | sort)
  wine reg query "$uninstall_key" /reg:32 2>/dev/null | tr -d '\r'
  grep -i '^SCRNSAVE.EXE' "$drive/windows/system.ini" | tr -d '\r'
}
registry_value() {  # key value [view]
  wine reg query "$1" /v "$2" ${3:+/reg:$3} 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
saver_gone() {
  [ ! -e "$saver_folder" ] && [ ! -e "$program_32" ] && [ ! -e "$program_64" ] &&
    [ -z "$(registry_value "$uninstall_key" DisplayName 32)" ]
}
# Runs the uninstall entry's command quietly, then restarts Windows: the
# program that uninstalls itself can only be deleted at the next start.
uninstall() {
  local command status
  command=$(registry_value "$uninstall_key" UninstallString 32)
  [ -n "$command" ] || return 1
  # The entry is a command line: a quoted program and its switches.
  eval "wine $command /q"
  status=$?
  wineboot -r >/dev/null 2>&1
  return $status
}

prefix_state > "$demo/before.txt"

echo
echo "== Quiet installation: Setup.exe /q"
install_started=$(date +%s.%N)
wine "$setup_exe" /q
status=$?
install_seconds=$(seconds_since "$install_started")
check "the installer ended with exit code 0 (it took ${install_seconds} s)" [ "$status" = 0 ]
check "the saver folder holds saver.dat" [ -f "$saver_folder/saver.dat" ]
check "the screen saver program is in the system folder" [ -f "$program_32" ]

echo
echo "== What was placed where"
echo "saver folder C:\\ProgramData\\Lumavane\\$coded_name\\"
(cd "$saver_folder" 2>/dev/null && find . -type f -printf '  %10s bytes  %P\n' | sort -k3)
echo "system folders"
for program in "$program_32" "$program_64"; do
  [ -f "$program" ] && printf '  %10s bytes  %s\n' "$(stat -c %s "$program")" "${program#"$drive"/}"
done
echo "shared folder"
find "$drive/ProgramData/Lumavane" -maxdepth 1 -type f -printf '  %10s bytes  %P\n'
echo "uninstall entry ($uninstall_key)"
wine reg query "$uninstall_key" /reg:32 2>/dev/null | tr -d '\r' | grep REG_ | sed 's/^ */  /'
active_ini=$(grep -i '^SCRNSAVE.EXE' "$drive/windows/system.ini" | tr -d '\r')
active_user=$(registry_value 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)
echo "active screen saver"
echo "  system.ini [boot] $active_ini"
echo "  HKCU\\Control Panel\\Desktop SCRNSAVE.EXE = $active_user"
check "the new screen saver is the active one" grep -qi "$coded_name.scr" <<<"$active_ini$active_user"

echo
echo "== The screen saver running full screen (/s), for three seconds"
wine "$program_32" /s &
saver_pid=$!
sleep 3
wine "$screenshot" "$demo/saver-running.png" >/dev/null
check "a screenshot of the running saver" [ -s "$demo/saver-running.png" ]
check "the saver was still running" kill -0 "$saver_pid"
kill "$saver_pid" 2>/dev/null
wait "$saver_pid" 2>/dev/null

echo
echo "== Uninstall: the entry's command with /q"
uninstall
check "the uninstall ended with exit code 0" [ $? = 0 ]
check "after a restart: the saver folder, its programs and its uninstall entry are gone" saver_gone

echo
echo "== Interactive installation, clicked through (pictures in build/demo)"
wine "$walkthrough" "$setup_exe" "$demo"
check "every phase of the installer window was reached" [ $? = 0 ]
check "installed again" [ -f "$saver_folder/saver.dat" ]
uninstall
check "uninstalled again" saver_gone

wineserver -k
prefix_state > "$demo/after.txt"
echo
echo "== Nothing left"
if diff -u "$demo/before.txt" "$demo/after.txt" > "$demo/left-over.diff"; then
  check "the prefix is as it was before the first installation" true
else
  sed 's/^/  /' "$demo/left-over.diff"
  check "the prefix is as it was before the first installation" false
fi

echo
echo "make demo: $(seconds_since "$started") s in all, $failures failed checks; pictures in build/demo/"
[ "$failures" = 0 ]
