// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace orv {

class CommandSet;

// orvctl apply: brings decoders to a configuration file, touching only those that differ; on
// the ports given, or with --watch on every decoder that is plugged in.
void AddApplyCommand(CommandSet& commands);

} // namespace orv
