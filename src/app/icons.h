#pragma once

#include <QIcon>

namespace orv {

// The program's own icons come from their SVG sources (resources/icons/src) through Qt's SVG
// icon engine, so that they stay sharp at any scale. Where that engine (a plugin) is missing,
// they are the PNGs made from the same sources.

// A toolbar button's icon, by the button's key ("new", "open", ...).
QIcon ToolbarIcon(const QString& key);
// The program's icon, shown as the window icon.
QIcon ProgramIcon();
// The icon drawn from the SVG file `svg`, or, where that cannot be drawn, the PNG file `png`
// of `pngSize` pixels (read when first drawn).
QIcon IconFromSources(const QString& svg, const QString& png, int pngSize);

} // namespace orv
