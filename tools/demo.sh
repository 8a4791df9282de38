#!/usr/bin/env bash
# The main job: the sample screen saver's installer installed under Wine,
# quietly and by clicking, then uninstalled (tools/demo/run-demo.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
exec tools/demo/run-demo.sh
