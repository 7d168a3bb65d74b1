#!/usr/bin/env bash
# Runs ctest in the build tree's Wine session: a clean prefix from the template, a persistent and
# warmed-up server for the whole run, stopped again at the end whatever happens. The Windows test
# programs then run a second time with Wine's heap checking on, where any heap error fails.
#   run-tests.sh BUILD_DIR [ctest arguments...]
set -uo pipefail
build=$1; shift
here=$(cd "$(dirname "$0")" && pwd)

. "$here/wine-loader.sh"
if [ "$(cat "$build/wine/arch" 2>/dev/null)" = win32 ] && [ "$ZVAA_RUNS_32BIT" = 0 ]; then
    # Nothing of a win32 prefix runs where the kernel starts no 32-bit program (ctest itself would start
    # the test programs to list their cases): the tree is built and its DLL checked, and its Windows
    # programs are left for a machine that can run them.
    echo "run-tests: this machine's kernel runs no 32-bit programs (ia32 emulation is off): the x86 tree's"
    echo "run-tests: Windows programs are built but not run here; its DLL's exports and imports are checked."
    bash "$here/check-dll.sh" "$build/bin/zvaaSUI.dll" x86
    exit $?
fi

bash "$here/wine-session.sh" "$build" fresh || { echo "run-tests: the Wine session did not start" >&2; exit 1; }
trap 'bash "$here/wine-session.sh" "$build" stop' EXIT

jobs=${ZVAA_TEST_JOBS:-2}
# A name that matches no test is an error, not an empty pass (the heap pass leaves out the checks that
# run no Windows program, so there an empty selection is fine).
ctest --test-dir "$build" --output-on-failure --no-tests=error -j "$jobs" "$@"
rc=$?
if [ "${ZVAA_HEAP_CHECK:-1}" = 1 ]; then
    # The checks that run no Windows program, and what the build tree names (see tests/CMakeLists.txt).
    heap_skip='^(bed|static|dll|package)\.'
    extra=$(cat "$build/heap-pass-skip" 2>/dev/null || true)
    [ -n "$extra" ] && heap_skip="$heap_skip|$extra"
    echo "== again with Wine's heap checking (warn+heap) =="
    # Every error Wine reports is kept here (a case's output is shown when it fails): a program that
    # ends without a word in this pass then shows what Wine saw.
    ZVAA_WINEDEBUG=-all,err+all,warn+heap \
        ctest --test-dir "$build" --output-on-failure --no-tests=ignore -j "$jobs" -E "$heap_skip" "$@"
    heap_rc=$?
    [ $rc -eq 0 ] && rc=$heap_rc
fi
exit $rc
