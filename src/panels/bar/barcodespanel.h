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
    // The tabs that hold more than a column of controls, laid out apart.
    void layOutSymbologies(TabFrames* tabs);
    void layOutUpc(TabFrames* tabs, BitCheckBox* upcAEan13, BitCheckBox* isbn,
                   OptionGroup* supplemental, OptionGroup* upcCheck);
    void layOutCodabar(TabFrames* tabs, const std::vector<BitCheckBox*>& chkStart,
                       BitCheckBox* setUp);

    std::vector<BitCheckBox*> symbologyChecks_;
};

} // namespace orv
