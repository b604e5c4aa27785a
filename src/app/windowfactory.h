// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/services.h"

class QDialog;
class QWidget;

namespace orv {

class ChildWindow;
class Config;

// Builds the main window's child windows, each as its row of the window registry says: the
// settings panels and link windows by ActivePanel number, the firmware update window; and the
// keyboard and RS232 test window.
class WindowFactory {
public:
    WindowFactory(Config& config, const Services& services)
        : config_(config), services_(services) {}
    virtual ~WindowFactory() = default;

    // The window with ActivePanel number 1..9; `mainWindow` is the window that hosts it.
    virtual ChildWindow* createChild(int number, QWidget* mainWindow);
    virtual ChildWindow* createFirmwareWindow(QWidget* mainWindow);
    // The modal keyboard and RS232 test window.
    virtual QDialog* createTestWindow(QWidget* mainWindow);

protected:
    Config& config_;
    Services services_;
};

} // namespace orv
