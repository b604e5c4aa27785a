// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace orv {

// Where the program finds and keeps its files.
struct AppPaths {
    QString currentDir;    // start-up reads "defaults" from here when there is one
    QString userConfigDir; // per-user configuration folder: "defaults" is written here
    QString manualPath;    // the user manual that Help > Contents opens

    // The program's own settings (the main window's place, the folder of the last file
    // dialog), in the per-user configuration folder: orvcfg.conf. The configuration itself is
    // never kept there.
    QString settingsFile() const;

    // The paths of this process: the current folder, the per-user configuration folder
    // (~/.config/orvcfg) and the manual shipped beside or under the executable.
    static AppPaths ForThisProcess();
};

// `path` when the program may open it as a settings file: a regular file, or nothing yet (it is
// made then). Otherwise, a named pipe, a device or a folder, the result is empty and the file is
// left alone: reading a pipe would block the program, and a new file is never written over it.
QString OpenableSettingsFile(const QString& path);

} // namespace orv
