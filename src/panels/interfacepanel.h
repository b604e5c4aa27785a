// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settingspanel.h"

#include <vector>

namespace orv {

// A check box of an interface panel, restored by its "Set Default" button.
struct InterfaceCheck {
    const char* name;
    const char* key;
    bool enabled; // false: it shows and keeps its bit, but the user cannot change it
    bool visible;
};

struct InterfaceTable {
    // Marked for translation in the context orv::InterfacePanel.
    const char* userTab;      // caption of the first tab
    const char* interfaceTip; // tooltip of the second tab
    OptionLayout modes;       // the interface, restored by cmdDefault31_2
    std::vector<InterfaceCheck> checks;
};

// "Interface": the four header strings of the configuration on the first tab, the interface and
// its check boxes on the second. The bar decoder (cfg3) and the magnetic reader (magcfg3) differ
// only in their tables.
class InterfacePanel : public SettingsPanel {
    Q_OBJECT
public:
    InterfacePanel(Config& config, const WindowInfo& info, const InterfaceTable& table,
                   QWidget* parent = nullptr);
};

} // namespace orv
