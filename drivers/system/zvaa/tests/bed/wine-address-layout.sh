#!/usr/bin/env bash
# A Windows program started as every test starts one (the test emulator) runs with the Unix side's
# address randomisation off wherever the kernel allows it (cmake/wine-loader.sh): with it on, about one
# start in two thousand ends before main. Read from outside, in the running program's own /proc entry
# (a file the program opened itself would be opened by the wineserver).
#   wine-address-layout.sh EMULATOR PREFIX HANGING_PROGRAM
set -u
emulator=$1 prefix=$2 program=$3
. "$(dirname "$emulator")/wine-loader.sh"
[ -n "$ZVAA_WINE_SETARCH" ] || { echo "this kernel keeps address randomisation on: nothing to check"; exit 77; }

marker=ZVAA_LAYOUT_PROBE=$$
env "$marker" ZVAA_RUN_TIMEOUT=20 bash "$emulator" "$prefix" "$program" </dev/null >/dev/null 2>&1 &
for _ in $(seq 200); do
    for pid in $(pgrep -f "$(basename "$program")"); do
        case $(readlink "/proc/$pid/exe" 2>/dev/null) in */wine*) ;; *) continue ;; esac
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "$marker" || continue
        personality=$(cat "/proc/$pid/personality")
        kill -9 "$pid"; wait
        echo "personality of the Wine process: $personality"
        [ $((0x$personality & 0x0040000)) -ne 0 ]
        exit
    done
    sleep 0.05
done
echo "the program did not start within 10 s"
exit 1
