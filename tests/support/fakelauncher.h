// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/launcher.h"

#include <QList>

namespace orv::test {

// Launcher that starts nothing and records what it was asked to start.
class FakeLauncher : public Launcher {
public:
    bool startDetached(const QString& program, const QStringList& arguments) override {
        started.append(QStringList{program} + arguments);
        return startResult;
    }
    bool openFile(const QString& path) override {
        opened.append(path);
        return openResult;
    }

    bool startResult = false;
    bool openResult = true;
    QList<QStringList> started;
    QStringList opened;
};

} // namespace orv::test
