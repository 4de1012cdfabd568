#!/usr/bin/env bash
# Throw-away signing for the tests. Three publishers, each under its own root: "ours" (the build pins its public
# key, see CMakeLists.txt), a stranger, whose installer must be refused even where its root is trusted, and one
# that its root has revoked. Each root's revocation list lies beside it, named in the publisher's certificate by
# a file address Wine can read, since the program refuses a signer whose revocation status is unknown.
#   sign-test-installer.sh certificates <folder>          makes the keys and certificates once (configure time)
#   sign-test-installer.sh sign <program.exe> <folder>    signed copies of the program, one with a byte changed
set -euo pipefail
mode="$1"

make_publisher() {  # <folder> <name> [revoked]: <name>-root.pem/.der/.key, <name>-publisher.pem/.key
    local dir="$1" name="$2" revoked="${3:-}"
    [ -f "$dir/$name-publisher.pem" ] && return 0
    cat > "$dir/ca.cnf" <<'CNF'
[req]
distinguished_name = dn
prompt = no
[dn]
CN = Hushcloak Test Root
[root]
basicConstraints = critical, CA:true
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
[revocable]
basicConstraints = critical, CA:false
keyUsage = critical, digitalSignature
extendedKeyUsage = codeSigning
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
crlDistributionPoints = URI:file:///Z:$dir/$name-root.crl
[ca]
default_ca = own
[own]
database = $dir/$name-index.txt
crlnumber = $dir/$name-crlnumber
default_md = sha256
default_crl_days = 3650
CNF
    sed -i "s|\$dir|$dir|g; s|\$name|$name|g" "$dir/ca.cnf"
    openssl req -x509 -newkey rsa:2048 -nodes -keyout "$dir/$name-root.key" -out "$dir/$name-root.pem" -days 3650 \
        -subj "/CN=Hushcloak Test Root ($name)" -config "$dir/ca.cnf" -extensions root 2>/dev/null
    openssl req -newkey rsa:2048 -nodes -keyout "$dir/$name-publisher.key" -out "$dir/$name-publisher.csr" \
        -subj "/CN=Hushcloak Test Publisher ($name)" 2>/dev/null
    openssl x509 -req -in "$dir/$name-publisher.csr" -CA "$dir/$name-root.pem" -CAkey "$dir/$name-root.key" \
        -CAcreateserial -out "$dir/$name-publisher.pem" -days 3650 -extfile "$dir/ca.cnf" -extensions revocable \
        2>/dev/null
    openssl x509 -in "$dir/$name-root.pem" -outform DER -out "$dir/$name-root.der"
    : > "$dir/$name-index.txt"
    echo 01 > "$dir/$name-crlnumber"
    if [ -n "$revoked" ]; then
        openssl ca -config "$dir/ca.cnf" -keyfile "$dir/$name-root.key" -cert "$dir/$name-root.pem" \
            -revoke "$dir/$name-publisher.pem" 2>/dev/null
    fi
    openssl ca -config "$dir/ca.cnf" -keyfile "$dir/$name-root.key" -cert "$dir/$name-root.pem" -gencrl \
        -out "$dir/$name-root.crl.pem" 2>/dev/null
    openssl crl -in "$dir/$name-root.crl.pem" -outform DER -out "$dir/$name-root.crl"
    rm -f "$dir/ca.cnf" "$dir/$name-publisher.csr"
}

sign_with() {  # <folder> <name> <program> <output>
    local dir="$1" name="$2" program="$3" output="$4"
    cat "$dir/$name-publisher.pem" "$dir/$name-root.pem" > "$dir/$name-chain.pem"
    rm -f "$output"
    osslsigncode sign -certs "$dir/$name-chain.pem" -key "$dir/$name-publisher.key" -h sha256 -in "$program" \
        -out "$output" >/dev/null
}

case "$mode" in
certificates)
    mkdir -p "$2"
    out="$(cd "$2" && pwd)"
    make_publisher "$out" ours
    make_publisher "$out" stranger
    make_publisher "$out" revoked revoked
    ;;
sign)
    program="$2"
    mkdir -p "$3"
    out="$(cd "$3" && pwd)"
    "$0" certificates "$out"
    cp "$out/ours-root.der" "$out/test-root.der"
    sign_with "$out" ours "$program" "$out/hcsigned_setup.exe"
    sign_with "$out" stranger "$program" "$out/hcstranger_setup.exe"
    sign_with "$out" revoked "$program" "$out/hcrevoked_setup.exe"
    cp "$out/hcsigned_setup.exe" "$out/hctampered_setup.exe"
    # One byte of the code changed after signing: the digest no longer matches.
    printf 'X' | dd of="$out/hctampered_setup.exe" bs=1 seek=5000 conv=notrunc 2>/dev/null
    ;;
*)
    echo "usage: $0 certificates <folder> | sign <program.exe> <folder>" >&2
    exit 2
    ;;
esac
