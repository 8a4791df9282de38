#!/bin/sh
# Runs the Windows tests of a build tree through ctest (arguments go to ctest).
# The wineserver and Wine's own services are started first, with their output
# sent nowhere: started by a test, they would inherit its output pipes and keep
# ctest waiting for them. Kept running, they also save their start-up in
# every test.
build="$1"; shift
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
"$(dirname "$0")/make-wineprefix.sh" "$WINEPREFIX" || exit 1
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1
ctest --test-dir "$build" "$@"
status=$?
wineserver -k
exit $status
