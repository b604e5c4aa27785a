// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "panels/interfacepanel.h"

namespace orv {

// cfg3, "Interface": the header strings of the configuration and the bar decoder's interface.
class BarInterfacePanel : public InterfacePanel {
    Q_OBJECT
public:
    BarInterfacePanel(Config& config, const WindowInfo& info, QWidget* parent = nullptr);
};

} // namespace orv
