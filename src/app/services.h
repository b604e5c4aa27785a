// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace orv {

class Dialogs;
class Launcher;
class PortAccess;
class SerialPortFactory;

// The services the windows are given when they are built. main() passes the production ones;
// tests pass doubles.
struct Services {
    Dialogs& dialogs;
    Launcher& launcher;
    PortAccess& portAccess;
    // Makes the serial ports of the link windows; none: no serial port can be opened.
    SerialPortFactory* serialPorts = nullptr;
};

} // namespace orv
