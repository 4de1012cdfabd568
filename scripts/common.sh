# Shared by the scripts: installs what is missing, prepares a throw-away Wine environment.
# shellcheck shell=bash

HC_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
HC_PACKAGES=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev cmake ninja-build googletest
             wine wine64 xvfb xauth x11-apps imagemagick openssl osslsigncode)
# What scripts/package.sh needs besides: the setup compiler, the signing tool and openssl for test certificates.
HC_PACKAGE_TOOLS=(nsis osslsigncode openssl)

hc_install_packages() {
    local missing=()
    for p in "${HC_PACKAGES[@]}"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    # A mirror that is mid-sync fails one index; the others still serve what we need.
    $sudo apt-get update -q || true
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# A Wine prefix, HOME and XDG folders of our own, so nothing touches the user's files.
hc_wine_environment() {
    HC_SANDBOX="$(mktemp -d /tmp/hc-wine.XXXXXX)"
    export WINEPREFIX="$HC_SANDBOX/prefix"
    export HOME="$HC_SANDBOX/home"
    export XDG_DATA_HOME="$HC_SANDBOX/xdg-data"
    export XDG_CONFIG_HOME="$HC_SANDBOX/xdg-config"
    export XDG_CACHE_HOME="$HC_SANDBOX/xdg-cache"
    # The tests that delete files (the clean-up steps) run only when they see this.
    export HC_TEST_SANDBOX="$HC_SANDBOX"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
    mkdir -p "$HOME" "$XDG_DATA_HOME/Trash" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME"
    # A null sound device, so the audio calls have something to talk to.
    printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' > "$HOME/.asoundrc"
}

# Creates the prefix and sets what the program and the tests need of Wine; run inside the X display.
hc_wine_prefix() {
    wineboot -i >/dev/null 2>&1
    wineserver -p >/dev/null 2>&1
    # Without a window manager every hide waits for one that never answers; unmanaged windows do not.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    # Wine's fresh prefix has the text-file type but not the .txt extension that Windows maps to it.
    wine reg add 'HKCR\.txt' /ve /d txtfile /f >/dev/null 2>&1
    # Wine's explorer started before Managed=N and still waits for a window manager on every tray change:
    # restart the server so it starts anew with the setting.
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    wineserver -p >/dev/null 2>&1
    # Started here, Wine's own long-lived processes hold /dev/null instead of a test runner's output pipe.
    wineboot -r >/dev/null 2>&1
}

hc_wine_cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    [ -n "${HC_SANDBOX:-}" ] && rm -rf "$HC_SANDBOX"
}
