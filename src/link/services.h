// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/exchange/linktiming.h"

namespace orv {

class Dialogs;
class Launcher;
class PortAccess;
class SerialPortFactory;

// The services the windows are built with: main() passes the production ones, tests pass
// doubles. The link windows take the bundle whole; a window that needs one service gets that.
struct Services {
    Dialogs& dialogs;
    Launcher& launcher;
    PortAccess& portAccess;
    // Makes the serial ports of the link windows (NoSerialPorts where none can be opened).
    SerialPortFactory& serialPorts;
    // The link's time-outs and pauses (tests scale them down).
    LinkTiming timing = {};
};

} // namespace orv
