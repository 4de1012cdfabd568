#!/usr/bin/env bash
# scripts/release.sh lays out an already built tree as the update server serves it, and a build reads it back
# with its own reader. Arguments: the build tree and the releasecheck program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
build="$1"
checker="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
windows_path() { local p="${1//\//\\}"; printf 'Z:%s' "$p"; }

# A stand-in setup program: the layout does not depend on what is inside it.
version="$(sed -n 's/^HC_VERSION=//p' "$build/generated/release.env")"
mkdir "$work/dist"
printf 'MZ stand-in setup' > "$work/dist/HushcloakPrivacy-$version-setup.exe"
release() {
    HC_RELEASE_SKIP_BUILD=1 HC_BUILD_DIR="$build" HC_DIST="$work/dist" HC_RELEASE_OUT="$work/release" \
        HC_RELEASE_DATE="$1" "$root/scripts/release.sh" > "$work/log" 2>&1
}
release 31.02.2028 && fail "a release date that is no day of the calendar was accepted"
release 29.02.2028 || { cat "$work/log" >&2; fail "release.sh failed"; }

cd "$work/release"
sha256sum --quiet --strict -c SHA256SUMS || fail "SHA256SUMS does not match the files"
[ "$(wc -l < SHA256SUMS)" -eq "$(find . -type f ! -name SHA256SUMS | wc -l)" ] || fail "SHA256SUMS misses files"

server="downloads/updates/hc"
read_back="$(wine "$checker" "$(windows_path "$PWD/$server")" "$(windows_path "$root/docs/settings.md")")" ||
    fail "the program does not read the release (or docs/settings.md) as laid out"
read -r got date url <<< "${read_back//$'\r'/}"
[ "$got $date" = "$version 29.02.2028" ] || fail "the program reads $got of $date"

manifest="winget/Hushcloak.HushcloakPrivacy.installer.yaml"
[ -f winget/Hushcloak.HushcloakPrivacy.yaml ] && [ -f winget/Hushcloak.HushcloakPrivacy.locale.en-US.yaml ] ||
    fail "the package manager's manifests are missing"
grep -qx "  InstallerUrl: $url" "$manifest" || fail "the manifest names another installer than $url"
sha="$(sha256sum "$server/${url##*/}" | cut -d' ' -f1 | tr a-f A-F)"
grep -qx "  InstallerSha256: $sha" "$manifest" || fail "the manifest's SHA-256 is not the installer's"
echo "release layout: ok ($got, $url)"
