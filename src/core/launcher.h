// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace orv {

// Starts external programs (the help viewer), so that tests can see what would start.
class Launcher {
public:
    virtual ~Launcher() = default;
    // Starts a program without waiting for it; false when it cannot be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
    // Opens a local file in the desktop's viewer for its type; false when that fails.
    virtual bool openFile(const QString& path) = 0;
};

} // namespace orv
