#!/usr/bin/env bash
# Builds HC.exe and runs it under Wine on the current X display until it ends. Without a display it runs a
# scripted demonstration instead, in a virtual display, and saves its screenshots under build/demo/.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$HC_ROOT/scripts/build.sh"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="

if [ -n "${DISPLAY:-}" ]; then
    cd "$HC_ROOT/build/bin"
    exec wine HC.exe
fi

echo "No display: running the scripted demonstration in a virtual one."
demo="$HC_ROOT/build/demo"
rm -rf "$demo" && mkdir -p "$demo"
hc_wine_environment
trap hc_wine_cleanup EXIT
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    source "'"$HC_ROOT"'/scripts/common.sh" && hc_wine_prefix
    cd "'"$HC_ROOT"'/build/bin" && wine hcdemo.exe "$(winepath -w "'"$demo"'")"' || status=$?
for shot in "$demo"/*.bmp; do
    [ -e "$shot" ] || continue
    convert "$shot" "${shot%.bmp}.png" && rm -f "$shot"
done
echo "Screenshots: $(ls "$demo" | tr '\n' ' ')(in $demo)"
exit $status
