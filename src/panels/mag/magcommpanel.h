// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "panels/commpanel.h"

namespace orv {

// magcfg4, "Communication Parameters": the magnetic reader's RS232 line, keyboard wedge and
// output character settings, and on a fourth tab its card standard, track selection, start/stop
// characters, track 2 account number mode and track separator (bytes 25 bit 0, 26 bits 0..5, 27,
// 28, 83 bits 0..3 and 84).
class MagCommPanel : public CommPanel {
    Q_OBJECT
public:
    MagCommPanel(Config& config, const WindowInfo& info, QWidget* parent = nullptr);
};

} // namespace orv
