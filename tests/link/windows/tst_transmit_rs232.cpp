// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// frmTransmit over RS232: whole exchanges through the QSerialPort adapter and a pseudo-terminal
// against the decoder emulator, in every fault mode.

#include "support/linesettings.h"
#include "transmitrig.h"

#include "link/protocol/replies.h"

#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>

using namespace orv;
using namespace orv::test;
using emu::Fault;
using emu::Kind;

Q_DECLARE_METATYPE(orv::emu::Fault)
Q_DECLARE_METATYPE(orv::emu::Kind)

namespace {

const QString CfgTitle = QStringLiteral("CFG Message");
const QString UploadTitle = QStringLiteral("Upload Message");

// A working image unlike the defaults in every byte, so that a region that moves shows.
Image DistinctImage() {
    Image img{};
    for (int i = 0; i < ImageSize; ++i)
        img[i] = static_cast<quint8>(0xA0 ^ (i * 7));
    return img;
}

} // namespace

class TestTransmitRs232 : public QObject {
    Q_OBJECT
private slots:
    void controls();
    void showsSharedValues();
    void download_data();
    void download();
    void downloadFaults_data();
    void downloadFaults();
    void upload_data();
    void upload();
    void uploadCancelled();
    void firmwareVersion_data();
    void firmwareVersion();
    void portNotAvailable();
    void portLostWhileWaiting();
    void unusableSettings();
    void parityDisablesUpload();
    void outcomeMessage_data();
    void outcomeMessage();
    void questionHoldsCommands();
};

void TestTransmitRs232::controls() {
    TransmitRig rig;
    QCOMPARE(rig.window->objectName(), QStringLiteral("frmTransmit"));
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Transmit"));
    QCOMPARE(rig.config.ActivePanel, qint16(PanelTransmit));
    QVERIFY(!rig.shell.isEnabled(QStringLiteral("mnuConfigDefault")));
    QCOMPARE(rig.control<QLabel>("lblTitle")->text(),
             QStringLiteral("Download and Upload Configuration Data"));
    const QList<std::pair<const char*, const char*>> buttons = {
        {"cmdTransmit", "Download to Decoder"},
        {"cmdReceive", "Upload To PC"},
        {"CmdVersion", "Get Firmware Version"},
        {"cmdClose", "Close"}};
    for (const auto& [name, caption] : buttons)
        QCOMPARE(rig.button(name)->text(), QString::fromLatin1(caption));
    const QList<std::pair<const char*, const char*>> frames = {
        {"Frame1", "Interface"},      {"FraPort", "Port"},     {"Frame4", "Baud Rate"},
        {"Frame2", "Data Bits"},      {"Frame3", "Stop Bits"}, {"Frame6", "Parity"},
        {"Frame5", "Download Option"}};
    for (const auto& [name, caption] : frames)
        QCOMPARE(rig.control<QGroupBox>(name)->title(), QString::fromLatin1(caption));
    const QList<std::pair<const char*, QStringList>> groups = {
        {"OptMode", {"Keyboard", "RS232"}},
        {"OptPort", {"Com 1", "Com 2", "Com 3", "Com 4", "Com 5", "Com 6"}},
        {"optBaud", {"1200", "2400", "4800", "9600", "19200"}},
        {"optDatabits", {"7 Data Bits", "8 Data Bits"}},
        {"optStopbits", {"1 Stop Bit", "2 Stop Bit"}},
        {"Option2", {"None", "Even", "Odd", "Mark", "Space"}},
        {"Option1", {"Not Save", "Save"}}};
    for (const auto& [group, captions] : groups) {
        for (int i = 0; i < captions.size(); ++i)
            QCOMPARE(rig.option(group, i)->text(), captions[i]);
        QVERIFY(!rig.window->findChild<QAbstractButton*>(
            QStringLiteral("%1(%2)").arg(group).arg(captions.size())));
    }
    QVERIFY(rig.progress()->isHidden());
    // The port options name their device: Com 1 is the emulator's pty, the others have none.
    QCOMPARE(rig.option("OptPort", 0)->toolTip(), rig.emulator.devicePath());
    QCOMPARE(rig.option("OptPort", 1)->toolTip(), QStringLiteral("No serial device"));
    // Closing undoes the marks.
    rig.button("cmdClose")->click();
    QCOMPARE(rig.config.ActivePanel, qint16(NoPanel));
    QVERIFY(rig.shell.isEnabled(QStringLiteral("mnuConfigDefault")));
}

