// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// orvctl: reads, changes and compares configuration files, and talks to decoders over RS232,
// from the command line.

#include "applycommand.h"
#include "commandset.h"
#include "console.h"
#include "filecommands.h"
#include "linkcommands.h"

#include "core/filename.h"
#include "orvproject.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <optional>

int main(int argc, char** argv) {
    // As bytes: a file name that is not UTF-8 still names its file.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << orv::FileNameFromBytes(QByteArray(argv[i]));
    // The link commands run their exchanges on an event loop, which needs the application
    // object; the file commands start faster without it.
    std::optional<QCoreApplication> app;
    if (!arguments.isEmpty() && orv::IsLinkCommand(arguments.constFirst())) {
        app.emplace(argc, argv);
        // A closed output (orvctl ... | head) must not end the process in the middle of an
        // exchange: a write to it fails instead, and the exchanges run to their end.
        std::signal(SIGPIPE, SIG_IGN);
    }

    orv::StdConsole console;
    orv::CommandSet commands(
        QStringLiteral("orvctl"), QStringLiteral(ORV_VERSION),
        QStringLiteral("Reads, changes and compares the configuration files (.cfg) and defaults "
                       "files of orvcfg, and talks to decoders over RS232: download, upload, "
                       "firmware version and update, memory, and a monitor of what they send."));
    orv::AddFileCommands(commands);
    orv::AddLinkCommands(commands);
    orv::AddApplyCommand(commands);
    int code = commands.run(arguments, console);

    // Output that could not be written (a full disk, a closed pipe) is trouble, not success,
    // unless the output of the command is no part of its result.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("orvctl: the output could not be written\n", stderr);
        const orv::Command* command =
            arguments.isEmpty() ? nullptr : commands.find(arguments.constFirst());
        if (!command || command->outputIsResult)
            code = orv::ExitTrouble;
    }
    return code;
}
