// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/config.h"
#include "ui/windowinfo.h"

#include <QStringView>

#include <span>

class QWidget;

namespace orv {

class ChildWindow;
class Config;
struct Services;

// The command set that a window's menu item makes current: the Bar_Decoder menu's panels the bar
// decoder's, the Magnic_Reader menu's panels the magnetic reader's; the other windows leave the
// current one alone.
enum class CommandSet { None, Bar, Mag };

// A button of Toolbar1: its key (the action is named Toolbar1_ + key), tooltip and the desktop
// theme's icon for it. A key of nullptr: no button.
struct ToolbarButton {
    const char* key = nullptr;
    const char* tooltip = nullptr;
    const char* themeIcon = nullptr;
};

using MakeWindow = ChildWindow* (*)(Config& config, const Services& services,
                                    const WindowInfo& info, QWidget* parent);

// One row of the window registry: everything the main window knows of one of its child windows.
// The menus, the toolbar, the file commands and the "mag" switch all read these rows; no other
// list of the windows exists.
struct WindowRow {
    WindowInfo info;
    const char* menuCaption; // caption of its menu item, with the access-key ampersand
    int shortcut = 0;        // of its menu item (Qt key combination), 0 for none
    // The Magnic_Reader menu's own item for a window both menus open, or nullptr.
    const char* magMenuItem = nullptr;
    // The button that opens it while its command set is current; the panels of both command
    // sets share their buttons.
    ToolbarButton toolbar = {};
    CommandSet commandSet = CommandSet::None;
    int counterpart = NoPanel; // what the "mag" switch opens in its place; NoPanel: nothing
    bool showsImage = false;   // shows the working image: New and Open close it
    MakeWindow make;
};

// Every child window, in the order of their menu items (Bar_Decoder, Magnic_Reader, Tools).
std::span<const WindowRow> WindowRegistry();
// The window with this ActivePanel number (1..9), or nullptr.
const WindowRow* FindWindowRow(int number);
// The firmware update window, which has no ActivePanel number.
const WindowRow& FirmwareWindowRow();
// The window that the toolbar button `key` opens while the magnetic reader command set is current
// (magMode) or not; nullptr when the key opens none then.
const WindowRow* ToolbarWindowRow(QStringView key, bool magMode);

// The child windows' own view of their rows.
inline const WindowInfo* FindWindowInfo(int number) {
    const WindowRow* row = FindWindowRow(number);
    return row ? &row->info : nullptr;
}
inline const WindowInfo& FirmwareWindowInfo() {
    return FirmwareWindowRow().info;
}

} // namespace orv
