#!/usr/bin/env bash
# Builds a second package into build/test-signing/, signed with a throw-away certificate made here, so the tests
# can prove that a signed package verifies. Its root certificate is build/test-signing/root.cer.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
out="$HC_ROOT/build/test-signing"
rm -rf "$out" && mkdir -p "$out"
password="$(openssl rand -hex 16)"
openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 2 -subj "/CN=Hushcloak Privacy Test Signing" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,digitalSignature,keyCertSign" \
    -addext "extendedKeyUsage=codeSigning" -keyout "$out/key.pem" -out "$out/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$out/key.pem" -in "$out/cert.pem" -passout "pass:$password" -out "$out/test.pfx"
openssl x509 -in "$out/cert.pem" -outform DER -out "$out/root.cer"
rm -f "$out/key.pem"
HC_SIGN_PFX="$out/test.pfx" HC_SIGN_PASSWORD="$password" HC_DIST="$out/dist" HC_PACKAGE_WORK="$out/work" \
    "$HC_ROOT/scripts/package.sh"
