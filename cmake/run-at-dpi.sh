#!/usr/bin/env bash
# Runs one Windows program at a given screen scale: in a Wine prefix of that scale's own (a fresh copy,
# every run, of a template made once from the build tree's template with HKCU\Control Panel\Desktop
# LogPixels set), with a persistent, warmed-up server of its own that is stopped again afterwards.
# Wine reads LogPixels when its server starts, so the scale cannot be switched inside the test session's
# prefix; a prefix of its own also keeps what the program changes for the whole session (system colours)
# away from the other tests. The program runs with the Swedish locale, as the demo does.
#
#   run-at-dpi.sh BUILD_DIR DPI PROGRAM [ARGS...]
set -uo pipefail
build=$(cd "$1" && pwd)
dpi=$2
shift 2

root=$build/wine/dpi$dpi
template=$root/template
prefix=$root/prefix
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
. "$(dirname "$0")/wine-loader.sh"

# The build tree's own template (whatever architecture it was made for) is the start of every scale's;
# the test session (wine-session.sh) makes it.
if [ ! -f "$build/wine/template/.ready" ]; then
    echo "run-at-dpi: no Wine template in $build (start the session first: wine-session.sh $build start)" >&2
    exit 1
fi

server() { WINEPREFIX=$1 wineserver "${@:2}" 2>/dev/null; }

(
    # One run per scale at a time (the two passes of a test run, or two runs of one build tree).
    flock 9
    if [ ! -f "$template/.ready" ] || [ "$template/.ready" -ot "$build/wine/template/.ready" ]; then
        rm -rf "$template"
        mkdir -p "$root"
        cp -a "$build/wine/template" "$template"
        rm -f "$template/.ready"
        WINEPREFIX=$template wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
            </dev/null >/dev/null 2>&1
        server "$template" -k
        server "$template" -w
        touch "$template/.ready"
    fi
    server "$prefix" -k
    server "$prefix" -w
    rm -rf "$prefix"
    cp -a "$template" "$prefix"
    export WINEPREFIX=$prefix
    wineserver -p 2>/dev/null
    wine wineboot </dev/null >/dev/null 2>&1
    (setsid wine notepad </dev/null >/dev/null 2>&1 &)
    LC_ALL=sv_SE.UTF-8 WINEDEBUG=${ZVAA_WINEDEBUG:--all} timeout -k 3 "${ZVAA_RUN_TIMEOUT:-120}" wine "$@"
    rc=$?
    server "$prefix" -k
    server "$prefix" -w
    # Copied fresh for every run: nothing in it is needed afterwards, and a prefix is 0.6 to 1.1 GB.
    rm -rf "$prefix"
    exit $rc
) 9>"$build/wine/dpi$dpi.lock"
