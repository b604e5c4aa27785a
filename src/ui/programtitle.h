// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "orvproject.h"

#include <QCoreApplication>
#include <QString>

namespace orv {

// The program's name and title, defined once.

// "Orv Configuration": the caption's name at start-up, and the name in the desktop entry and the
// metainfo (ORV_PROGRAM_NAME in the top CMakeLists.txt).
inline const QString ProgramName = QStringLiteral(ORV_PROGRAM_NAME);
// "Configuration Setup": the title of the program's messages, and the caption's name once a
// configuration has been made new, opened or saved under a name; in the user's language.
inline QString ProgramTitle() {
    return QCoreApplication::translate("orv::ProgramTitle", "Configuration Setup");
}

// The main window's caption: the name, a colon and a blank, and the configuration's file name.
inline QString Caption(const QString& name, const QString& fileName) {
    return name + QStringLiteral(": ") + fileName;
}

} // namespace orv
