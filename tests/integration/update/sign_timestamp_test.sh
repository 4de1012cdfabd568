#!/usr/bin/env bash
# scripts/sign.sh asks for a timestamp when a server is configured, and warns when none is. A stand-in for
# osslsigncode records what it was asked, so no certificate or network is needed.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
cat > "$work/bin/osslsigncode" <<'FAKE'
#!/usr/bin/env bash
printf '%s\n' "$@" > "$FAKE_ARGS"
out=""; while [ $# -gt 0 ]; do [ "$1" = "-out" ] && out="$2"; shift; done
printf signed > "$out"
FAKE
chmod +x "$work/bin/osslsigncode"
export PATH="$work/bin:$PATH" FAKE_ARGS="$work/args" HC_SIGN_PFX="$work/none.pfx" HC_SIGN_PASSWORD=secret
fail() { echo "FAIL: $*" >&2; exit 1; }

printf unsigned > "$work/a.exe"
HC_SIGN_TIMESTAMP_URL=http://timestamp.example/tsa "$root/scripts/sign.sh" "$work/a.exe" 2> "$work/err"
grep -qx -- "-ts" "$work/args" || fail "no -ts with a timestamp server set"
grep -qx "http://timestamp.example/tsa" "$work/args" || fail "the server address is not passed"
[ ! -s "$work/err" ] || fail "a warning although a server is set"
[ "$(cat "$work/a.exe")" = signed ] || fail "the signed file did not replace the original"

printf unsigned > "$work/b.exe"
(unset HC_SIGN_TIMESTAMP_URL; "$root/scripts/sign.sh" "$work/b.exe" 2> "$work/err")
grep -qx -- "-ts" "$work/args" && fail "-ts without a server"
grep -q "Warning: HC_SIGN_TIMESTAMP_URL is not set" "$work/err" || fail "no warning without a server"
grep -qx "secret" "$work/args" && fail "the password is on the command line"
echo "sign.sh timestamps: ok"
