#!/usr/bin/env bash
# Builds and packages the program (scripts/package.sh: signed when HC_SIGN_PFX and HC_SIGN_PASSWORD are set) and
# lays out build/release/ exactly as the update server serves it, with SHA256SUMS and the manifests for the
# Windows package manager. Copy the folder to the server as it is; docs/releasing.md has the steps.
#   HC_RELEASE_DATE=dd.mm.yyyy  the release date in the version file (default: today)
#   HC_RELEASE_SKIP_BUILD=1     lay out an already packaged build without building again
#   HC_BUILD_DIR, HC_DIST, HC_RELEASE_OUT  the build tree, the setup program's folder and the release folder
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
die() { echo "release.sh: $*" >&2; exit 1; }

if [ "${HC_RELEASE_SKIP_BUILD:-}" != 1 ]; then
    "$HC_ROOT/scripts/package.sh"
fi
build="${HC_BUILD_DIR:-$HC_ROOT/build}"
dist="${HC_DIST:-$build/dist}"
out="${HC_RELEASE_OUT:-$build/release}"

# The version and the server's addresses, as CMake wrote them for the program's own build.
env_file="$build/generated/release.env"
[ -f "$env_file" ] || die "$env_file is missing: build first (scripts/build.sh)"
declare -A cfg
while IFS='=' read -r key value; do
    [[ "$key" =~ ^HC_[A-Z_]+$ ]] && cfg[$key]="$value"
done < "$env_file"
for key in HC_VERSION HC_PLATFORM_WORD HC_UPDATE_ORIGIN HC_UPDATE_FOLDER HC_INSTALLER_NAME HC_PRODUCT_NAME \
           HC_COMPANY_NAME; do
    [ -n "${cfg[$key]:-}" ] || die "$env_file has no $key: configure the build again"
done
version="${cfg[HC_VERSION]}"
platform="${cfg[HC_PLATFORM_WORD]}"
folder="${cfg[HC_UPDATE_FOLDER]}"
origin="${cfg[HC_UPDATE_ORIGIN]}"
installer_url="$origin/$folder/${cfg[HC_INSTALLER_NAME]}"
# The name the running build asks for once its platform word is in place of the token.
installer_file="${cfg[HC_INSTALLER_NAME]//Flag_Platform/$platform}"

setup="$dist/HushcloakPrivacy-$version-setup.exe"
[ -f "$setup" ] || die "$setup is missing: run scripts/package.sh first"
# The program stops a download larger than this and never starts it.
[ "$(stat -c %s "$setup")" -le $((64 * 1024 * 1024)) ] || die "$setup is larger than the 64 MiB an update may be"

date="${HC_RELEASE_DATE:-$(date +%d.%m.%Y)}"
[[ "$date" =~ ^([0-9]{2})\.([0-9]{2})\.([0-9]{4})$ ]] || die "HC_RELEASE_DATE must read dd.mm.yyyy: $date"
iso_date="${BASH_REMATCH[3]}-${BASH_REMATCH[2]}-${BASH_REMATCH[1]}"
[ "$(date -d "$iso_date" +%F 2>/dev/null)" = "$iso_date" ] || die "HC_RELEASE_DATE is not a day of the calendar: $date"

# The program reads the news as 8-bit text in the system's code page and takes at most 64 KiB of it.
news="$HC_ROOT/installer/news.txt"
LC_ALL=C grep -q '[^[:print:][:space:]]' "$news" && die "$news must be plain ASCII text"

rm -rf "$out"
mkdir -p "$out/$folder" "$out/winget"
server="$out/$folder"
cp "$setup" "$server/$installer_file"
printf '%s\r\n%s\r\n%s\r\n' "$version" "$date" "$installer_url" > "$server/versionchk.cfg"
sed 's/\r$//; s/$/\r/' "$news" > "$server/news.cfg"
[ "$(stat -c %s "$server/news.cfg")" -le $((64 * 1024)) ] || die "$news is larger than the 64 KiB the news may be"

# The package manager's manifests: one package, one per-user NSIS installer of the address above.
id="Hushcloak.HushcloakPrivacy"
sha="$(sha256sum "$server/$installer_file" | cut -d' ' -f1 | tr a-f A-F)"
schema="1.6.0"
header() { printf '# yaml-language-server: $schema=https://aka.ms/winget-manifest.%s.%s.schema.json\n' "$1" "$schema"; }
{
    header version
    printf 'PackageIdentifier: %s\nPackageVersion: %s\nDefaultLocale: en-US\n' "$id" "$version"
    printf 'ManifestType: version\nManifestVersion: %s\n' "$schema"
} > "$out/winget/$id.yaml"
{
    header defaultLocale
    cat <<EOF
PackageIdentifier: $id
PackageVersion: $version
PackageLocale: en-US
Publisher: ${cfg[HC_COMPANY_NAME]}
PublisherUrl: $origin
PackageName: ${cfg[HC_PRODUCT_NAME]}
PackageUrl: $origin
License: Freeware
Copyright: Copyright (C) ${cfg[HC_COMPANY_NAME]}
ShortDescription: A panic button for the Windows desktop that hides every window with one key.
Description: |-
  ${cfg[HC_PRODUCT_NAME]} waits in the notification area for Ctrl+Space or a click on its floating Panic Button,
  then hides or closes the windows of other programs, optionally opens a decoy and clears traces such as the
  Recycle Bin and the recent documents. Ctrl+Backspace brings the hidden windows back, optionally only after a
  password. Hidden programs keep running.
Moniker: hushcloak
Tags:
- privacy
- panic-button
- hide-windows
ManifestType: defaultLocale
ManifestVersion: $schema
EOF
} > "$out/winget/$id.locale.en-US.yaml"
{
    header installer
    cat <<EOF
PackageIdentifier: $id
PackageVersion: $version
InstallerType: nullsoft
Scope: user
InstallModes:
- interactive
- silent
- silentWithProgress
InstallerSwitches:
  Silent: /S
  SilentWithProgress: /S
  InstallLocation: /D=<INSTALLPATH>
ExpectedReturnCodes:
- InstallerReturnCode: 2
  ReturnResponse: packageInUse
UpgradeBehavior: install
ProductCode: HushcloakPrivacy
ReleaseDate: $iso_date
Installers:
- Architecture: x64
  InstallerUrl: ${installer_url//Flag_Platform/$platform}
  InstallerSha256: $sha
ManifestType: installer
ManifestVersion: $schema
EOF
} > "$out/winget/$id.installer.yaml"

sums="$(cd "$out" && find . -type f -printf '%P\n' | LC_ALL=C sort | xargs -d '\n' sha256sum)"
printf '%s\n' "$sums" > "$out/SHA256SUMS"

echo "Release $version of $date laid out in $out:"
(cd "$out" && find . -type f -printf '  %P\n' | LC_ALL=C sort)
if [ -z "${HC_SIGN_PFX:-}" ] || [ -z "${HC_SIGN_PASSWORD:-}" ]; then
    echo "Warning: not signed (HC_SIGN_PFX, HC_SIGN_PASSWORD): running copies refuse this installer. Do not publish it." >&2
fi
