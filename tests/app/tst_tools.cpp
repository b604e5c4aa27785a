// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The tools inside the main window: the commands build the real windows, a firmware transfer
// cannot be cut short by other commands or by closing the program (they say why), and the
// keyboard and RS232 test reads the link settings the other windows chose.

#include "appfixture.h"

#include "link/windows/ddt.h"
#include "link/windows/frmisp.h"
#include "link/windows/frmreadmemory.h"
#include "orvemu/decoderemulator.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace orv;
using namespace orv::test;

namespace {

struct Rig : AppFixture {
    emu::DecoderEmulator emulator;
    Rig() {
        QDir().mkpath(paths.userConfigDir);
        if (!emulator.start() || !emulator.createLink(ComLinkPath(paths.userConfigDir, 1)))
            qFatal("no emulator");
        start();
    }
};

} // namespace

class TestTools : public QObject {
    Q_OBJECT
private slots:
    void commandsBuildTheTools();
    void transferOutlastsCommands();
    void krTestShowsSharedSettings();
};

void TestTools::commandsBuildTheTools() {
    Rig f;
    f.trigger("mnuToolsISP");
    QVERIFY(qobject_cast<FrmIsp*>(f.child("frmISP")));
    QVERIFY(f.child("frmISP")->isMaximized());
    QCOMPARE(f.config.ActivePanel, qint16(NoPanel));
    f.window->mnuToolsRDM_Click();
    QVERIFY(qobject_cast<FrmReadMemory*>(f.child("frmReadMemory")));
    QCOMPARE(f.openChildren(), QStringList{"frmReadMemory"});
    QVERIFY(!f.action("mnuToolsRDM")->isEnabled());
}

void TestTools::transferOutlastsCommands() {
    Rig f;
    f.emulator.core().loader.imageFile = f.dir.filePath(QStringLiteral("got.bin"));
    const QString image = f.dir.filePath(QStringLiteral("fw.bin"));
    AppFixture::WriteFile(image, QByteArray(2 * 184 + 5, '\x5a'));
    f.trigger("mnuToolsISP");
    auto* isp = qobject_cast<FrmIsp*>(f.child("frmISP"));
    isp->findChild<QLineEdit*>(QStringLiteral("TxtBinFile"))->setText(image);
    // Each command during the transfer, and whether it is refused with the reason: those that
    // would close the firmware window are; ISP, New and Open leave it open and go on.
    const QList<std::pair<const char*, bool>> commands = {
        {"mnuConfigInterface", true}, {"mnuConfigTransmit", true}, {"Toolbar1_mag", true},
        {"main window", true},        {"mnuToolsISP", false},      {"mnuFileNew", false}};
    const QString busy = QStringLiteral("A firmware update is in progress; wait until it ends.");
    QStringList failed;
    QTimer::singleShot(150, f.window.get(), [&] {
        for (const auto& [command, refused] : commands) {
            f.dialogs.clear();
            if (command == QLatin1String("main window"))
                f.window->close();
            else
                f.trigger(command);
            const QStringList expected = refused ? QStringList{busy} : QStringList{};
            if (f.dialogs.texts() != expected || f.openChildren() != QStringList{"frmISP"} ||
                !f.window->isVisible())
                failed << QString::fromLatin1(command);
        }
    });
    QTest::mouseClick(isp->findChild<QPushButton*>(QStringLiteral("cmdTransmit")), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!isp->isExchangeRunning(), GiveUpMsecs);
    QCOMPARE(failed, QStringList{});
    QCOMPARE(f.dialogs.texts(), QStringList{"ISP Transmit OK!"});
    QTRY_VERIFY_WITH_TIMEOUT(f.emulator.core().loader.finished, GiveUpMsecs);
    QCOMPARE(AppFixture::ReadFile(f.dir.filePath(QStringLiteral("got.bin"))).left(373),
             QByteArray(373, '\x5a'));
    // Once it has ended, the next command closes the window.
    f.trigger("mnuConfigInterface");
    QCOMPARE(f.openChildren(), QStringList{"cfg3"});
}

void TestTools::krTestShowsSharedSettings() {
    Rig f;
    f.trigger("mnuConfigTransmit");
    f.child("frmTransmit")->findChild<QAbstractButton*>(QStringLiteral("optBaud(1)"))->click();
    QString label;
    bool portOpen = false;
    QTimer::singleShot(0, [&] {
        auto* ddt = qobject_cast<Ddt*>(QApplication::activeModalWidget());
        if (!ddt)
            return;
        label = ddt->findChild<QLabel*>(QStringLiteral("LblPort"))->text();
        portOpen = ddt->serialPort().isOpen();
        ddt->close();
    });
    f.trigger("mnuToolsKRtest");
    QCOMPARE(label, QStringLiteral("COM 1 :  2400,N,8,1 "));
    QVERIFY(portOpen);
    QVERIFY(f.dialogs.shown.isEmpty());
    QCOMPARE(f.openChildren(), QStringList{"frmTransmit"});
}

QTEST_MAIN(TestTools)
#include "tst_tools.moc"
