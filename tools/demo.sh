#!/usr/bin/env bash
# The main job: build a sample screen-saver installer with saverpack and
# install it under Wine. Until the sample saver and its demo script exist,
# this says what it will do once they do.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -x tools/demo/run-demo.sh ]; then
  cat <<'MSG'
make demo: everything is built, the installer program saversetup included.
Once the sample screen saver exists, this will pack it into Setup.exe with
saverpack, install it under Wine in build/demo/ and show the installed files,
the uninstall entry and the active screen saver.
MSG
  exit 0
fi
exec tools/demo/run-demo.sh
