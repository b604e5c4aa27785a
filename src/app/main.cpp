// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "apppaths.h"
#include "commandline.h"
#include "fontpreloader.h"
#include "icons.h"
#include "mainwindow.h"
#include "privileges.h"
#include "processlauncher.h"
#include "qtdialogs.h"
#include "translations.h"

#include "core/config.h"
#include "link/portaccess/portaccess.h"
#include "link/serial/qtserialport.h"
#include "orvproject.h"

#include <QApplication>
#include <QLocale>

#include <cstdio>

int main(int argc, char* argv[]) {
    // The keyboard link's port access is the one privilege the program uses. It is taken
    // before anything else, and every privilege is given up right after: before the toolkit
    // loads a plugin or starts a thread.
    const orv::StartUpAccess access =
        orv::TakePortsAndDropPrivileges(orv::SystemPrivilegeCalls(), orv::TakeKeyboardPorts);
    if (!access.refusal.empty()) {
        std::fprintf(stderr, "orvcfg: %s; not starting with privileges it cannot give up\n",
                     access.refusal.c_str());
        return 1;
    }
    // A wrong command line needs no display to be told.
    if (const auto error = orv::CommandLineError(argc, argv)) {
        std::fprintf(stderr, "orvcfg: %s\n", qPrintable(*error));
        return 1;
    }
    if (orv::AsksForHelpOrVersion(argc, argv)) {
        const QCoreApplication app(argc, argv);
        orv::ProcessCommandLine(argc, argv); // prints the text and ends the process
    }
    orv::FontPreloader fonts;
    QApplication app(argc, argv);
    fonts.wait();
    // The toolkit has taken its own options out of the command line: the FILE is what remains.
    QString language;
    const QString file = orv::ProcessCommandLine(argc, argv, &language);
    // The windows' language: --lang, else the system's (LANG=C and English give English).
    const orv::Translations translations(language.isEmpty() ? QLocale::system().uiLanguages()
                                                            : QStringList{language});
    QGuiApplication::setDesktopFileName(QStringLiteral(ORV_DESKTOP_ID));
    // The main window puts the SVG icon in its place once it has been drawn.
    QApplication::setWindowIcon(orv::ProgramIcon(orv::StartUpIconSource()));

    orv::Config config;
    const orv::AppPaths paths = orv::AppPaths::ForThisProcess();
    // The file dialogs start in the folder used last, kept in the per-user settings file.
    orv::QtDialogs dialogs(paths.settingsFile());
    // Programs it starts (the help viewer) do not inherit the keyboard ports.
    orv::ProcessLauncher launcher(orv::ReleaseKeyboardPorts);
    const auto portAccess = orv::CreateHardwarePortAccess(access.portsTaken);
    // "Com N" is the link comN in the per-user configuration folder, else the N-th serial
    // device of the machine.
    orv::QtSerialPortFactory serialPorts(paths.userConfigDir);
    const orv::Services services{dialogs, launcher, *portAccess, serialPorts};

    orv::MainWindow window(config, services, paths);
    dialogs.setParent(&window);
    window.start(file);
    return app.exec();
}
