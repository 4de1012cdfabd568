#!/usr/bin/env bash
# Runs one built test program (build/bin/NAME.exe) under Wine in a virtual display and a throw-away prefix of its
# own, passing on the rest of the arguments, for example: scripts/check.sh e2e_tests --gtest_filter='PanicTest.*'
# It builds nothing; scripts/test.sh is the whole suite.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
[ $# -ge 1 ] || { echo "usage: scripts/check.sh TEST_PROGRAM [gtest arguments]" >&2; exit 2; }
program="$HC_ROOT/build/bin/$1.exe"
shift
[ -f "$program" ] || { echo "No $program: run scripts/build.sh first." >&2; exit 2; }
hc_wine_environment
trap hc_wine_cleanup EXIT
cd "$HC_ROOT/build/bin"
xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash -c 'source "$0/scripts/common.sh" && hc_wine_prefix && wine "$@"' "$HC_ROOT" "$program" "$@"
