#!/usr/bin/env bash
# Signs one Windows program in place with the certificate in HC_SIGN_PFX (password in HC_SIGN_PASSWORD).
# package.sh calls it for HC.exe, and makensis for the uninstaller and the setup program.
set -euo pipefail
file="$1"
# The password goes through a pipe, not the command line, where other users could read it.
osslsigncode sign -pkcs12 "$HC_SIGN_PFX" -readpass <(printf '%s' "$HC_SIGN_PASSWORD") -h sha256 \
    -n "Hushcloak Privacy" -in "$file" -out "$file.signed" >/dev/null
mv -f "$file.signed" "$file"
