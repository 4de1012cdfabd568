#!/usr/bin/env bash
# Builds a second package into build/test-signing/, signed with the throw-away test publisher that the build
# made (build/bin/signing, the publisher a test build pins), so the tests can prove that a signed package
# verifies. Its root certificate is build/test-signing/root.cer.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$HC_ROOT/scripts/build.sh" >/dev/null
certificates="$HC_ROOT/build/bin/signing"
out="$HC_ROOT/build/test-signing"
rm -rf "$out" && mkdir -p "$out"
password="$(openssl rand -hex 16)"
openssl pkcs12 -export -inkey "$certificates/ours-publisher.key" -in "$certificates/ours-publisher.pem" \
    -certfile "$certificates/ours-root.pem" -passout "pass:$password" -out "$out/test.pfx"
cp "$certificates/ours-root.der" "$out/root.cer"
HC_SIGN_PFX="$out/test.pfx" HC_SIGN_PASSWORD="$password" HC_DIST="$out/dist" HC_PACKAGE_WORK="$out/work" \
    "$HC_ROOT/scripts/package.sh"
