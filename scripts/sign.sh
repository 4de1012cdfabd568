#!/usr/bin/env bash
# Signs one Windows program in place with the certificate in HC_SIGN_PFX (password in HC_SIGN_PASSWORD), and
# timestamps it at HC_SIGN_TIMESTAMP_URL (an RFC 3161 server) so the signature still verifies after the
# certificate expires. package.sh calls it for HC.exe, and makensis for the uninstaller and the setup program.
set -euo pipefail
file="$1"
timestamp=()
if [ -n "${HC_SIGN_TIMESTAMP_URL:-}" ]; then
    timestamp=(-ts "$HC_SIGN_TIMESTAMP_URL")
else
    echo "Warning: HC_SIGN_TIMESTAMP_URL is not set: $file is signed without a timestamp and stops verifying" \
        "when the certificate expires" >&2
fi
# The password goes through a pipe, not the command line, where other users could read it.
osslsigncode sign -pkcs12 "$HC_SIGN_PFX" -readpass <(printf '%s' "$HC_SIGN_PASSWORD") -h sha256 \
    -n "Hushcloak Privacy" "${timestamp[@]}" -in "$file" -out "$file.signed" >/dev/null
mv -f "$file.signed" "$file"
