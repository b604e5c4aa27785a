// orvctl: reads, changes and compares configuration files from the command line.

#include "commandset.h"
#include "console.h"
#include "filecommands.h"

#include "orvproject.h"

#include <cstdio>

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    orv::StdConsole console;
    orv::CommandSet commands(
        QStringLiteral("orvctl"), QStringLiteral(ORV_VERSION),
        QStringLiteral("Reads, changes and compares the configuration files (.cfg) and defaults "
                       "files of orvcfg."));
    orv::AddFileCommands(commands);
    int code = commands.run(arguments, console);

    // Output that could not be written (a full disk, a closed pipe) is trouble, not success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs("orvctl: the output could not be written\n", stderr);
        code = orv::ExitTrouble;
    }
    return code;
}
