// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "icons.h"

#include <QGuiApplication>

namespace orv {

namespace {

QIcon PngIcon(const QString& png, int size) {
    QIcon icon;
    // With its size given, the file is read when the icon is first drawn, not here.
    icon.addFile(png, QSize(size, size));
    return icon;
}

QIcon FromSources(const QString& name, const QString& png, int pngSize, IconSource source) {
    if (source == IconSource::Png)
        return PngIcon(png, pngSize);
    return IconFromSources(QStringLiteral(":/icons/src/%1.svg").arg(name), png, pngSize);
}

} // namespace

IconSource StartUpIconSource() {
    return qGuiApp->devicePixelRatio() > 1.0 ? IconSource::Svg : IconSource::Png;
}

QIcon IconFromSources(const QString& svg, const QString& png, int pngSize) {
    // With the SVG icon engine the file is parsed here and drawn at whatever size is asked;
    // without it no engine can read the file and the icon stays null.
    const QIcon icon(svg);
    return icon.isNull() ? PngIcon(png, pngSize) : icon;
}

QIcon ToolbarIcon(const QString& key, IconSource source) {
    return FromSources(key, QStringLiteral(":/icons/%1.png").arg(key), 24, source);
}

QIcon ProgramIcon(IconSource source) {
    return FromSources(QStringLiteral("orvcfg"), QStringLiteral(":/icons/hicolor/64x64/orvcfg.png"),
                       64, source);
}

} // namespace orv
