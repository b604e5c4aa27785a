// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/serialsettings.h"

#include <QString>

#include <optional>

namespace orv {

class CommandSet;
struct LinkTiming;

// The commands that talk to decoders over RS232: download, upload, version, flash, memory and
// monitor.
void AddLinkCommands(CommandSet& commands);
// Whether a command name is one of them.
bool IsLinkCommand(const QString& name);

// The line settings of a settings text "BAUD,P,D,S" (the window's 9600,N,8,1 when null) with
// the parts given by options replaced; nothing, with the reason, when a part is not valid.
// parity: none, even, odd, mark, space or their letters; dataBits 7 or 8; stopBits 1 or 2.
std::optional<SerialSettings> LinkSettings(const QString& settings, const QString& baud,
                                           const QString& parity, const QString& dataBits,
                                           const QString& stopBits, QString* why);

// The link timing the commands run with: the real one, unless ORVCTL_TIMING_SCALE holds a
// factor (a test-only switch: the test suite runs the same exchanges with short time-outs).
LinkTiming CommandLinkTiming();

} // namespace orv
