// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A running frmTransmit exchange meets the commands that close its window: the window's own
// closing, New, Open, another window, the "mag" button, and closing the main window. The
// exchange ends at once and cleanly: no crash, the serial port closed, the keyboard interrupts
// unmasked once, no result message, and the window goes. Once the outcome shows, the command
// holds its window (Transmit or memory) until it has ended: a close is refused meanwhile.

#include "appfixture.h"

#include "link/serial/serialport.h"
#include "link/windows/frmtransmit.h"
#include "link/windows/linkwindow.h"
#include "orvemu/decoderemulator.h"
#include "support/keyboarddecoder.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace orv;
using namespace orv::test;

namespace {

const QStringList ResultTexts = {"Time Out Error!",  "Times Out Error",  "Download OK!",
                                 "Download Failed!", "   Upload OK!   ", "Upload Failed!"};

struct Rig : AppFixture {
    emu::DecoderEmulator emulator;
    QPointer<FrmTransmit> transmit;

    Rig() {
        QDir().mkpath(paths.userConfigDir);
        if (!emulator.start() || !emulator.createLink(ComLinkPath(paths.userConfigDir, 1)))
            qFatal("no emulator");
        emulator.core().fault = emu::Fault::Silent;
        start();
        trigger("mnuConfigTransmit");
        transmit = qobject_cast<FrmTransmit*>(child("frmTransmit"));
        if (!transmit)
            qFatal("no frmTransmit");
    }
    QPushButton* button(const char* name) const {
        return transmit->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void chooseLink(int mode) {
        transmit->findChild<QRadioButton*>(QStringLiteral("OptMode(%1)").arg(mode))->click();
    }
    // A configuration file with an image unlike the defaults.
    QString savedFile() {
        const QString path = dir.filePath(QStringLiteral("other.cfg"));
        const Image keep = config.CfgData;
        for (int i = 0; i < ImageSize; ++i)
            config.CfgData[i] = static_cast<quint8>(i);
        dialogs.saveResults = {path};
        trigger("mnuFileSaveAs");
        config.CfgData = keep;
        config.MarkSaved();
        dialogs.clear();
        return path;
    }
};

QStringList ResultsShown(const FakeDialogs& d) {
    QStringList out;
    for (const QString& t : d.texts()) {
        if (ResultTexts.contains(t))
            out << t;
    }
    return out;
}

} // namespace

class TestTransmitClose : public QObject {
    Q_OBJECT
private slots:
    void opensMaximised();
    void commandDuringWait_data();
    void commandDuringWait();
    void closeWhileResultShows_data();
    void closeWhileResultShows();
    void keyboardUnmaskedBeforeShutdown();
};

void TestTransmitClose::opensMaximised() {
    Rig f;
    QVERIFY(f.transmit->isMaximized());
    QCOMPARE(f.config.ActivePanel, qint16(PanelTransmit));
    QVERIFY(!f.action("mnuConfigDefault")->isEnabled());
    // Its own Close button closes it, and the command opens it again.
    QTest::mouseClick(f.button("cmdClose"), Qt::LeftButton);
    QVERIFY(f.openChildren().isEmpty());
    QVERIFY(f.action("mnuConfigDefault")->isEnabled());
    f.trigger("mnuMagTransmit");
    QCOMPARE(f.openChildren(), QStringList{"frmTransmit"});
}

void TestTransmitClose::commandDuringWait_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("link");
    QTest::addColumn<QString>("button");
    const QStringList commands = {
        "close",        "mnuFileNew",        "mnuFileOpen", "mnuConfigInterface",
        "Toolbar1_mag", "mnuConfigTransmit", "main window"};
    for (const QString& c : commands) {
        QTest::addRow("%s, RS232 upload", qPrintable(c)) << c << 1 << "cmdReceive";
        QTest::addRow("%s, keyboard download", qPrintable(c)) << c << 0 << "cmdTransmit";
    }
    QTest::newRow("close, RS232 download") << "close" << 1 << "cmdTransmit";
    QTest::newRow("close, keyboard version") << "close" << 0 << "CmdVersion";
}

