// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "maginterfacepanel.h"

namespace orv {

namespace {

// The interface codes (bits 6..7, a stored 3 shown as "USB Mode" and kept) are the catalogue's.
// "Read Memory Enable" is shown but cannot be changed, "Disable  External Keyboard" is not shown
// at all; both keep their bits, and "Set Default" restores them.
// clang-format off
const InterfaceTable Mag{
    QT_TRANSLATE_NOOP("orv::InterfacePanel", "&User Informations"),
    QT_TRANSLATE_NOOP("orv::InterfacePanel", "Interface and Code ID Selection"),
    {"mag.interface.mode", "OptCfg3_1", "fraCfg3_1", {{0, 2}, {1}}, "cmdDefault31_2"},
    {{"ChkMSRMem", "mag.interface.read_memory", false, true},
     {"ChkNotebook", "mag.interface.disable_external_keyboard", true, false}},
};
// clang-format on

} // namespace

MagInterfacePanel::MagInterfacePanel(Config& config, const WindowInfo& info, QWidget* parent)
    : InterfacePanel(config, info, Mag, parent) {}

} // namespace orv