void TestTransmitRs232::showsSharedValues() {
    struct Row {
        qint16 linkMode, comPort;
        const char* baud;
        const char* format;
        bool save;
        int mode, port, baudIndex, data, stop, option1;
        const char* formatAfter; // the data bits handler resets the parity letter
        const char* baudAfter;
    };
    const Row rows[] = {
        {1, 1, "9600", "N,8,1 ", true, 1, 0, 3, 1, 0, 1, "N,8,1 ", "9600"},
        {0, 6, "19200", "E,7,2 ", false, 0, 5, 4, 0, 1, 0, "N,7,2 ", "19200"},
        {1, 3, "1200", "M,8,2 ", true, 1, 2, 0, 1, 1, 1, "N,8,2 ", "1200"},
        // A baud rate no option shows selects the first option, whose handler takes it.
        {1, 2, "600", "N,7,1 ", true, 1, 1, 0, 0, 0, 1, "N,7,1 ", "1200"},
    };
    for (const Row& r : rows) {
        Config seed;
        TransmitRig rig;
        rig.window->close();
        rig.config.LinkMode = r.linkMode;
        rig.config.ComPort = r.comPort;
        rig.config.LineSettings.baudRate = QByteArray(r.baud).toInt();
        SetFormat(rig.config.LineSettings, QString::fromLatin1(r.format));
        rig.config.SaveOption = r.save;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        rig.window =
            new FrmTransmit(rig.config, *FindWindowInfo(PanelTransmit),
                            Services{rig.dialogs, rig.launcher, rig.port, rig.serialPorts});
        rig.window->load();
        QVERIFY(rig.option("OptMode", r.mode)->isChecked());
        QVERIFY(rig.option("OptPort", r.port)->isChecked());
        QVERIFY(rig.option("optBaud", r.baudIndex)->isChecked());
        QVERIFY(rig.option("optDatabits", r.data)->isChecked());
        QVERIFY(rig.option("optStopbits", r.stop)->isChecked());
        QVERIFY(rig.option("Option2", 0)->isChecked());
        QVERIFY(rig.option("Option1", r.option1)->isChecked());
        for (const char* f : {"FraPort", "Frame2", "Frame3", "Frame4"})
            QCOMPARE(rig.control<QGroupBox>(f)->isEnabled(), r.linkMode == 1);
        QCOMPARE(FormatOf(rig.config.LineSettings), QString::fromLatin1(r.formatAfter));
        QCOMPARE(BaudOf(rig.config.LineSettings), QString::fromLatin1(r.baudAfter));
        QCOMPARE(rig.config.ComPort, r.comPort);
        QCOMPARE(rig.config.LinkMode, r.linkMode);
        QCOMPARE(rig.config.SaveOption, r.save);
    }
}

void TestTransmitRs232::download_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("defaults");
    QTest::newRow("default image, Save, magnetic reader") << true << Kind::Mag << true;
    QTest::newRow("default image, Not Save, bar decoder") << false << Kind::Bar << true;
    QTest::newRow("other image, Save") << true << Kind::Mag << false;
    QTest::newRow("other image, Not Save") << false << Kind::Bar << false;
}

void TestTransmitRs232::download() {
    QFETCH(bool, save);
    QFETCH(Kind, kind);
    QFETCH(bool, defaults);
    TransmitRig rig(kind);
    if (!defaults)
        rig.config.CfgData = DistinctImage();
    const Image before = rig.config.CfgData;
    rig.option("Option1", save ? 1 : 0)->click();
    QCOMPARE(rig.config.SaveOption, save);
    rig.click("cmdTransmit");

    // The frame, byte for byte: STX, command, 0x54, the 85 bytes, ETX, check. The check is
    // 0x54 (Save) or 0x57 (Not Save) XOR all data bytes.
    quint8 check = save ? 0x54 : 0x57;
    for (quint8 b : before)
        check ^= b;
    const QByteArray expected = QByteArray(1, '\x02') + char(save ? 0x01 : 0x02) + '\x54' +
                                rig.image() + '\x03' + char(check);
    QCOMPARE(expected.size(), 90);
    QCOMPARE(rig.emulator.received, expected);
    QCOMPARE(rig.emulator.core().lastDownloadSaved, save);
    QCOMPARE(rig.dialogs.texts(), QStringList{"Download OK!"});
    QCOMPARE(rig.dialogs.last().title, CfgTitle);
    QCOMPARE(rig.dialogs.last().buttons, Dialogs::Buttons::Ok);
    QVERIFY(rig.config.CfgData == before);
    QVERIFY(!rig.window->serialPort().isOpen());
    QVERIFY(rig.buttonsEnabled());
    QVERIFY(rig.port.writes.isEmpty()); // nothing went to the keyboard controller
}

