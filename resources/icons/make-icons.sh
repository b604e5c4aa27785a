#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The orvcfg developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Regenerates the PNGs made from the SVG sources in src/: the program's icon at the usual sizes
# of the hicolor theme (hicolor/NxN/orvcfg.png, installed beside the scalable SVG; the 64-pixel
# one is also the window icon where Qt's SVG icon engine is missing) and the toolbar icons for
# when that engine is missing. Needs ImageMagick
# with its SVG coder (Debian: imagemagick libmagickcore-6.q16-6-extra). The PNGs are
# committed; this is only for editing them.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "hicolor/${size}x${size}"
    convert -background none -density 600 src/orvcfg.svg -resize "${size}x${size}" -depth 8 -strip \
        "hicolor/${size}x${size}/orvcfg.png"
done
for f in src/*.svg; do
    n=$(basename "$f" .svg)
    case "$n" in bar | orvcfg) continue ;; esac
    convert -background none -density 300 "$f" -resize 24x24 "$n.png"
done
# The bar-code icon needs whole-pixel bars, so it is drawn directly.
convert -size 24x24 xc:none -fill white -stroke '#777777' -draw 'rectangle 1,3 22,20' \
    -stroke none -fill black -draw 'rectangle 4,6 5,17' -draw 'rectangle 7,6 7,17' \
    -draw 'rectangle 9,6 10,17' -draw 'rectangle 12,6 12,17' -draw 'rectangle 14,6 14,17' \
    -draw 'rectangle 16,6 17,17' -draw 'rectangle 19,6 19,17' bar.png
