#!/usr/bin/env bash
# make pictures: one set of PNG files for a person to look at, in BUILD_DIR/pictures:
#   96dpi/, 144dpi/   every dialog and the maintenance page (in its sheet, with each cartridge pair's
#                     names), opened by the built zvaaSUI.dll's own procedures, in the standard scheme
#                     and in high contrast black (*-high-contrast.png)
#   bitmaps/          sheets of every bitmap
#   index.html        a contact sheet showing them side by side with their names, and under each
#                     dialog what a screen reader hears of every control (*.reader.html)
#
#   make-pictures.sh BUILD_DIR
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
out=$build/pictures
rm -rf "$out"
mkdir -p "$out/bitmaps"
status=0

bash "$root/cmake/wine-session.sh" "$build" start || exit 1
bash "$root/cmake/wine-run.sh" "$build/wine/prefix" "$build/bin/zvaa_pictures.exe" "Z:$out/bitmaps" >/dev/null || status=1
bash "$root/cmake/wine-session.sh" "$build" stop

for dpi in 96 144; do
    mkdir -p "$out/${dpi}dpi"
    ZVAA_PICTURES_DIR="$out/${dpi}dpi" ZVAA_EXPECT_DPI=$dpi bash "$root/cmake/run-at-dpi.sh" "$build" "$dpi" \
        "$build/bin/readable.exe" --gtest_filter='EveryDialog.PicturesForAPerson' >"$out/${dpi}dpi.log" 2>&1 ||
        { status=1; echo "pictures: the $dpi DPI run failed (see $out/${dpi}dpi.log)" >&2; }
done

# The contact sheet: one section per folder, every picture at its own size with its name under it.
{
    echo '<!DOCTYPE html>'
    echo '<html lang="sv"><head><meta charset="utf-8"><title>zvaaSUI: bilder</title>'
    echo '<style>body{font-family:sans-serif;background:#eee}figure{display:inline-block;vertical-align:top;'
    echo 'margin:8px;padding:6px;background:#fff}figcaption{font-size:12px;margin-top:4px}'
    echo 'td,th{border:1px solid #ccc;padding:1px 4px;text-align:left}table{border-collapse:collapse}</style></head><body>'
    for section in 96dpi 144dpi bitmaps; do
        echo "<h2>$section</h2>"
        for file in "$out/$section"/*.png; do
            [ -f "$file" ] || continue
            name=${file#"$out/"}
            echo "<figure><a href=\"$name\"><img src=\"$name\" alt=\"$name\"></a><figcaption>$name"
            # What a screen reader hears of each control, beside the dialog it belongs to.
            [ -f "${file%.png}.reader.html" ] && cat "${file%.png}.reader.html"
            echo "</figcaption></figure>"
        done
    done
    echo '</body></html>'
} > "$out/index.html"

(cd "$out" && find . -name '*.png' | sort | sed 's|^\./|  |')
echo "pictures: contact sheet $out/index.html"
exit $status
