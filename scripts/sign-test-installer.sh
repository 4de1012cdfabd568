#!/usr/bin/env bash
# Makes the signed test installer: a throw-away root and publisher certificate, a copy of the given program
# signed with them, a copy with one byte changed after signing, and the root certificate for the test to trust.
# Usage: sign-test-installer.sh <program.exe> <output folder>
set -euo pipefail
program="$1"
out="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
cat > "$work/ca.cnf" <<'CNF'
[req]
distinguished_name = dn
prompt = no
[dn]
CN = Hushcloak Test Root
[root]
basicConstraints = critical, CA:true
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
[publisher]
basicConstraints = critical, CA:false
keyUsage = critical, digitalSignature
extendedKeyUsage = codeSigning
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
CNF
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/root.key" -out "$work/root.pem" -days 3650 \
    -config "$work/ca.cnf" -extensions root 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout "$work/publisher.key" -out "$work/publisher.csr" \
    -subj "/CN=Hushcloak Test Publisher" 2>/dev/null
openssl x509 -req -in "$work/publisher.csr" -CA "$work/root.pem" -CAkey "$work/root.key" -CAcreateserial \
    -out "$work/publisher.pem" -days 3650 -extfile "$work/ca.cnf" -extensions publisher 2>/dev/null
cat "$work/publisher.pem" "$work/root.pem" > "$work/chain.pem"
openssl x509 -in "$work/root.pem" -outform DER -out "$out/test-root.der"
rm -f "$out/hcsigned_setup.exe"
osslsigncode sign -certs "$work/chain.pem" -key "$work/publisher.key" -h sha256 -in "$program" \
    -out "$out/hcsigned_setup.exe" >/dev/null
cp "$out/hcsigned_setup.exe" "$out/hctampered_setup.exe"
# One byte of the code changed after signing: the digest no longer matches.
printf 'X' | dd of="$out/hctampered_setup.exe" bs=1 seek=5000 conv=notrunc 2>/dev/null
