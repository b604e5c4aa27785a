// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "panels/settingspanel.h"

namespace orv {

// cfg5, "Bar Codes and Others": which symbologies the decoder reads and their options (bytes 18,
// 19 bit 0, 21, 22 bits 3..7 and 23).
class BarCodesPanel : public SettingsPanel {
    Q_OBJECT
public:
    BarCodesPanel(Config& config, const WindowInfo& info, QWidget* parent = nullptr);

private:
    void Command1_Click();

    std::vector<BitCheckBox*> symbologyChecks_;
};

} // namespace orv
