#!/usr/bin/env bash
# make-package.sh refuses a missing GPD, print files with one missing and a GPD of another model: one
# line each, and nothing of a package written.   check-bad-packages.sh X86_TREE X64_TREE
set -uo pipefail
here=$(cd "$(dirname "$0")/../../../../../tools/package" && pwd)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
ln -s "$(cd "$1" && pwd)" "$root/x86"
ln -s "$(cd "$2" && pwd)" "$root/x64"
mkdir "$root/files"
cp "$here/../demo/printfiles/"*.out "$root/files/"
sed 's/^\*ModelName: .*/*ModelName: "Zelvorn ZV-31"/' "$here/example/zv30.gpd" > "$root/other.gpd"
fail=0
check() {
    local said
    said=$(bash "$here/make-package.sh" "$root" "$@" 2>&1 >/dev/null) && { echo "accepted: $*"; fail=1; }
    [ "$(wc -l <<<"$said")" = 1 ] || { echo "not one line for $*: $said"; fail=1; }
    [ -z "$(ls -A "$root/package" 2>/dev/null)" ] || { echo "left behind for $*: $(ls -A "$root/package")"; fail=1; }
    echo "$said"
}
check "$root/missing.gpd" "$root/files"
check "$root/other.gpd" "$root/files"
rm "$root/files/zvaaalg6.out"
check "$here/example/zv30.gpd" "$root/files"
exit $fail
