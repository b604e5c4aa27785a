// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/mainwindow.h"
#include "app/windowfactory.h"
#include "core/config.h"
#include "link/serial/qtserialport.h"
#include "support/fakedialogs.h"
#include "support/fakelauncher.h"
#include "support/recordingportaccess.h"
#include "support/waiting.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace orv::test {

// A main window built with test doubles, in a temporary folder that stands for the current
// folder and the per-user configuration folder.
struct AppFixture {
    QTemporaryDir dir;
    Config config;
    FakeDialogs dialogs;
    FakeLauncher launcher;
    RecordingPortAccess port;
    AppPaths paths;
    // "Com N" is only ever the link comN in the temporary configuration folder (pointing to an
    // emulator's pseudo-terminal): the machine's own serial devices are never listed.
    std::unique_ptr<QtSerialPortFactory> serialPorts;
    std::unique_ptr<MainWindow> window;

    static QDate Today() { return QDate(2026, 12, 8); }

    // configDir: the per-user configuration folder (a folder of its own when empty), so that a
    // second fixture can stand for a second run of the program.
    explicit AppFixture(const QString& configDir = QString()) {
        paths.currentDir = dir.filePath(QStringLiteral("cwd"));
        paths.userConfigDir =
            configDir.isEmpty() ? dir.filePath(QStringLiteral("config")) : configDir;
        paths.manualPath = dir.filePath(QStringLiteral("manual.html"));
        QDir().mkpath(paths.currentDir);
        serialPorts = std::make_unique<QtSerialPortFactory>(paths.userConfigDir,
                                                            [] { return QList<SerialDevice>{}; });
        window = std::make_unique<MainWindow>(
            config, Services{dialogs, launcher, port, *serialPorts}, paths);
        window->setToday(&AppFixture::Today);
    }

    // Start-up, as the program runs it, with the FILE of the command line if any.
    void start(const QString& file = QString()) { window->start(file); }

    QAction* action(const char* name) const {
        QAction* a = window->action(QString::fromLatin1(name));
        if (!a)
            qFatal("no action %s", name);
        return a;
    }
    void trigger(const char* name) { action(name)->trigger(); }

    // The child window now open, by object name, or nullptr.
    ChildWindow* child(const char* objectName) const {
        for (int n = PanelCfg3; n <= PanelReadMemory; ++n) {
            ChildWindow* w = window->openWindow(n);
            if (w && w->objectName() == QLatin1String(objectName))
                return w;
        }
        ChildWindow* isp = window->firmwareWindow();
        if (isp && !isp->isUnloaded() && isp->objectName() == QLatin1String(objectName))
            return isp;
        return nullptr;
    }

    // Names of the open child windows.
    QStringList openChildren() const {
        QStringList names;
        for (int n = PanelCfg3; n <= PanelReadMemory; ++n) {
            if (ChildWindow* w = window->openWindow(n))
                names << w->objectName();
        }
        if (ChildWindow* isp = window->firmwareWindow(); isp && !isp->isUnloaded())
            names << isp->objectName();
        return names;
    }

    static void WriteFile(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray ReadFile(const QString& path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return f.readAll();
    }
};

} // namespace orv::test
