// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace orv {

// The program's own icons: the SVG sources (resources/icons/src), drawn by Qt's SVG icon engine
// at whatever size is asked, so that they stay sharp at any scale; and the PNGs made from the
// same sources, which are read only when first drawn and are exact at a device pixel ratio of
// 1. Where the SVG icon engine (a plugin) is missing, the PNGs serve throughout.
enum class IconSource { Png, Svg };

// What the window is first drawn with: the PNGs at a device pixel ratio of 1, since loading the
// SVG engine and parsing the sources would delay the first paint; the SVGs above it.
IconSource StartUpIconSource();

// A toolbar button's icon, by the button's key ("new", "open", ...).
QIcon ToolbarIcon(const QString& key, IconSource source = IconSource::Svg);
// The program's icon, shown as the window icon.
QIcon ProgramIcon(IconSource source = IconSource::Svg);
// The icon drawn from the SVG file `svg`, or, where that cannot be drawn, the PNG file `png`
// of `pngSize` pixels.
QIcon IconFromSources(const QString& svg, const QString& png, int pngSize);

} // namespace orv
