#!/usr/bin/env bash
# The main job: build a sample screen-saver installer with saverpack and
# install it under Wine. Until the installer program exists, this says what
# it will do once it does.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -x build/win32/installer/saversetup.exe ]; then
  cat <<'MSG'
make demo: everything is built. Once the installer program saversetup exists,
this will pack the sample saver in tools/demo/ into Setup.exe with saverpack,
run it quietly under Wine in build/demo/wineprefix and show the installed
files, the uninstall entry and the active screen saver.
MSG
  exit 0
fi
exec tools/demo/run-demo.sh
