// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace orv {

class Dialogs;
class Launcher;

// frmAbout: the program's name and version, and a button that starts the system information
// program where the platform has one.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(Dialogs& dialogs, QWidget* parent = nullptr);

    void cmdOK_Click();
    void cmdSysInfo_Click();
    // Finds and starts the system information program; on a platform without one it shows
    // "System Information Is Unavailable At This Time".
    void StartSysInfo();

    // A version as the box writes it: the minor and patch numbers with two digits (3.45.01).
    static QString DisplayVersion(int major, int minor, int patch);

private:
    Dialogs& dialogs_;
};

} // namespace orv
