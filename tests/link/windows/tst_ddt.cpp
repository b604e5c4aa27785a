// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// DDT, the keyboard and RS232 test: received bytes with control codes by name, the 200 ms
// gathering of a datum, the CR+LF option, the 41-line limits of both boxes, the text the RS232
// box keeps, focus, and a port that cannot be opened. The decoder emulator sends over a
// pseudo-terminal.

#include "link/serial/qtserialport.h"
#include "link/windows/ddt.h"
#include "orvemu/decoderemulator.h"
#include "support/fakedialogs.h"
#include "support/linesettings.h"
#include "support/waiting.h"

#include "core/config.h"

#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace orv;
using namespace orv::test;

namespace {

struct DdtRig {
    QTemporaryDir dir;
    Config config;
    FakeDialogs dialogs;
    emu::DecoderEmulator emulator;
    QtSerialPortFactory serialPorts{dir.path(), [] {
                                        return QList<SerialDevice>{};
                                    }};
    QPointer<Ddt> window;

    // The reception wait at a tenth of its real 200 ms, unless a test measures it.
    explicit DdtRig(int comPort = 1, const QString& baud = QStringLiteral("9600"),
                    const QString& format = QStringLiteral("N,8,1 "), int receptionWaitMsecs = 20) {
        config.InitStartState(QDate(2026, 12, 8));
        config.ComPort = static_cast<qint16>(comPort);
        config.LineSettings.baudRate = baud.toInt();
        SetFormat(config.LineSettings, format);
        if (!emulator.start() || !emulator.createLink(ComLinkPath(dir.path(), 1)))
            qFatal("no emulator");
        window = new Ddt(config, dialogs, serialPorts);
        window->setReceptionWaitMsecs(receptionWaitMsecs);
        window->load();
        window->show();
    }
    ~DdtRig() { delete window.data(); }

    template <typename T = QWidget> T* control(const char* name) const {
        T* w = window->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QPlainTextEdit* keyboard() const { return control<QPlainTextEdit>("txtKB"); }
    QPlainTextEdit* rs232() const { return control<QPlainTextEdit>("TxtRS232"); }
    QString rs232Text() const { return rs232()->toPlainText(); }
    // Sends a datum and waits until the window has shown it.
    bool receive(const QByteArray& bytes) {
        const QString before = rs232Text();
        emulator.transmit(bytes);
        return QTest::qWaitFor([&] { return rs232Text() != before; }, GiveUpMsecs);
    }
};

} // namespace

class TestDdt : public QObject {
    Q_OBJECT
private slots:
    void controls_data();
    void controls();
    void reception_data();
    void reception();
    void datumInPieces();
    void rs232LineLimit();
    void keyboardLineLimit();
    void portNotAvailable();
    void focusStaysInKeyboardBox();
    void closing();
};

void TestDdt::controls_data() {
    QTest::addColumn<QString>("baud");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("lineBaud");
    QTest::newRow("start values") << "9600"
                                  << "N,8,1 "
                                  << "COM 1 :  9600,N,8,1 " << 9600;
    QTest::newRow("19200, 2 stop bits") << "19200"
                                        << "N,8,2 "
                                        << "COM 1 :  19200,N,8,2 " << 19200;
}

void TestDdt::controls() {
    QFETCH(QString, baud);
    QFETCH(QString, format);
    QFETCH(QString, label);
    QFETCH(int, lineBaud);
    DdtRig rig(1, baud, format);
    QCOMPARE(rig.window->objectName(), QStringLiteral("DDT"));
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Keyboard_RS232 Test"));
    QVERIFY(rig.window->isModal());
    const QList<std::pair<const char*, const char*>> labels = {
        {"Label1", "Keyboard_RS232 Test"}, {"Label2", "Keyboard"}, {"Label4", "RS232"}};
    for (const auto& [name, text] : labels)
        QCOMPARE(rig.control<QLabel>(name)->text(), QString::fromLatin1(text));
    QCOMPARE(rig.control<QLabel>("Label2")->buddy(), rig.keyboard());
    QCOMPARE(rig.control<QPushButton>("Command1")->text(), QStringLiteral("Clear"));
    QCOMPARE(rig.control<QPushButton>("Command2")->text(), QStringLiteral("Clear"));
    QCOMPARE(rig.control<QCheckBox>("Check1")->text(), QStringLiteral("CR+LF Enable"));
    QVERIFY(!rig.control<QCheckBox>("Check1")->isChecked());
    QCOMPARE(rig.control<QLabel>("LblPort")->text(), label);
    QVERIFY(rig.window->serialPort().isOpen());
    QCOMPARE(rig.emulator.line().baudRate, lineBaud);
    QVERIFY(rig.dialogs.shown.isEmpty());
    QCOMPARE(rig.config.ActivePanel, qint16(NoPanel));
}

void TestDdt::reception_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("crlf");
    QTest::addColumn<QString>("shown");
    QTest::newRow("STX A B CR LF, CR+LF Enable")
        << QByteArray("\x02\x41\x42\x0d\x0a") << true << "<STX>AB<CR><LF>\n";
    QTest::newRow("STX A B CR LF, one running line")
        << QByteArray("\x02\x41\x42\x0d\x0a") << false << "<STX>AB<CR><LF>";
    QTest::newRow("127 and 31") << QByteArray("\x7f\x1f") << false << QStringLiteral("\x7f<US>");
    QTest::newRow("above 127") << QByteArray("\xc4\xff ") << false << QStringLiteral("\xc4\xff ");
    QByteArray all;
    QString names;
    const char* const Names[] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                 "BS",  "HT",  "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                 "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                 "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
    for (int c = 0; c < 32; ++c) {
        all.append(static_cast<char>(c));
        names += QStringLiteral("<%1>").arg(QLatin1String(Names[c]));
    }
    QTest::newRow("every control code") << all << true << names + QLatin1Char('\n');
    // A flood on one running line: the box keeps the last characters, and goes on appending.
    QTest::newRow("beyond the kept text")
        << QByteArray(3400, '\x01') + "end" << false
        << (QStringLiteral("<SOH>").repeated(3400) + QStringLiteral("end"))
               .right(Ddt::KeptTextChars);
}

