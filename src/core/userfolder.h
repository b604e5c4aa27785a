// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace orv {

// The per-user folder of orvcfg (~/.config/orvcfg, after XDG_CONFIG_HOME): its settings file,
// the defaults file Save As Default writes, and the links comN that name the serial devices of
// "Com N". The window, orvctl and orvemu all find it here, whatever their own program names.
QString UserConfigFolder();

} // namespace orv
