# Shared by scripts/run, scripts/test and scripts/bench. Source it; do not run it.
# Installs what is missing, builds, and gives each script a throw-away Wine
# prefix under the build folder with its own Xvfb and wineserver, which it
# stops again on exit (only those two, found by their prefix and process id).

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# ZOVREL_BUILD lets several working copies of the tree build side by side.
BUILD=${ZOVREL_BUILD:-$ROOT/build}

log() { printf '== %s\n' "$*" >&2; }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Debian packages, by a file or command that each one provides.
ensure_packages() {
    local wanted=(
        /usr/bin/i686-w64-mingw32-g++-posix:g++-mingw-w64-i686
        /usr/bin/cmake:cmake
        /usr/src/googletest/CMakeLists.txt:googletest
        /usr/bin/wine:wine
        /usr/lib/wine/wine:wine32:i386
        /usr/lib/wine/wine64:wine64
        /usr/bin/Xvfb:xvfb
        /usr/bin/import:imagemagick
        /usr/bin/xwininfo:x11-utils
        /usr/bin/xdotool:xdotool
        /usr/sbin/locale-gen:locales
        /usr/share/fonts/truetype/wqy/wqy-microhei.ttc:fonts-wqy-microhei
        /usr/bin/python3:python3
        /usr/lib/python3/dist-packages/pefile.py:python3-pefile
    )
    local missing=() entry
    for entry in "${wanted[@]}"; do
        [ -e "${entry%%:*}" ] || missing+=("${entry#*:}")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        log "installing: ${missing[*]}"
        if ! dpkg --print-foreign-architectures | grep -qx i386; then
            as_root dpkg --add-architecture i386
        fi
        as_root apt-get update -q
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
    ensure_chinese_locale
}

# Wine takes code page 936 from LC_ALL even without the glibc locale, but then
# cannot create or open a file whose name is not plain ASCII.
ensure_chinese_locale() {
    locale -a 2>/dev/null | grep -qix 'zh_CN.utf8' && return 0
    log "generating the zh_CN.UTF-8 locale"
    as_root localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
}

build_tree() {
    local preset=${1:-mingw}
    log "building ($preset)"
    cmake -S "$ROOT" -B "$BUILD" --preset "$preset" >/dev/null
    cmake --build "$BUILD" -j "$(nproc)"
}

# Xvfb on the first free display number; sets XVFB_PID and DISPLAY.
start_xvfb() {
    local n=90
    while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 50); do
        [ -e /tmp/.X11-unix/X$n ] && return 0
        sleep 0.1
    done
    log "Xvfb did not start"
    return 1
}

wine_reg() { wine reg "$@" >/dev/null 2>&1; }

# A prefix under the build folder; created once, then reused.
# $1: prefix folder name, $2: "own-display" to start Xvfb even if DISPLAY is set.
start_wine_env() {
    export WINEPREFIX=$BUILD/${1:-wineprefix}
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win32
    # Wine takes code page 936 from this; bash itself has no such locale and
    # would complain, hence the redirection.
    { export LC_ALL=zh_CN.UTF-8; } 2>/dev/null
    if [ -z "${DISPLAY:-}" ] || [ "${2:-}" = own-display ]; then
        start_xvfb
    fi
    trap stop_wine_env EXIT
    mkdir -p "$WINEPREFIX"
    wineserver -p
    if [ ! -f "$WINEPREFIX/.zovrel-ready" ]; then
        log "creating Wine prefix $WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        # A crash must fail a test, not wait for someone to close a dialog.
        wine_reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
        # On our own Xvfb there is no window manager: a virtual desktop draws
        # captions and frames and spares the 2-second wait Wine makes for
        # every hidden window. On a real display the user's manager does that.
        if [ -n "${XVFB_PID:-}" ]; then
            wine_reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
            wine_reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f
        fi
        touch "$WINEPREFIX/.zovrel-ready"
        # The desktop that wineboot started predates those settings.
        wineserver -k
        wineserver -p
    fi
    # Wine's background services start with the first program after the
    # server; started here, they do not hold a test's output pipe open.
    wine cmd /c exit >/dev/null 2>&1
    register_shell_standin
}

register_shell_standin() {
    local dll=$BUILD/tests/standin/shellstandin.dll
    [ -f "$dll" ] || return 0
    wine regsvr32 /s "$(winepath -w "$dll")" >/dev/null 2>&1 ||
        { log "could not register the shell-object stand-in"; return 1; }
}

stop_wine_env() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
    if [ -n "${XVFB_PID:-}" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=
    fi
    return 0
}
