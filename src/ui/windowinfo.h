// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>

namespace orv {

// What a child window knows of itself: its part of the window registry's row (src/app). The
// registry gives each window its row when it makes the window.
struct WindowInfo {
    int number;                  // ActivePanel number while open; 0 for the firmware update window
    const char* objectName;      // "cfg3", "frmTransmit", ...
    const char* caption;         // window caption
    const char* menuItem;        // the main window's menu item that opens the window
    bool checksMenuItem = false; // that item carries a check mark while the window is open
    // The "Set All Default" item disabled while the window is open, or nullptr.
    const char* defaultItem = nullptr;
    bool maximized = false; // shown maximised inside the main window
};

// A caption of the window registry (a window's or its menu item's) in the user's language.
inline QString RegistryText(const char* caption) {
    return QCoreApplication::translate("orv::WindowRegistry", caption);
}

} // namespace orv