void TestTransmitRs232::downloadFaults_data() {
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("lateMsecs");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("minMsecs");
    // Times of the real link, scaled to the tests' timing.
    QTest::newRow("silent") << Fault::Silent << 0 << "Time Out Error!" << 2900;
    QTest::newRow("refused") << Fault::Refuse << 0 << "Download Failed!" << 0;
    QTest::newRow("late, within the time-out") << Fault::Late << 1000 << "Download OK!" << 900;
    QTest::newRow("late, after the time-out") << Fault::Late << 4500 << "Time Out Error!" << 2900;
    QTest::newRow("split") << Fault::Split << 0 << "Download OK!" << 0;
}

void TestTransmitRs232::downloadFaults() {
    QFETCH(Fault, fault);
    QFETCH(int, lateMsecs);
    QFETCH(QString, text);
    QFETCH(int, minMsecs);
    TransmitRig rig(Kind::Mag, 1, TimingFor(text == QLatin1String("Time Out Error!")));
    rig.emulator.core().fault = fault;
    rig.emulator.lateMsecs = Scaled(lateMsecs);
    const qint64 took = rig.click("cmdTransmit");
    QVERIFY2(took >= Scaled(minMsecs), qPrintable(QString::number(took)));
    QCOMPARE(rig.dialogs.texts(), QStringList{text});
    QCOMPARE(rig.dialogs.last().title, CfgTitle);
    QCOMPARE(rig.emulator.core().frames.size(), 1);
    QVERIFY(rig.emulator.core().frames[0].wellFormed);
    QVERIFY(!rig.window->serialPort().isOpen());
    QVERIFY(rig.buttonsEnabled());
}

void TestTransmitRs232::upload_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("lateMsecs");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("changes");
    const QString ok = QStringLiteral("   Upload OK!   ");
    const QString failed = QStringLiteral("Upload Failed!");
    const QString timeOut = QStringLiteral("Time Out Error!");
    QTest::newRow("magnetic reader") << Kind::Mag << Fault::None << 0 << ok << true;
    QTest::newRow("bar decoder") << Kind::Bar << Fault::None << 0 << ok << true;
    QTest::newRow("split into 3-byte pieces") << Kind::Mag << Fault::Split << 0 << ok << true;
    QTest::newRow("bar decoder, split") << Kind::Bar << Fault::Split << 0 << ok << true;
    QTest::newRow("wrong check") << Kind::Mag << Fault::WrongCheck << 0 << failed << false;
    QTest::newRow("bar decoder, wrong check")
        << Kind::Bar << Fault::WrongCheck << 0 << failed << false;
    QTest::newRow("refused") << Kind::Mag << Fault::Refuse << 0 << failed << false;
    QTest::newRow("short block") << Kind::Mag << Fault::Short << 0 << failed << false;
    QTest::newRow("late, within the time-out") << Kind::Bar << Fault::Late << 2000 << ok << true;
    QTest::newRow("late, after the time-out")
        << Kind::Mag << Fault::Late << 8500 << timeOut << false;
    QTest::newRow("silent") << Kind::Mag << Fault::Silent << 0 << timeOut << false;
}

