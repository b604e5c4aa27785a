// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "panels/settingspanel.h"

namespace orv {

class Dialogs;

// cfg6, "Miscellaneous Parameters": the bar decoder's language, bar-code identifier characters,
// truncation counts and prefix and suffix characters (bytes 0..15, 16 bits 4..7, 17 and 22 bit 2).
class BarMiscPanel : public SettingsPanel {
    Q_OBJECT
public:
    BarMiscPanel(Config& config, Dialogs& dialogs, const WindowInfo& info,
                 QWidget* parent = nullptr);
};

} // namespace orv
