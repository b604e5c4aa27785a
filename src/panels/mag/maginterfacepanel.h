// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "panels/interfacepanel.h"

namespace orv {

// magcfg3, "Interface": the header strings of the configuration and the magnetic reader's
// interface (byte 26 bits 6..7), read memory and external keyboard bits (byte 25 bits 1 and 3).
class MagInterfacePanel : public InterfacePanel {
    Q_OBJECT
public:
    MagInterfacePanel(Config& config, const WindowInfo& info, QWidget* parent = nullptr);
};

} // namespace orv
