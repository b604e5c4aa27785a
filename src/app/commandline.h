// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class QCoreApplication;

namespace orv {

// orvcfg [--lang LANG] [OPTIONS] [FILE]
//
// Sets the application's name and version and reads its command line (the application object
// exists by then). --help and --version
// print their text and end the process; a wrong command line is reported on stderr and ends the
// process with status 1. Otherwise the result is the configuration file named on the command
// line as an absolute path (empty when there is none); the main window opens it at start-up as
// File > Open does. The arguments are read from `argv` (what the application object left of
// it) as bytes, so that a name that is not UTF-8 names its file (see core/filename.h).
// `language`, when given, receives the language that --lang asks for (empty without it: the
// system's languages decide).
QString ProcessCommandLine(int argc, const char* const* argv, QString* language = nullptr);

// What is wrong with the command line (an unknown option, two files, an empty name), found
// without any application object, so without a display; nothing when it is right. The
// toolkit's own options (-platform, -style, ...) are left to the toolkit.
std::optional<QString> CommandLineError(int argc, const char* const* argv);

// True when the command line asks for --help or --version. Their answer needs no display, so
// main() gives them a plain QCoreApplication.
bool AsksForHelpOrVersion(int argc, const char* const* argv);

} // namespace orv