void TestDdt::reception() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, crlf);
    QFETCH(QString, shown);
    DdtRig rig;
    rig.control<QCheckBox>("Check1")->setChecked(crlf);
    QVERIFY(rig.receive(bytes));
    QCOMPARE(rig.rs232Text(), shown);
    // The next datum is appended.
    QVERIFY(rig.receive("Z"));
    QCOMPARE(
        rig.rs232Text(),
        (shown + (crlf ? QStringLiteral("Z\n") : QStringLiteral("Z"))).right(Ddt::KeptTextChars));
}

void TestDdt::datumInPieces() {
    DdtRig rig(1, QStringLiteral("9600"), QStringLiteral("N,8,1 "), Ddt::ReceptionWaitMsecs);
    rig.control<QCheckBox>("Check1")->setChecked(true);
    // One datum in three pieces 60 ms apart: shown once, 200 ms after its first byte.
    QElapsedTimer t;
    t.start();
    qint64 shownAfter = -1;
    connect(rig.rs232(), &QPlainTextEdit::textChanged, rig.window, [&] {
        if (shownAfter < 0)
            shownAfter = t.elapsed();
    });
    bool allSent = false;
    rig.emulator.transmit("12");
    QTimer::singleShot(60, &rig.emulator, [&rig] { rig.emulator.transmit("34"); });
    QTimer::singleShot(120, &rig.emulator, [&] {
        rig.emulator.transmit("5\r");
        allSent = true;
    });
    // The window keeps handling events while it waits for the rest: the ticker runs between
    // the last piece and the showing (its next tick is due before the wait ends).
    int ticksWaiting = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    connect(&ticker, &QTimer::timeout, [&] {
        if (allSent && rig.rs232Text().isEmpty())
            ++ticksWaiting;
    });
    ticker.start(10);
    QVERIFY(QTest::qWaitFor([&] { return !rig.rs232Text().isEmpty(); }, GiveUpMsecs));
    QVERIFY2(shownAfter >= 200, qPrintable(QString::number(shownAfter)));
    QCOMPARE(rig.rs232Text(), QStringLiteral("12345<CR>\n"));
    QVERIFY(ticksWaiting > 0);
    // A datum that comes later is a reception of its own.
    QVERIFY(rig.receive("6"));
    QCOMPARE(rig.rs232Text(), QStringLiteral("12345<CR>\n6\n"));
}

