#include "apppaths.h"
#include "commandline.h"
#include "fontpreloader.h"
#include "icons.h"
#include "mainwindow.h"
#include "processlauncher.h"
#include "qtdialogs.h"

#include "core/config.h"
#include "link/portaccess/portaccess.h"
#include "link/serial/qtserialport.h"
#include "orvproject.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    if (orv::AsksForHelpOrVersion(argc, argv)) {
        const QCoreApplication app(argc, argv);
        orv::ProcessCommandLine(argc, argv); // prints the text and ends the process
    }
    orv::FontPreloader fonts;
    QApplication app(argc, argv);
    fonts.wait();
    // The command line is read before anything else starts: a wrong one ends the process here.
    const QString file = orv::ProcessCommandLine(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(ORV_DESKTOP_ID));
    // The main window puts the SVG icon in its place once it has been drawn.
    QApplication::setWindowIcon(orv::ProgramIcon(orv::StartUpIconSource()));

    orv::Config config;
    const orv::AppPaths paths = orv::AppPaths::ForThisProcess();
    // The file dialogs start in the folder used last, kept in the per-user settings file.
    orv::QtDialogs dialogs(paths.settingsFile());
    orv::ProcessLauncher launcher;
    const auto portAccess = orv::CreateHardwarePortAccess();
    // "Com N" is the link comN in the per-user configuration folder, else the N-th serial
    // device of the machine.
    orv::QtSerialPortFactory serialPorts(paths.userConfigDir);
    const orv::Services services{dialogs, launcher, *portAccess, &serialPorts};

    orv::MainWindow window(config, services, paths);
    dialogs.setParent(&window);
    window.start(file);
    return app.exec();
}
