#!/usr/bin/env bash
# Installs the cross toolchain, Wine and the test sources with apt-get, but only what is missing,
# so that a machine that already has everything finishes in a second or two.
set -euo pipefail

# Both architectures: the i686 and x86-64 cross compilers, 32- and 64-bit Wine (Debian keeps the
# 64-bit loader off the PATH; plain wine hands 64-bit programs to it in a win64 prefix), and fonts
# metric-compatible with Windows' own so that texts measure and look as a Windows user sees them.
packages=(g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
          g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
          wine wine32:i386 wine64 fonts-wine fonts-liberation fonts-liberation2
          googletest cmake ninja-build make python3 cppcheck)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
needs_i386=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    needs_i386=1
fi
if [ ${#missing[@]} -eq 0 ] && [ $needs_i386 -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run as root:  sudo dpkg --add-architecture i386 && sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
[ $needs_i386 -eq 1 ] && dpkg --add-architecture i386
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "Installed: ${missing[*]}"
