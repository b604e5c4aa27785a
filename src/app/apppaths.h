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

} // namespace orv
