// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settingspanel.h"

#include <array>

namespace orv {

class TabFrames;

// The option groups of a communication panel's first three tabs, each in the order loading shows
// them.
struct CommTable {
    // Baud rate, data bits, stop bits, parity, RTS/CTS, ACK/NAK, XON/XOFF.
    std::array<OptionLayout, 7> rs232;
    // Terminal type, upper/lower case, ALT method, numerical pad.
    std::array<OptionLayout, 4> keyboard;
    // Terminator, time-out between characters.
    std::array<OptionLayout, 2> output;
    const char* outputTab; // caption of the third tab, marked in the context orv::CommPanel
};

// "Communication Parameters": the RS232 line, keyboard wedge and output character settings, one
// tab each, with a "Set Default" button per tab. The bar decoder (cfg4) and the magnetic reader
// (magcfg4) differ only in their tables; the magnetic reader adds a fourth tab.
class CommPanel : public SettingsPanel {
    Q_OBJECT
public:
    CommPanel(Config& config, const WindowInfo& info, const CommTable& table,
              QWidget* parent = nullptr);

protected:
    TabFrames* tabs() const { return tabs_; }

private:
    TabFrames* tabs_ = nullptr;
};

} // namespace orv
