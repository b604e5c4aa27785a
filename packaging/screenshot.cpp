// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// orv_screenshot FILE DATE
//
// Draws the picture of the program that software centres show (the metainfo's screenshot): the
// main window as it starts, with the Communication Parameters panel open, on the offscreen
// platform, written to FILE as PNG. DATE (YYYY-MM-DD) stands for today, so that the same source
// gives the same picture. The build runs it; it is not installed.

#include "app/apppaths.h"
#include "app/mainwindow.h"
#include "app/processlauncher.h"
#include "core/config.h"
#include "core/dialogs.h"
#include "link/portaccess/portaccess.h"
#include "link/serial/serialport.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// Shows nothing: every message takes its default answer, every file dialog is cancelled.
class QuietDialogs : public orv::Dialogs {
public:
    Answer message(const Message& m) override {
        if (m.defaultButton)
            return *m.defaultButton;
        switch (m.buttons) {
        case Buttons::Ok:
        case Buttons::OkCancel:
            return Answer::Ok;
        case Buttons::YesNo:
        case Buttons::YesNoCancel:
            break;
        }
        return Answer::Yes;
    }
    std::optional<QString> openFileName(const FileRequest&) override { return std::nullopt; }
    std::optional<QString> saveFileName(const FileRequest&) override { return std::nullopt; }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QDate today = QDate::fromString(args.value(2), Qt::ISODate);
    if (args.size() != 3 || !today.isValid()) {
        std::fputs("usage: orv_screenshot FILE YYYY-MM-DD\n", stderr);
        return 2;
    }
    // A folder of its own stands for the current and the per-user folders: no kept window place
    // and no personal defaults reach the picture.
    QTemporaryDir home;
    orv::AppPaths paths;
    paths.currentDir = home.path();
    paths.userConfigDir = home.filePath(QStringLiteral("config"));
    paths.manualPath = home.filePath(QStringLiteral("manual.html"));

    orv::Config config;
    QuietDialogs dialogs;
    orv::ProcessLauncher launcher;
    orv::UnavailablePortAccess portAccess;
    orv::NoSerialPorts serialPorts;
    orv::MainWindow window(config, orv::Services{dialogs, launcher, portAccess, serialPorts},
                           paths);
    window.setToday([today] { return today; });
    window.start(QString());
    window.action(QStringLiteral("mnuConfigComm"))->trigger();

    int code = 1;
    // Once the window has been drawn and has taken its final icons.
    QTimer::singleShot(500, &window, [&] {
        if (window.grab().save(args.at(1), "PNG"))
            code = 0;
        else
            std::fprintf(stderr, "orv_screenshot: %s could not be written\n", argv[1]);
        QCoreApplication::quit();
    });
    app.exec();
    return code;
}