void TestDdt::rs232LineLimit() {
    DdtRig rig;
    rig.control<QCheckBox>("Check1")->setChecked(true);
    for (int i = 1; i <= 30; ++i)
        QVERIFY(rig.receive(QByteArray::number(i)));
    QCOMPARE(rig.rs232Text().count(QLatin1Char('\n')), 30);
    // "Clear" empties the box but does not reset the line count.
    QTest::mouseClick(rig.control<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(rig.rs232Text(), QString());
    for (int i = 31; i <= 41; ++i)
        QVERIFY(rig.receive(QByteArray::number(i)));
    QCOMPARE(rig.rs232Text().count(QLatin1Char('\n')), 11);
    // The 42nd reception starts on an emptied box.
    QVERIFY(rig.receive("42"));
    QCOMPARE(rig.rs232Text(), QStringLiteral("42\n"));
    QVERIFY(rig.receive("43"));
    QCOMPARE(rig.rs232Text(), QStringLiteral("42\n43\n"));
    // Without CR+LF the count does not grow: the box is never emptied.
    rig.control<QCheckBox>("Check1")->setChecked(false);
    for (int i = 0; i < 45; ++i)
        QVERIFY(rig.receive("."));
    QCOMPARE(rig.rs232Text(), QStringLiteral("42\n43\n") + QString(45, QLatin1Char('.')));
}

void TestDdt::keyboardLineLimit() {
    DdtRig rig;
    QPlainTextEdit* kb = rig.keyboard();
    for (int i = 0; i < 30; ++i)
        QTest::keyClicks(kb, QStringLiteral("a\r"));
    QCOMPARE(kb->toPlainText().count(QLatin1Char('\n')), 30);
    QTest::mouseClick(rig.control<QPushButton>("Command2"), Qt::LeftButton);
    QCOMPARE(kb->toPlainText(), QString());
    for (int i = 0; i < 11; ++i)
        QTest::keyClicks(kb, QStringLiteral("b\r"));
    QCOMPARE(kb->toPlainText(), QStringLiteral("b\n").repeated(11));
    // After the 41st Enter the next key empties the box, then shows its own character.
    QTest::keyClick(kb, 'c');
    QCOMPARE(kb->toPlainText(), QStringLiteral("c"));
    QTest::keyClick(kb, 'd');
    QCOMPARE(kb->toPlainText(), QStringLiteral("cd"));
    // Keypad Enter counts as Enter too.
    for (int i = 0; i < 41; ++i)
        QTest::keyClick(kb, Qt::Key_Enter);
    QTest::keyClick(kb, 'e');
    QCOMPARE(kb->toPlainText(), QStringLiteral("e"));
}

void TestDdt::portNotAvailable() {
    DdtRig rig(3);
    QCOMPARE(rig.dialogs.texts(), QStringList{"COM 3: not available."});
    QCOMPARE(rig.dialogs.last().title, QString());
    QCOMPARE(rig.dialogs.last().details, QStringLiteral("No serial device for Com 3"));
    QVERIFY(!rig.window->serialPort().isOpen());
    QCOMPARE(rig.control<QLabel>("LblPort")->text(), QStringLiteral("COM 3 :  9600,N,8,1 "));
    QVERIFY(rig.window->isVisible());
    // The keyboard part still works.
    QTest::keyClicks(rig.keyboard(), QStringLiteral("typed\r"));
    QCOMPARE(rig.keyboard()->toPlainText(), QStringLiteral("typed\n"));
}

void TestDdt::focusStaysInKeyboardBox() {
    DdtRig rig;
    rig.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(rig.window, GiveUpMsecs));
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), rig.keyboard(), GiveUpMsecs);
    QTest::mouseClick(rig.rs232()->viewport(), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), rig.keyboard());
    rig.rs232()->setFocus();
    QCOMPARE(QApplication::focusWidget(), rig.keyboard());
    for (const char* name : {"Command1", "Command2", "Check1"}) {
        auto* b = rig.control<QAbstractButton>(name);
        b->setFocus();
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), rig.keyboard());
    }
    QVERIFY(rig.control<QCheckBox>("Check1")->isChecked());
}

void TestDdt::closing() {
    DdtRig rig;
    rig.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(rig.window, GiveUpMsecs));
    // Escape (a decoder may type ESC) leaves the window open.
    QTest::keyClick(rig.keyboard(), Qt::Key_Escape);
    QVERIFY(rig.window->isVisible());
    QVERIFY(rig.window->serialPort().isOpen());
    rig.window->close();
    QVERIFY(!rig.window->isVisible());
    QVERIFY(!rig.window->serialPort().isOpen());
    // A datum that was still being gathered is dropped with the window's port.
    QVERIFY(rig.dialogs.shown.isEmpty());
}

QTEST_MAIN(TestDdt)
#include "tst_ddt.moc"
