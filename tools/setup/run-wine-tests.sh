#!/bin/sh
# Runs the Windows tests of a build tree through ctest (arguments go to ctest).
# The wineserver and Wine's own services are started first, with their output
# sent nowhere: started by a test, they would inherit its output pipes and keep
# ctest waiting for them. Kept running, they also save their start-up in
# every test.
#
# Wine closes a desktop about a second after the last process on it has
# ended, and its explorer quits; each test is a process of its own, so a test
# starting in that second would race the teardown. The desktop holder keeps
# the desktop in use from before the first test to after the last, and its
# "ready" shows that windows can be made at all.
build="$1"; shift
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
"$(dirname "$0")/make-wineprefix.sh" "$WINEPREFIX" || exit 1
holder="$build/tests/driver/desktop_holder.exe"
[ -f "$holder" ] || { echo "missing $holder: build the win32 tree first" >&2; exit 1; }
wineserver -p

# Started first, the holder is never itself a newcomer to a closing desktop.
ready="$build/desktop-holder.out"
wine "$holder" </dev/null >"$ready" 2>&1 &
holder_pid=$!
deadline=$(( $(date +%s) + 300 ))  # as long as one test may take
until grep -q '^ready' "$ready" 2>/dev/null; do
  if ! kill -0 "$holder_pid" 2>/dev/null || [ "$(date +%s)" -ge "$deadline" ]; then
    echo "Wine could not make a window on the desktop:" >&2
    cat "$ready" >&2
    kill "$holder_pid" 2>/dev/null
    wineserver -k
    exit 1
  fi
  sleep 0.1
done
wine cmd /c exit </dev/null >/dev/null 2>&1

ctest --test-dir "$build" "$@"
status=$?
kill "$holder_pid" 2>/dev/null
wineserver -k
exit $status
