#!/usr/bin/env bash
# Builds everything and runs the benchmark programs under Wine in a virtual display; they print their figures.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$HC_ROOT/scripts/build.sh" >/dev/null
hc_wine_environment
trap hc_wine_cleanup EXIT
cd "$HC_ROOT/build/bin"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    source "'"$HC_ROOT"'/scripts/common.sh" && hc_wine_prefix
    for bench in bench_*.exe; do echo "== ${bench%.exe}"; wine "$bench"; echo; done'
