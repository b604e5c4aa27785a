#!/usr/bin/env bash
# Regenerates the bundled toolbar icons (used where the desktop's icon theme has none) and the
# program's icon. Needs ImageMagick. The PNGs are committed; this is only for editing them.
set -euo pipefail
cd "$(dirname "$0")"
for f in src/*.svg; do
    n=$(basename "$f" .svg)
    size=24
    [ "$n" = orvcfg ] && size=64
    convert -background none -density 300 "$f" -resize "${size}x${size}" "$n.png"
done
# The bar-code icon needs whole-pixel bars, so it is drawn directly.
convert -size 24x24 xc:none -fill white -stroke '#777777' -draw 'rectangle 1,3 22,20' \
    -stroke none -fill black -draw 'rectangle 4,6 5,17' -draw 'rectangle 7,6 7,17' \
    -draw 'rectangle 9,6 10,17' -draw 'rectangle 12,6 12,17' -draw 'rectangle 14,6 14,17' \
    -draw 'rectangle 16,6 17,17' -draw 'rectangle 19,6 19,17' bar.png
