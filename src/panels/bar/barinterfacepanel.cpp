// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "barinterfacepanel.h"

namespace orv {

namespace {

// What the interface codes mean, and that a stored 3 shows no option and is kept, is the
// catalogue's. "Read Memory Enable" shows and keeps the read memory bit; nothing lets the user
// change it.
// clang-format off
const InterfaceTable Bar{
    QT_TRANSLATE_NOOP("orv::InterfacePanel", "&User Information"),
    QT_TRANSLATE_NOOP("orv::InterfacePanel",
                      "Interface Selection and 2nd Port Input Device Selection"),
    {"bar.interface.mode", "optCFG3_1", "fraCfg3_1", {{0, 2}, {1}}, "cmdDefault31_2"},
    {{"ChkRead", "bar.interface.read_memory", false, true}},
};
// clang-format on

} // namespace

BarInterfacePanel::BarInterfacePanel(Config& config, const WindowInfo& info, QWidget* parent)
    : InterfacePanel(config, info, Bar, parent) {}

} // namespace orv
