#!/usr/bin/env bash
# The test emulator: runs one Windows program under the build tree's Wine prefix. A hang is cut off
# after ZVAA_RUN_TIMEOUT seconds (default 60) so that it fails its own test and no other.
set -u
prefix=$1; shift
. "$(dirname "$0")/wine-loader.sh"
# The prefix's architecture is the build tree's (wine/arch beside the prefix).
export WINEPREFIX=$prefix WINEARCH=$(cat "$prefix/../arch" 2>/dev/null || echo win32) WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's own messages stay off, but for the errors of loading and of mapping the address space: a
# program that Wine could not start then says why in its case's output instead of failing without a word.
export WINEDEBUG=${ZVAA_WINEDEBUG:--all,err+module,err+virtual}
unset DISPLAY WAYLAND_DISPLAY
timeout -k 3 "${ZVAA_RUN_TIMEOUT:-60}" wine "$@"
status=$?
# A program that ends without a word (Wine could not start it, or it died before its first line)
# still leaves its exit status in its case's output.
[ $status -eq 0 ] || echo "wine-run: $(basename "$1") ended with status $status" >&2
exit $status