void TestTransmitRs232::upload() {
    QFETCH(Kind, kind);
    QFETCH(Fault, fault);
    QFETCH(int, lateMsecs);
    QFETCH(QString, text);
    QFETCH(bool, changes);
    TransmitRig rig(kind, 1, TimingFor(text == QLatin1String("Time Out Error!")));
    rig.config.CfgData = DistinctImage();
    const Image before = rig.config.CfgData;
    // The decoder holds settings unlike both images.
    QByteArray settings = rig.emulator.core().settings;
    for (auto& c : settings)
        c = static_cast<char>(c ^ 0x3C);
    rig.emulator.core().settings = settings;
    rig.emulator.core().fault = fault;
    rig.emulator.lateMsecs = Scaled(lateMsecs);
    rig.emulator.chunkGapMsecs = 5;

    rig.click("cmdReceive");
    QCOMPARE(rig.emulator.received, QByteArray::fromHex("02800381"));
    QCOMPARE(rig.dialogs.shown.size(), 2);
    QCOMPARE(rig.dialogs.shown[0].message.text,
             QStringLiteral("This will replace your current data with reader's data!"));
    QCOMPARE(rig.dialogs.shown[0].message.title, UploadTitle);
    QCOMPARE(rig.dialogs.shown[0].message.buttons, Dialogs::Buttons::OkCancel);
    QCOMPARE(rig.dialogs.last().text, text);
    QCOMPARE(rig.dialogs.last().title, UploadTitle);
    QVERIFY(!rig.window->serialPort().isOpen());
    QVERIFY(rig.buttonsEnabled());

    Image expected = before;
    if (changes) {
        const int first = kind == Kind::Bar ? 0 : 25;
        for (int i = 0; i < settings.size(); ++i)
            expected[first + i] = static_cast<quint8>(settings[i]);
    }
    QVERIFY(rig.config.CfgData == expected);
    QVERIFY(rig.config.CfgSaved == Config::BuiltInDefaults());
    if (fault == Fault::Late && !changes) {
        // The reply that comes after the time-out finds the port closed and changes nothing.
        QSignalSpy sent(&rig.emulator, &emu::DecoderEmulator::bytesSent);
        QVERIFY(sent.wait(GiveUpMsecs));
        QTest::qWait(50);
        QVERIFY(rig.config.CfgData == before);
        QCOMPARE(rig.dialogs.shown.size(), 2);
    }
}

void TestTransmitRs232::uploadCancelled() {
    TransmitRig rig;
    rig.dialogs.answers = {Dialogs::Answer::Cancel};
    const Image before = rig.config.CfgData;
    rig.click("cmdReceive");
    QCOMPARE(rig.dialogs.shown.size(), 1);
    QTest::qWait(50);
    QVERIFY(rig.emulator.received.isEmpty());
    QVERIFY(!rig.window->serialPort().isOpen());
    QVERIFY(rig.config.CfgData == before);
    // The next version request asks nothing: the cancelled upload left no request behind.
    rig.click("CmdVersion");
    QCOMPARE(rig.dialogs.shown.size(), 2);
    QVERIFY(rig.dialogs.last().text.startsWith(QLatin1String("Get Firmware Version OK!")));
}

void TestTransmitRs232::firmwareVersion_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("last");
    QTest::newRow("magnetic reader")
        << Kind::Mag << QByteArray("MAG READ 2.1") << QByteArray("01/02/2003");
    QTest::newRow("bar decoder") << Kind::Bar << QByteArray("BAR-DEC 7.05")
                                 << QByteArray("V 10 BUILD");
    // Bytes above 127 are the characters of the program's single-byte character set.
    QTest::newRow("bytes above 127")
        << Kind::Bar << QByteArray("\xC4\xD6\xDC 1.0     ") << QByteArray("\xA9 2024    ");
}

void TestTransmitRs232::firmwareVersion() {
    QFETCH(Kind, kind);
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, last);
    TransmitRig rig(kind);
    rig.emulator.core().versionFirst = first;
    rig.emulator.core().versionLast = last;
    QByteArray settings = rig.emulator.core().settings;
    for (auto& c : settings)
        c = static_cast<char>(~c);
    rig.emulator.core().settings = settings;
    const Image before = rig.config.CfgData;
    rig.click("CmdVersion");
    QCOMPARE(rig.emulator.received, QByteArray::fromHex("02800381"));
    QCOMPARE(rig.dialogs.shown.size(), 1); // no question
    QCOMPARE(rig.dialogs.last().text, QStringLiteral("Get Firmware Version OK!\r\r   ") +
                                          QString::fromLatin1(first) + QStringLiteral("\n\r   ") +
                                          QString::fromLatin1(last));
    QCOMPARE(rig.dialogs.last().title, UploadTitle);
    QVERIFY(rig.config.CfgData == before);
    QVERIFY(!rig.window->serialPort().isOpen());
    // The next upload asks its question again.
    rig.dialogs.answers = {Dialogs::Answer::Cancel};
    rig.click("cmdReceive");
    QCOMPARE(rig.dialogs.last().buttons, Dialogs::Buttons::OkCancel);
}

