# Shared set-up for scripts/build, scripts/test and scripts/run: packages, the project's Wine
# prefix, a display. Sourced, never run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"
export WINEPREFIX="${WINEPREFIX:-$BUILD/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko prompts, no desktop menu entries: the prefix is only for running our programs.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
WINE64=/usr/lib/wine/wine64
WINE32=/usr/lib/wine/wine
WINESERVER=/usr/lib/wine/wineserver

BUILD_PACKAGES=(cmake make g++ clang libclang-rt-14-dev googletest
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64)
WINE_PACKAGES=(wine wine64 wine32:i386 fonts-wine xvfb imagemagick nsis)

log() { printf '== %s\n' "$*" >&2; }

missing_packages() {
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}\n' "$pkg" 2>/dev/null | grep -q '^install ok installed$' || echo "$pkg"
    done
}

ensure_packages() {
    local missing
    missing=$(missing_packages "$@")
    [ -z "$missing" ] && return 0
    log "installing: $(echo $missing)"
    if [ "$(id -u)" != 0 ]; then
        echo "missing packages ($(echo $missing)); run as root to install them" >&2
        exit 1
    fi
    if echo "$missing" | grep -q ':i386' && ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    # shellcheck disable=SC2086
    apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

# Whether this machine can run 32-bit Windows programs: Debian's Wine runs them through its
# 32-bit loader, which needs the kernel's 32-bit support.
can_run_win32() {
    [ -x "$WINE32" ] && "$WINE32" --version >/dev/null 2>&1
}

# Starts Xvfb when there is no display; stop_display ends what we started.
XVFB_PID=
ensure_display() {
    if [ -n "${DISPLAY:-}" ]; then return 0; fi
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && return 0
        sleep 0.1
    done
    echo "Xvfb did not start on $DISPLAY" >&2
    exit 1
}

stop_display() {
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=
    fi
}

# Registry edits in the prefix; deleting what is not there is not an error.
wine_reg() {
    "$WINE64" reg "$@" >/dev/null 2>&1 || true
}

# The project's prefix: 64-bit with WOW64, in a virtual desktop (frames, deterministic focus and
# foreground), and with the crash debugger off so that a crashing program fails at once.
ensure_prefix() {
    if [ -f "$WINEPREFIX/.quorvel-ready" ]; then return 0; fi
    log "creating Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    if ! WINEARCH=win64 WINELOADER="$WINE64" "$WINE64" wineboot -i >"$BUILD/wineboot.log" 2>&1; then
        echo "could not create the Wine prefix; see $BUILD/wineboot.log" >&2
        exit 1
    fi
    "$WINESERVER" -w
    # Caption buttons are drawn with Marlett; Wine does not find it in its data folder here.
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wine_reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
    wine_reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f
    local view
    for view in 64 32; do
        wine_reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /d 0 /f "/reg:$view"
        wine_reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f "/reg:$view"
    done
    "$WINESERVER" -w
    touch "$WINEPREFIX/.quorvel-ready"
}

# A persistent wineserver: each Wine process then starts in a fraction of a second.
WINESERVER_STARTED=
start_wineserver() {
    "$WINESERVER" -p
    WINESERVER_STARTED=1
    "$WINE64" cmd /c exit >/dev/null 2>&1 || true
}

stop_wineserver() {
    if [ -n "$WINESERVER_STARTED" ]; then
        "$WINESERVER" -k 2>/dev/null
        "$WINESERVER" -w 2>/dev/null
        WINESERVER_STARTED=
    fi
}
