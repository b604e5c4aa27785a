// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/exchange/linktiming.h"

namespace orv {

class Dialogs;
class PortAccess;
class SerialPortFactory;

// The services a link window is built with.
struct LinkServices {
    Dialogs& dialogs;
    PortAccess& portAccess;
    SerialPortFactory& serialPorts;
    // The link's time-outs and pauses (tests scale them down).
    LinkTiming timing = {};
};

} // namespace orv
