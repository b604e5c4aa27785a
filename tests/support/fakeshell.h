// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/childwindow.h"

#include <QHash>

namespace orv::test {

// Stands in for the main window where a test builds a child window on its own: records the
// menu marks the window sets (ChildWindow::setHost before load()).
class FakeShell : public ChildHost {
public:
    void setMenuChecked(const QString& item, bool on) override { checked[item] = on; }
    void setMenuEnabled(const QString& item, bool on) override { enabled[item] = on; }

    bool isChecked(const QString& item) const { return checked.value(item, false); }
    bool isEnabled(const QString& item) const { return enabled.value(item, true); }

    QHash<QString, bool> checked;
    QHash<QString, bool> enabled;
};

} // namespace orv::test
