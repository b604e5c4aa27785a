// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "userfolder.h"

#include <QDir>
#include <QStandardPaths>

namespace orv {

QString UserConfigFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("orvcfg"));
}

} // namespace orv
