#!/usr/bin/env bash
# Builds everything and runs every test under Wine in a virtual display, with a throw-away Wine prefix.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$HC_ROOT/scripts/build.sh"
hc_wine_environment
trap hc_wine_cleanup EXIT
cd "$HC_ROOT"
xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash -c 'source scripts/common.sh && hc_wine_prefix && ctest --preset mingw "$@"' ctest "$@"
