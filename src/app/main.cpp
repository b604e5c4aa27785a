#include "apppaths.h"
#include "fontpreloader.h"
#include "mainwindow.h"
#include "processlauncher.h"
#include "qtdialogs.h"

#include "core/config.h"
#include "link/portaccess/portaccess.h"
#include "link/serial/qtserialport.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    orv::FontPreloader fonts;
    QApplication app(argc, argv);
    fonts.wait();
    QApplication::setApplicationName(QStringLiteral("orvcfg"));
    QApplication::setApplicationVersion(QStringLiteral("3.45.01"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/orvcfg.png")));

    orv::Config config;
    orv::QtDialogs dialogs;
    orv::ProcessLauncher launcher;
    const auto portAccess = orv::CreateHardwarePortAccess();
    const orv::AppPaths paths = orv::AppPaths::ForThisProcess();
    // "Com N" is the link comN in the per-user configuration folder, else the N-th serial
    // device of the machine.
    orv::QtSerialPortFactory serialPorts(paths.userConfigDir);
    const orv::Services services{dialogs, launcher, *portAccess, &serialPorts};

    orv::MainWindow window(config, services, paths);
    dialogs.setParent(&window);
    window.load();
    window.show();
    return app.exec();
}
