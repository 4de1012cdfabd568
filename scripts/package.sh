#!/usr/bin/env bash
# Builds the setup program build/dist/HushcloakPrivacy-<version>-setup.exe with NSIS. When HC_SIGN_PFX and
# HC_SIGN_PASSWORD name a code-signing certificate, HC.exe, the uninstaller and the setup program are signed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
HC_PACKAGES+=("${HC_PACKAGE_TOOLS[@]}")
hc_install_packages
"$HC_ROOT/scripts/build.sh" >/dev/null

build="$HC_ROOT/build"
version="$(sed -n 's/^!define HC_VERSION "\(.*\)"$/\1/p' "$build/generated/HcVersion.nsh")"
[ -n "$version" ] || { echo "No version in $build/generated/HcVersion.nsh" >&2; exit 1; }
# Both can be moved (scripts/test.sh builds a test-signed copy beside the real one).
stage="${HC_PACKAGE_WORK:-$build/package}/stage"
dist="${HC_DIST:-$build/dist}"
out="$dist/HushcloakPrivacy-$version-setup.exe"
rm -rf "$stage" && mkdir -p "$stage" "$dist"
rm -f "$dist"/HushcloakPrivacy-*-setup.exe

cp "$build/bin/HC.exe" "$HC_ROOT/resources/HC.ico" "$HC_ROOT/installer/LICENSE.txt" "$stage/"
if [ -f "$HC_ROOT/resources/images/Index.html" ]; then
    cp -r "$HC_ROOT/resources/images" "$stage/images"
else
    echo "Note: resources/images/Index.html does not exist yet; the setup program has no page."
fi

sign=()
if [ -n "${HC_SIGN_PFX:-}" ] && [ -n "${HC_SIGN_PASSWORD:-}" ]; then
    "$HC_ROOT/scripts/sign.sh" "$stage/HC.exe"
    sign=("-DHC_SIGN_COMMAND=$HC_ROOT/scripts/sign.sh")
fi

makensis -V2 -NOCD "-X!addincludedir $build/generated" "-DHC_STAGE=$stage" "-DHC_OUTFILE=$out" "${sign[@]}" \
    "$HC_ROOT/installer/HushcloakPrivacy.nsi"
if [ ${#sign[@]} -eq 0 ]; then
    echo "Built UNSIGNED (set HC_SIGN_PFX and HC_SIGN_PASSWORD to sign): $out"
else
    echo "Built and signed with $HC_SIGN_PFX: $out"
fi
