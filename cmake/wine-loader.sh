# Sourced by every script that runs Wine: makes `wine` the loader that works on this machine and says
# whether the machine runs 32-bit x86 programs at all.
#
# Debian's `wine` always starts the 32-bit loader, which hands 64-bit programs on to the 64-bit one. A
# kernel without 32-bit emulation (ia32 emulation off, as on some virtual machines) refuses that first
# step with "Exec format error": there a win64 prefix is run by the 64-bit loader directly, through a
# `wine` of our own first on the PATH, and no 32-bit program (the x86 tree's, or a 32-bit program under
# WOW64) can run at all.
#
# After sourcing: ZVAA_RUNS_32BIT is 1 or 0 (exported, so the test programs see it too), and `wine` is
# cmake/wine-bin/wine, which starts the right loader with one fixed address layout.

# A 93-byte 32-bit x86 Linux program that only exits with 0: whether the kernel starts it is the answer.
zvaa_kernel_runs_32bit() {
    local probe rc
    probe=$(mktemp "${TMPDIR:-/tmp}/zvaa-i386.XXXXXX") || return 1
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08'\
'\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'\
'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00'\
'\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' > "$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null
    rc=$?
    rm -f "$probe"
    return $rc
}

if [ -z "${ZVAA_RUNS_32BIT:-}" ]; then
    if zvaa_kernel_runs_32bit; then ZVAA_RUNS_32BIT=1; else ZVAA_RUNS_32BIT=0; fi
fi
export ZVAA_RUNS_32BIT

# The loader itself: Debian's `wine`, or where the kernel runs no 32-bit programs the 64-bit loader.
# Found once, before our own `wine` goes first on the PATH (exported, so that scripts started from here
# find the same).
zvaa_wine_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/wine-bin
if [ -z "${ZVAA_WINE:-}" ]; then
    if [ "$ZVAA_RUNS_32BIT" = 0 ] && [ -x /usr/lib/wine/wine64 ]; then
        ZVAA_WINE=/usr/lib/wine/wine64
    else
        ZVAA_WINE=$(PATH=$(printf '%s' "$PATH" | tr ':' '\n' | grep -vxF "$zvaa_wine_dir" | paste -sd:) \
            command -v wine || true)
    fi
fi
[ "$ZVAA_WINE" = /usr/lib/wine/wine64 ] && export WINELOADER=/usr/lib/wine/wine64

# Debian's 64-bit Wine has no preloader, which on other systems claims Wine's fixed addresses before
# anything else is mapped. Linux then places the loader's heap anywhere in the gigabyte above it, and
# about one start in two thousand the heap lies where the shared user data page must go (0x7ffe0000):
# that start ends at once with status 1 ("failed to map the shared user data", shown only on the err
# channel). With address randomisation off for Wine's processes the heap always begins right after
# the loader, far below. A kernel or container that refuses it keeps the random layout.
if [ -z "${ZVAA_WINE_SETARCH+set}" ]; then
    if setarch -R true 2>/dev/null; then ZVAA_WINE_SETARCH="setarch -R"; else ZVAA_WINE_SETARCH=; fi
fi
export ZVAA_WINE ZVAA_WINE_SETARCH

if [ -n "$ZVAA_WINE" ]; then
    case ":$PATH:" in
        *":$zvaa_wine_dir:"*) ;;
        *) export PATH="$zvaa_wine_dir:$PATH" ;;
    esac
fi
