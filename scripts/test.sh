#!/usr/bin/env bash
# Builds everything and runs every test under Wine in a virtual display, with a throw-away Wine prefix.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
# The installer test needs the setup program, and a test-signed copy of it (package.sh builds everything first).
"$HC_ROOT/scripts/package.sh"
"$HC_ROOT/scripts/package-test-signed.sh" >/dev/null
hc_wine_environment
trap hc_wine_cleanup EXIT
cd "$HC_ROOT"
xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash -c 'source scripts/common.sh && hc_wine_prefix && ctest --preset mingw "$@"' ctest "$@"
