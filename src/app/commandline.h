#pragma once

#include <QString>

#include <optional>

class QCoreApplication;

namespace orv {

// orvcfg [OPTIONS] [FILE]
//
// Sets the application's name and version and reads its command line. --help and --version
// print their text and end the process; a wrong command line is reported on stderr and ends the
// process with status 1. Otherwise the result is the configuration file named on the command
// line as an absolute path (empty when there is none); the main window opens it at start-up as
// File > Open does.
QString ProcessCommandLine(const QCoreApplication& app);

// What is wrong with the command line (an unknown option, two files, an empty name), found
// without any application object, so without a display; nothing when it is right. The
// toolkit's own options (-platform, -style, ...) are left to the toolkit.
std::optional<QString> CommandLineError(int argc, const char* const* argv);

// True when the command line asks for --help or --version. Their answer needs no display, so
// main() gives them a plain QCoreApplication.
bool AsksForHelpOrVersion(int argc, const char* const* argv);

} // namespace orv