void TestTransmitRs232::portNotAvailable() {
    TransmitRig rig;
    rig.option("OptPort", 4)->click();
    QCOMPARE(rig.config.ComPort, qint16(5));
    for (const char* b : {"cmdTransmit", "cmdReceive", "CmdVersion"}) {
        rig.dialogs.clear();
        rig.click(b);
        QCOMPARE(rig.dialogs.last().text, QStringLiteral("COM 5: not available."));
        QCOMPARE(rig.dialogs.last().title, QString());
        QCOMPARE(rig.dialogs.last().details, QStringLiteral("No serial device for Com 5"));
        QVERIFY(rig.buttonsEnabled());
        QVERIFY(!rig.window->serialPort().isOpen());
    }
    QTest::qWait(50);
    QVERIFY(rig.emulator.received.isEmpty());
}

// The port opens but cannot take the settings: it is reported not available while still open,
// and closed afterwards; nothing is sent and the buttons stay as they were.
void TestTransmitRs232::unusableSettings() {
    TransmitRig rig;
    // Settings no port takes: 9 data bits and 9 stop bits.
    SetFormat(rig.config.LineSettings, QStringLiteral("N,9,9 "));
    for (const char* b : {"cmdTransmit", "cmdReceive", "CmdVersion"}) {
        rig.dialogs.clear();
        bool openAtMessage = false;
        rig.dialogs.onMessage = [&](const Dialogs::Message& m) {
            if (m.buttons == Dialogs::Buttons::Ok)
                openAtMessage = rig.window->serialPort().isOpen();
        };
        rig.click(b);
        QCOMPARE(rig.dialogs.last().text, QStringLiteral("COM 1: not available."));
        QCOMPARE(rig.dialogs.last().details,
                 QStringLiteral("Unusable serial settings \"9600,N,9,9 \""));
        QVERIFY(openAtMessage);
        QVERIFY(!rig.window->serialPort().isOpen());
        QVERIFY(rig.buttonsEnabled());
    }
    QTest::qWait(50);
    QVERIFY(rig.emulator.received.isEmpty());
}

void TestTransmitRs232::portLostWhileWaiting() {
    TransmitRig rig;
    rig.emulator.core().fault = Fault::Silent;
    // The device goes away once the request has arrived.
    connect(&rig.emulator, &emu::DecoderEmulator::frameReceived, &rig.emulator,
            [&rig] { QTimer::singleShot(100, &rig.emulator, [&rig] { rig.emulator.stop(); }); });
    rig.click("cmdReceive");
    QCOMPARE(rig.dialogs.last().text, QStringLiteral("COM 1: not available."));
    // The details give the port's own words for the loss.
    QVERIFY(!rig.dialogs.last().details.isEmpty());
    QCOMPARE(rig.dialogs.last().details, rig.window->serialPort().errorString());
    QVERIFY(!rig.window->serialPort().isOpen());
    QVERIFY(rig.buttonsEnabled());
}

void TestTransmitRs232::parityDisablesUpload() {
    TransmitRig rig;
    struct Step {
        int parity;
        bool uploadEnabled;
        const char* format;
    };
    const Step steps[] = {{2, false, "O,8,1 "}, {0, true, "N,8,1 "}, {1, false, "E,8,1 "},
                          {3, true, "M,8,1 "},  {4, true, "S,8,1 "}, {2, false, "O,8,1 "}};
    for (const Step& s : steps) {
        rig.option("Option2", s.parity)->click();
        QCOMPARE(rig.button("cmdReceive")->isEnabled(), s.uploadEnabled);
        QCOMPARE(rig.button("CmdVersion")->isEnabled(), s.uploadEnabled);
        QVERIFY(rig.button("cmdTransmit")->isEnabled());
        QCOMPARE(FormatOf(rig.config.LineSettings), QString::fromLatin1(s.format));
    }
    // A download (with odd parity) enables them again.
    rig.click("cmdTransmit");
    QCOMPARE(rig.dialogs.last().text, QStringLiteral("Download OK!"));
    QVERIFY(rig.buttonsEnabled());
    QVERIFY(rig.option("Option2", 2)->isChecked());
}

