#!/usr/bin/env bash
# make demo: installs the plug-in with a demo printer into a Wine prefix of its own, then walks the
# printer's properties through the driver-UI host, scripted and headless, and prints a report.
#
#   run-demo.sh BUILD_DIR                 scripted, headless: screenshots and report
#   run-demo.sh BUILD_DIR --interactive   the same printer, with the properties open on $DISPLAY
#   run-demo.sh BUILD_DIR --show WHAT     the same printer, with one of the host's commands for a person
#                                         open on $DISPLAY: properties, setup, manual or banner
# A person's run leaves the headless run's screenshots and report as they are.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
mode=${2:-}
show=
case "$mode" in
    --interactive) show=properties ;;
    --show)
        show=${3:-}
        case "$show" in
            properties|setup|manual|banner) ;;
            *) echo "demo: --show takes properties, setup, manual or banner (got \"$show\")" >&2; exit 2 ;;
        esac ;;
    "") ;;
    *) echo "usage: $0 BUILD_DIR [--interactive | --show properties|setup|manual|banner]" >&2; exit 2 ;;
esac

printer="Zelvorn ZV-30"
driver="Zelvorn ZV-30 Series"
demo=$build/demo
shots=$demo/screenshots
port=$demo/port/zv30.prn
host=$build/bin/zvaahost.exe

[ -f "$host" ] && [ -f "$build/bin/zvaaSUI.dll" ] || { echo "demo: build first (make build)" >&2; exit 1; }
if [ -n "$show" ] && [ -z "${DISPLAY:-}" ]; then
    echo "demo: a person's run ($show) needs a display (DISPLAY is not set)" >&2
    exit 1
fi

# A prefix of the demo's own, fresh each run (the template is made once), of the build's architecture:
# the x86 plug-in in a win32 prefix, the x64 one in a win64 prefix.
arch=$(cat "$build/wine/arch")
mkdir -p "$demo/wine"
cp "$build/wine/arch" "$demo/wine/arch"
bash "$root/cmake/wine-session.sh" "$demo" fresh
prefix=$demo/wine/prefix
. "$root/cmake/wine-loader.sh"
export WINEPREFIX=$prefix WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
stop() { bash "$root/cmake/wine-session.sh" "$demo" stop; }
trap stop EXIT

# What a printer maker's installer puts in place: the plug-in, the driver INI and the print files in
# the driver files directory, the configuration INI in the system directory.
# the driver files directory of the architecture (the spooler's w32x86\3 or x64\3)
case $arch in win64) environment=x64 ;; *) environment=w32x86 ;; esac
files=$prefix/drive_c/windows/system32/spool/drivers/$environment/3
system=$prefix/drive_c/windows/system32
mkdir -p "$files" "$shots" "$(dirname "$port")"
: > "$port"
cp "$build/bin/zvaaSUI.dll" "$files/zvaaSUI.dll"
cp "$build/bin/zvaaSUI.dll" "$system/zvaaSUI.DLL"
utf16() { { printf '\xff\xfe'; sed 's/$/\r/' "$1" | iconv -f UTF-8 -t UTF-16LE; } > "$2"; }
utf16 "$root/tools/package/zvaa.ini" "$files/zvaa.ini"
utf16 "$here/zvaaPLC.INI" "$system/zvaaPLC.INI"
# The prepared print files; their bytes are the printer's business, here a short text each.
cp "$here"/printfiles/*.out "$files/"

dll="C:\\windows\\system32\\spool\\drivers\\$environment\\3\\zvaaSUI.dll"
# Swedish (set for Wine alone) for the sheet's own buttons and the driver INI's Strings.041D section.
run() { timeout -k 5 "${ZVAA_DEMO_TIMEOUT:-120}" env LC_ALL=sv_SE.UTF-8 wine "$host" --dll "$dll" "$@"; }

echo "demo: installing \"$printer\" on the port file $port"
run install "$printer" "$driver" "$port"

if [ -n "$show" ]; then
    # The session's desktop was made for the null driver; the person's display needs a desktop of its
    # own, started by the first window the host opens. (reg itself starts a desktop with the driver it
    # found, so the server is stopped again after the switch.)
    stop
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f >/dev/null 2>&1
    stop
    echo "demo: \"$show\" for \"$printer\" is open on $DISPLAY; close it to end"
    ZVAA_DEMO_TIMEOUT=0 run "$show" "$printer" || true
    exit 0
fi

rm -f "$shots"/*.png "$shots"/report.txt

echo "demo: walking the maintenance page (headless)"
status=0
run demo "$printer" "$port" "$shots" || status=$?
echo
cat "$shots/report.txt" 2>/dev/null || echo "demo: no report was written" >&2
echo
echo "Screenshots (PNG):"
ls -1 "$shots"/*.png 2>/dev/null | sed 's/^/  /'
exit $status
