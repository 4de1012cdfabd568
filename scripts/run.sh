#!/usr/bin/env bash
# Builds HC.exe and runs it under Wine on the current X display (a virtual one when there is none).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$HC_ROOT/scripts/build.sh"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
cd "$HC_ROOT/build/bin"
if [ -n "${DISPLAY:-}" ]; then
    exec wine HC.exe
fi
echo "No display: starting a virtual one."
exec xvfb-run -a -s "-screen 0 1280x1024x24" wine HC.exe
