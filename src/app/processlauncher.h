// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/launcher.h"

namespace orv {

// Starts programs, and opens files with the desktop's opener (xdg-open), as detached processes.
// Each child runs `childSetup` (when given) before exec(): main() passes the release of the
// keyboard ports, since port access would otherwise pass on to every program started. It must
// only make system calls.
class ProcessLauncher : public Launcher {
public:
    explicit ProcessLauncher(void (*childSetup)() = nullptr) : childSetup_(childSetup) {}

    bool startDetached(const QString& program, const QStringList& arguments) override;
    bool openFile(const QString& path) override;

private:
    void (*childSetup_)();
};

} // namespace orv
