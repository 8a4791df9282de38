#!/bin/sh
# Creates a Wine prefix once (WINEARCH from the environment, 64-bit by default).
# Concurrent callers wait for the first one.
prefix="$1"
[ -f "$prefix/.saver-ready" ] && exit 0
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.saver-ready" ] && exit 0
echo "Creating Wine prefix $prefix" >&2
# No Mono or Gecko prompts: the tests need neither.
WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
# Unmanaged windows: without a window manager on Xvfb, managed ones take
# seconds to close.
WINEPREFIX="$prefix" WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
WINEPREFIX="$prefix" wineserver -w
[ -f "$prefix/system.reg" ] || { echo "wineboot failed for $prefix" >&2; exit 1; }
touch "$prefix/.saver-ready"
