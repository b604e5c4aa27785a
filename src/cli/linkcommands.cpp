// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkcommands.h"

#include "commandset.h"
#include "linksetup.h"

#include <algorithm>

namespace orv {

namespace {

// The link commands, in the order the help lists them.
std::vector<Command> LinkCommands() {
    return {DownloadCommand(), UploadCommand(), VersionCommand(),
            FlashCommand(),    MemoryCommand(), MonitorCommand(), ApplyCommand()};
}

} // namespace

bool IsLinkCommand(const QString& name) {
    const std::vector<Command> commands = LinkCommands();
    return std::any_of(commands.begin(), commands.end(),
                       [&](const Command& c) { return c.name == name; });
}

void AddLinkCommands(CommandSet& commands) {
    for (Command& c : LinkCommands())
        commands.add(std::move(c));
}

} // namespace orv
