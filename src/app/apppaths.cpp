// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "apppaths.h"

#include "core/userfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace orv {

QString AppPaths::settingsFile() const {
    return QDir(userConfigDir).filePath(QStringLiteral("orvcfg.conf"));
}

QString OpenableSettingsFile(const QString& path) {
    const QFileInfo info(path);
    return !info.exists() || info.isFile() ? path : QString();
}

AppPaths AppPaths::ForThisProcess() {
    AppPaths p;
    p.currentDir = QDir::currentPath();
    p.userConfigDir = UserConfigFolder();
    const QString appDir = QCoreApplication::applicationDirPath();
    // In the build tree the manual lies beside the executable; installed, it lies in
    // <prefix>/share/orvcfg.
    const QStringList candidates = {appDir + QStringLiteral("/manual.html"),
                                    appDir + QStringLiteral("/../share/orvcfg/manual.html")};
    p.manualPath = candidates.constLast();
    for (const QString& c : candidates) {
        if (QFileInfo::exists(c)) {
            p.manualPath = QFileInfo(c).canonicalFilePath();
            break;
        }
    }
    return p;
}

} // namespace orv
