#pragma once

namespace orv {

// What the main window and the child windows' own loading need to know of each child window.
struct WindowInfo {
    int number;              // ActivePanel number while open; 0 for the firmware update window
    const char* objectName;  // "cfg3", "frmTransmit", ...
    const char* caption;     // window caption
    const char* menuItem;    // menu item checked while the window is open, or nullptr
    const char* defaultItem; // "Set All Default" item disabled while the window is open, or nullptr
    bool maximized;          // shown maximised inside the main window
};

// The info of the window with this ActivePanel number (1..9), or nullptr.
const WindowInfo* FindWindowInfo(int number);
// The firmware update window, which has no ActivePanel number.
const WindowInfo& FirmwareWindowInfo();

} // namespace orv
