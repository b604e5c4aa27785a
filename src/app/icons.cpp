#include "icons.h"

namespace orv {

QIcon IconFromSources(const QString& svg, const QString& png, int pngSize) {
    // With the SVG icon engine the file is parsed here and drawn at whatever size is asked;
    // without it no engine can read the file and the icon stays null.
    QIcon icon(svg);
    if (icon.isNull()) {
        icon = QIcon();
        icon.addFile(png, QSize(pngSize, pngSize));
    }
    return icon;
}

QIcon ToolbarIcon(const QString& key) {
    return IconFromSources(QStringLiteral(":/icons/src/%1.svg").arg(key),
                           QStringLiteral(":/icons/%1.png").arg(key), 24);
}

QIcon ProgramIcon() {
    return IconFromSources(QStringLiteral(":/icons/src/orvcfg.svg"),
                           QStringLiteral(":/icons/orvcfg.png"), 64);
}

} // namespace orv
