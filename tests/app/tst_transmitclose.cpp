// A running frmTransmit exchange meets the commands that close its window: the window's own
// closing, New, Open, another window, the "mag" button, and closing the main window. The
// exchange ends at once and cleanly: no crash, the serial port closed, the keyboard interrupts
// unmasked once, no result message, and the window goes.

#include "appfixture.h"

#include "link/frmtransmit.h"
#include "link/serial/serialport.h"
#include "orvemu/decoderemulator.h"
#include "support/keyboarddecoder.h"

#include <QElapsedTimer>
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
    qint64 took = -1;
    QElapsedTimer t;
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
        took = t.elapsed();
    });
    t.start();
    // The click starts the exchange and returns; the command comes while it waits.
    QTest::mouseClick(f.button(qPrintable(button)), Qt::LeftButton);
    QVERIFY(f.transmit->isExchangeRunning());
    QTRY_VERIFY(took >= 0);
    QVERIFY(!runningAfter);
    QTest::qWait(50); // nothing more goes out

    QVERIFY2(took < 2500, qPrintable(QString::number(took)));
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

void TestTransmitClose::closeWhileResultShows() {
    Rig f;
    f.emulator.core().fault = emu::Fault::Refuse;
    bool portOpenDuringMessage = false;
    bool messageShown = false;
    bool portOpenAfterMessage = true;
    bool afterMessage = false;
    f.dialogs.onMessage = [&](const Dialogs::Message& m) {
        if (m.text == QLatin1String("Download Failed!")) {
            portOpenDuringMessage = f.transmit->serialPort().isOpen();
            f.transmit->close();
            messageShown = true;
            // Once the outcome has been handled.
            QTimer::singleShot(0, [&] {
                portOpenAfterMessage = f.transmit && f.transmit->serialPort().isOpen();
                afterMessage = true;
            });
        }
    };
    QTest::mouseClick(f.button("cmdTransmit"), Qt::LeftButton);
    QTRY_VERIFY(messageShown);
    QTRY_VERIFY(afterMessage);
    QVERIFY(portOpenDuringMessage); // the port closes after the message
    QTRY_VERIFY(!f.transmit);
    QVERIFY(!portOpenAfterMessage);
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
    QTRY_COMPARE(f.port.shutdownCalls, 1);
    QCOMPARE(shutdownsAtUnmask, 0);
    QCOMPARE(f.port.shutdownCalls, 1);
}

QTEST_MAIN(TestTransmitClose)
#include "tst_transmitclose.moc"
