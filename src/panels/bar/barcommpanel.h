// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "panels/commpanel.h"

namespace orv {

// cfg4, "Communication Parameters": the bar decoder's RS232 line, keyboard wedge and output
// character settings (bytes 16, 19 and 20).
class BarCommPanel : public CommPanel {
    Q_OBJECT
public:
    BarCommPanel(Config& config, const WindowInfo& info, QWidget* parent = nullptr);
};

} // namespace orv
