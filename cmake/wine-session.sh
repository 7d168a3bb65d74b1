#!/usr/bin/env bash
# The Wine session of one build tree: its own prefix (copied from a template made once), a persistent,
# warmed-up wineserver, the null graphics driver and no crash dialogs. The prefix has the build tree's
# architecture (win32 for x86, win64 for x64; the configure step writes it to wine/arch).
#
#   wine-session.sh BUILD_DIR start   make the prefix if needed, start and warm up the server
#   wine-session.sh BUILD_DIR fresh   as start, but on a clean copy of the template
#   wine-session.sh BUILD_DIR stop    stop the server and wait for it
#   wine-session.sh BUILD_DIR env     print the environment (for eval) to run wine by hand
set -euo pipefail

build=$(cd "$1" && pwd)
what=${2:-start}
root=$build/wine
template=$root/template
prefix=$root/prefix

arch=$(cat "$root/arch" 2>/dev/null || echo win32)
. "$(dirname "$0")/wine-loader.sh"
export WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

# Wine's own Windows-metric fonts (Tahoma for "MS Shell Dlg", Marlett for the caption buttons, ...):
# Debian's Wine does not find the package's folder by itself, so they go into the prefix's font folder.
# Arial's metrics come from the Liberation fonts, which Wine finds through fontconfig.
install_windows_fonts() {
    local fonts=$1/drive_c/windows/Fonts file
    mkdir -p "$fonts"
    for file in $( (dpkg -L fonts-wine 2>/dev/null || ls /usr/share/wine/fonts/*) | grep -i '\.ttf$'); do
        [ -f "$file" ] && cp "$file" "$fonts/"
    done
    return 0
}

make_template() {
    if [ -f "$template/.ready" ]; then
        # A template made before the fonts were part of it gets them now.
        [ -f "$template/drive_c/windows/Fonts/tahoma.ttf" ] || install_windows_fonts "$template"
        return 0
    fi
    rm -rf "$template"
    mkdir -p "$root"
    echo "wine-session: making the Wine prefix template (once per build tree)" >&2
    WINEPREFIX=$template wine wineboot -i </dev/null >/dev/null 2>&1
    WINEPREFIX=$template wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
    WINEPREFIX=$template wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
    install_windows_fonts "$template"
    WINEPREFIX=$template wineserver -k || true
    WINEPREFIX=$template wineserver -w || true
    touch "$template/.ready"
}

# The processes of this prefix alone (its server and its Wine programs), found by their environment.
prefix_pids() {
    local pid
    for pid in $(pgrep -f 'wineserver|\.exe' 2>/dev/null); do
        { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$prefix" && echo "$pid"
    done
}

# Never hangs: a server that does not end within its time is ended, with the programs of its prefix.
stop_server() {
    if [ -d "$prefix" ]; then
        WINEPREFIX=$prefix timeout 20 wineserver -k 2>/dev/null || true
        if ! WINEPREFIX=$prefix timeout 20 wineserver -w 2>/dev/null; then
            echo "wine-session: the server of $prefix did not stop; ending its processes" >&2
            prefix_pids | xargs -r kill -9 2>/dev/null || true
        fi
    fi
}

start_server() {
    export WINEPREFIX=$prefix
    # Fails only when this prefix's server already runs: then the session is up already.
    wineserver -p 2>/dev/null || return 0
    # Starts the services detached from the caller's pipes; without it ctest waits on them.
    wine wineboot </dev/null >/dev/null 2>&1
    # The desktop process ends a few seconds after its last window; the next test to open a window
    # would start it anew and it would hold that test's pipes open. One idle windowed program keeps it
    # for the session; stopping the server ends it.
    (setsid wine notepad </dev/null >/dev/null 2>&1 &)
}

case "$what" in
    start)
        make_template
        [ -d "$prefix" ] || cp -a "$template" "$prefix"
        start_server ;;
    fresh)
        make_template
        stop_server
        rm -rf "$prefix"
        cp -a "$template" "$prefix"
        start_server ;;
    stop)
        stop_server ;;
    env)
        echo "export WINEPREFIX='$prefix' WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='; unset DISPLAY" ;;
    *)
        echo "usage: $0 BUILD_DIR start|fresh|stop|env" >&2; exit 2 ;;
esac