void TestTransmitRs232::outcomeMessage_data() {
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("applied");
    QTest::newRow("download") << QByteArray("cmdTransmit") << Fault::None << "Download OK!"
                              << false;
    QTest::newRow("download, silent")
        << QByteArray("cmdTransmit") << Fault::Silent << "Time Out Error!" << false;
    QTest::newRow("upload") << QByteArray("cmdReceive") << Fault::None << "   Upload OK!   "
                            << true;
    QTest::newRow("upload, refused")
        << QByteArray("cmdReceive") << Fault::Refuse << "Upload Failed!" << false;
    QTest::newRow("version") << QByteArray("CmdVersion") << Fault::None
                             << "Get Firmware Version OK!" << false;
}

// While the outcome shows, the port is still open, the image already holds the upload, the
// buttons are still disabled and a further command does nothing; the port closes before the
// buttons come back.
void TestTransmitRs232::outcomeMessage() {
    QFETCH(QByteArray, button);
    QFETCH(Fault, fault);
    QFETCH(QString, text);
    QFETCH(bool, applied);
    TransmitRig rig(Kind::Mag, 1, TimingFor(fault == Fault::Silent));
    rig.config.CfgData = DistinctImage();
    const Image before = rig.config.CfgData;
    rig.emulator.core().fault = fault;
    struct {
        bool seen = false;
        bool portOpen = false;
        bool buttons = true;
        bool applied = false;
        bool running = false;
    } at;
    rig.dialogs.onMessage = [&](const Dialogs::Message& m) {
        if (m.buttons != Dialogs::Buttons::Ok || at.seen)
            return;
        at.seen = true;
        at.portOpen = rig.window->serialPort().isOpen();
        at.buttons = rig.allEnabled({"cmdTransmit", "cmdReceive", "CmdVersion", "cmdClose"});
        at.applied = !(rig.config.CfgData == before);
        at.running = rig.window->isExchangeRunning();
        rig.window->cmdTransmit_Click();
        rig.window->cmdReceive_Click();
        rig.window->CmdVersion_Click();
    };
    bool portOpenWhenEnabled = true;
    WhenEnabled(rig.button("cmdClose"),
                [&] { portOpenWhenEnabled = rig.window->serialPort().isOpen(); });
    rig.click(button.constData());
    QTest::qWait(Scaled(1000));

    QVERIFY(at.seen);
    QVERIFY(rig.dialogs.last().text.startsWith(text));
    QCOMPARE(rig.dialogs.shown.size(), button == "cmdReceive" ? 2 : 1);
    QCOMPARE(rig.emulator.core().frames.size(), 1);
    QVERIFY(at.portOpen);
    QVERIFY(!at.buttons);
    QCOMPARE(at.applied, applied);
    QVERIFY(at.running);
    QVERIFY(!portOpenWhenEnabled);
    QVERIFY(!rig.window->serialPort().isOpen());
    QVERIFY(rig.buttonsEnabled());
}

// The upload's question belongs to the command: meanwhile another command does nothing.
void TestTransmitRs232::questionHoldsCommands() {
    TransmitRig rig;
    bool running = false;
    rig.dialogs.answers = {Dialogs::Answer::Cancel};
    rig.dialogs.onMessage = [&](const Dialogs::Message&) {
        running = rig.window->isExchangeRunning();
        rig.window->CmdVersion_Click();
        rig.window->cmdTransmit_Click();
    };
    rig.click("cmdReceive");
    QTest::qWait(Scaled(1000));
    QVERIFY(running);
    QCOMPARE(rig.dialogs.shown.size(), 1);
    QVERIFY(rig.emulator.received.isEmpty());
    QVERIFY(rig.buttonsEnabled());
}

QTEST_MAIN(TestTransmitRs232)
#include "tst_transmit_rs232.moc"