void TestTransmitClose::commandDuringWait() {
    QFETCH(QString, command);
    QFETCH(int, link);
    QFETCH(QString, button);
    Rig f;
    const QString file = command == QLatin1String("mnuFileOpen") ? f.savedFile() : QString();
    f.chooseLink(link);
    KeyboardDecoder decoder(f.port, f.transmit->findChild<QLineEdit*>(QStringLiteral("Text1")));
    decoder.answerAfterBursts = 0; // the keyboard decoder is silent too

    bool portOpenAfter = true;
    bool runningAfter = true;
    bool unloadedAfter = false;
    int keyboardWritesAtCommand = -1;
    bool commanded = false;
    QTimer::singleShot(250, f.window.get(), [&] {
        QVERIFY(f.transmit->isExchangeRunning());
        keyboardWritesAtCommand = static_cast<int>(f.port.valuesTo(KeyboardDataPort).size());
        if (command == QLatin1String("close")) {
            f.transmit->close();
        } else if (command == QLatin1String("main window")) {
            f.window->close();
        } else {
            if (!file.isEmpty())
                f.dialogs.openResults = {file};
            f.trigger(qPrintable(command));
        }
        portOpenAfter = f.transmit && f.transmit->serialPort().isOpen();
        runningAfter = f.transmit && f.transmit->isExchangeRunning();
        unloadedAfter = !f.transmit || f.transmit->isUnloaded();
        commanded = true;
    });
    // The click starts the exchange and returns; the command comes while it waits.
    QTest::mouseClick(f.button(qPrintable(button)), Qt::LeftButton);
    QVERIFY(f.transmit->isExchangeRunning());
    QTRY_VERIFY_WITH_TIMEOUT(commanded, GiveUpMsecs);
    QVERIFY(!runningAfter);
    QTest::qWait(50); // nothing more goes out

    QVERIFY(keyboardWritesAtCommand >= 0);
    QVERIFY(!portOpenAfter);
    QCOMPARE(ResultsShown(f.dialogs), QStringList());
    QCOMPARE(f.port.valuesTo(KeyboardDataPort).size(), keyboardWritesAtCommand);
    QCOMPARE(f.port.valuesTo(InterruptMaskPort).size(), link == 0 ? 1 : 0);
    if (link == 1)
        QCOMPARE(f.emulator.core().frames.size(), 1);

    // The window went with the command.
    QVERIFY(unloadedAfter);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!f.transmit);

    if (command == QLatin1String("mnuConfigInterface")) {
        QCOMPARE(f.openChildren(), QStringList{"cfg3"});
        QCOMPARE(f.config.ActivePanel, qint16(PanelCfg3));
    } else if (command == QLatin1String("Toolbar1_mag")) {
        QCOMPARE(f.openChildren(), QStringList{"frmTransmit"});
        QCOMPARE(f.config.ActivePanel, qint16(PanelTransmit));
        QVERIFY(f.config.MagMode);
    } else {
        QVERIFY(f.openChildren().isEmpty());
        QCOMPARE(f.config.ActivePanel, qint16(NoPanel));
    }
    if (command == QLatin1String("mnuFileOpen")) {
        QCOMPARE(f.config.CfgFileName, file);
        QCOMPARE(f.config.CfgData[10], quint8(10));
    }
    if (command == QLatin1String("main window")) {
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.port.shutdownCalls, 1);
    }
    // The bar decoder's Set All Default is enabled again unless the window now open disables it.
    QCOMPARE(f.action("mnuConfigDefault")->isEnabled(), f.openChildren().isEmpty());
}

void TestTransmitClose::closeWhileResultShows_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<bool>("mainWindow"); // the main window is closed, not the link window
    QTest::newRow("Transmit") << "cmdTransmit"
                              << "Download OK!" << false;
    QTest::newRow("Transmit, main window") << "cmdTransmit"
                                           << "Download OK!" << true;
    QTest::newRow("memory") << "cmdClear"
                            << "Clear Decoder Memory OK!" << false;
}

// While the outcome shows, the command still uses the window and its port: a close requested
// then (from inside the message, as an accessibility client's Close action comes) is refused,
// and the command ends as usual.
void TestTransmitClose::closeWhileResultShows() {
    QFETCH(QString, button);
    QFETCH(QString, outcome);
    QFETCH(bool, mainWindow);
    Rig f;
    QPointer<LinkWindow> w = f.transmit.data();
    if (button == QLatin1String("cmdClear")) {
        f.window->mnuToolsRDM_Click();
        w = qobject_cast<LinkWindow*>(f.child("frmReadMemory"));
        QVERIFY(w);
    }
    f.emulator.core().fault = emu::Fault::None;
    bool closeRefused = false;
    bool portOpenAfterClose = false;
    f.dialogs.onMessage = [&](const Dialogs::Message& m) {
        if (m.text != outcome)
            return;
        // As a real message box does, it runs its own event loop; the close comes within it.
        QEventLoop open;
        QTimer::singleShot(0, &open, [&] {
            if (mainWindow)
                f.window->close();
            else
                w->close();
            closeRefused = w && !w->isUnloaded() && f.window->isVisible();
            portOpenAfterClose = w && w->serialPort().isOpen();
        });
        QTimer::singleShot(50, &open, &QEventLoop::quit);
        open.exec();
    };
    QTest::mouseClick(w->findChild<QPushButton*>(button), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(w && !w->isExchangeRunning(), GiveUpMsecs);
    QVERIFY(closeRefused);
    QVERIFY(portOpenAfterClose); // the port closes after the message
    QTRY_VERIFY_WITH_TIMEOUT(!w || !w->serialPort().isOpen(), GiveUpMsecs);
    QVERIFY(w);
    QVERIFY(w->findChild<QPushButton*>(button)->isEnabled());
    QCOMPARE(f.openChildren(), QStringList{w->objectName()});
    // Once the command has ended, the window closes.
    w->close();
    QVERIFY(f.openChildren().isEmpty());
}

void TestTransmitClose::keyboardUnmaskedBeforeShutdown() {
    // Closing the main window during a keyboard wait unmasks the interrupts before port access
    // is released.
    Rig f;
    f.chooseLink(0);
    KeyboardDecoder decoder(f.port, f.transmit->findChild<QLineEdit*>(QStringLiteral("Text1")));
    decoder.answerAfterBursts = 0;
    int shutdownsAtUnmask = -1;
    auto plain = f.port.onWrite;
    f.port.onWrite = [&](const RecordingPortAccess::Write& w) {
        plain(w);
        if (w.port == InterruptMaskPort)
            shutdownsAtUnmask = f.port.shutdownCalls;
    };
    QTimer::singleShot(300, f.window.get(), [&] { f.window->close(); });
    QTest::mouseClick(f.button("cmdReceive"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(f.port.shutdownCalls, 1, GiveUpMsecs);
    QCOMPARE(shutdownsAtUnmask, 0);
    QCOMPARE(f.port.shutdownCalls, 1);
}

QTEST_MAIN(TestTransmitClose)
#include "tst_transmitclose.moc"
