#!/usr/bin/env bash
# Builds HC.exe, the tests and the benchmarks into build/ (installs the tools first when missing).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
hc_install_packages
cd "$HC_ROOT"
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "$(nproc)"
echo "Built: $HC_ROOT/build/bin/HC.exe"
