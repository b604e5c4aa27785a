// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// frmISP against the emulator's firmware loader over a pseudo-terminal: the file checks, the
// packets byte for byte, the reassembled image, status texts, pauses, and every fault mode.

#include "isprig.h"
#include "support/filefixtures.h"
#include "support/linesettings.h"

#include <QGroupBox>
#include <QTimer>

using namespace orv;
using namespace orv::test;
using emu::Fault;

Q_DECLARE_METATYPE(orv::emu::Fault)

namespace {

const QString IspTitle = QStringLiteral("ISP Message");

QString PageStatus(int start, int attempt) {
    return QStringLiteral("Be transmiting Data From   %1To  %2 :  %3")
        .arg(start)
        .arg(start + 183)
        .arg(attempt);
}

// Milliseconds between successive loader packets.
QList<double> Gaps(const QList<emu::LoaderPacket>& packets) {
    QList<double> gaps;
    for (int i = 1; i < packets.size(); ++i)
        gaps << (packets[i].nsecs - packets[i - 1].nsecs) / 1e6;
    return gaps;
}

} // namespace

class TestIsp : public QObject {
    Q_OBJECT
private slots:
    void controls();
    void showsSharedValues_data();
    void showsSharedValues();
    void findFile();
    void fileChecks_data();
    void fileChecks();
    void transfer_data();
    void transfer();
    void faults_data();
    void faults();
    void portNotAvailable();
    void portFiveIsUsed();
    void closeRefusedDuringTransfer();
    void outcomeMessage_data();
    void outcomeMessage();
};

void TestIsp::controls() {
    IspRig rig;
    QCOMPARE(rig.window->objectName(), QStringLiteral("frmISP"));
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Transmit"));
    QCOMPARE(rig.control<QLabel>("lblTitle")->text(), QStringLiteral("ISP"));
    QCOMPARE(rig.config.ActivePanel, qint16(NoPanel));
    for (const char* hidden : {"Frame2", "Frame3", "Frame4"})
        QVERIFY(rig.control<QGroupBox>(hidden)->isHidden());
    QVERIFY(rig.control<QGroupBox>("FraPort")->isVisible());
    QVERIFY(!rig.window->findChild<QGroupBox*>(QStringLiteral("Frame1")));
    const QList<std::pair<const char*, QStringList>> groups = {
        {"OptPort", {"Com 1", "Com 2", "Com 3", "Com 4"}},
        {"optBaud", {"1200", "2400", "4800", "9600", "19200", "600"}},
        {"optDatabits", {"7 Data Bits", "8 Data Bits"}},
        {"optStopbits", {"1 Stop Bit", "2 Stop Bit"}}};
    for (const auto& [group, captions] : groups) {
        for (int i = 0; i < captions.size(); ++i)
            QCOMPARE(rig.option(group, i)->text(), captions[i]);
        QVERIFY(!rig.window->findChild<QAbstractButton*>(
            QStringLiteral("%1(%2)").arg(group).arg(captions.size())));
    }
    QCOMPARE(rig.button("CmdFind")->text(), QStringLiteral("..."));
    QCOMPARE(rig.button("cmdTransmit")->text(), QStringLiteral("Transmit"));
    QCOMPARE(rig.button("cmdClose")->text(), QStringLiteral("Close"));
    QCOMPARE(rig.control<QLabel>("lblFile")->text(), QStringLiteral("File Name:"));
    QCOMPARE(rig.control<QLabel>("lblFile")->buddy(), rig.control("TxtBinFile"));
    QCOMPARE(rig.control<QLabel>("lblStatusCaption")->text(), QStringLiteral("Status:"));
    // The hidden baud options still set the shared value.
    rig.option("optBaud", 5)->click();
    QCOMPARE(BaudOf(rig.config.LineSettings), QStringLiteral("600"));
    rig.option("optStopbits", 1)->click();
    QCOMPARE(FormatOf(rig.config.LineSettings), QStringLiteral("N,8,2 "));
    rig.button("cmdClose")->click();
    QVERIFY(rig.window->isUnloaded());
}

void TestIsp::showsSharedValues_data() {
    QTest::addColumn<int>("comPort");
    QTest::addColumn<QString>("baud");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("portOption"); // -1: none
    QTest::addColumn<int>("baudOption");
    QTest::addColumn<QString>("baudAfter");
    QTest::addColumn<QString>("formatAfter");
    QTest::newRow("start values") << 1 << "9600"
                                  << "N,8,1 " << 0 << 3 << "9600"
                                  << "N,8,1 ";
    QTest::newRow("2400 from another window") << 4 << "2400"
                                              << "E,7,2 " << 3 << 1 << "2400"
                                              << "N,7,2 ";
    // "600" has no option when the window opens: the first option is selected and taken.
    QTest::newRow("600") << 2 << "600"
                         << "N,8,2 " << 1 << 0 << "1200"
                         << "N,8,2 ";
    QTest::newRow("Com 5: no option, the port stays") << 5 << "19200"
                                                      << "N,8,1 " << -1 << 4 << "19200"
                                                      << "N,8,1 ";
    QTest::newRow("Com 6") << 6 << "4800"
                           << "N,8,1 " << -1 << 2 << "4800"
                           << "N,8,1 ";
}

void TestIsp::showsSharedValues() {
    QFETCH(int, comPort);
    QFETCH(QString, baud);
    QFETCH(QString, format);
    QFETCH(int, portOption);
    QFETCH(int, baudOption);
    QFETCH(QString, baudAfter);
    QFETCH(QString, formatAfter);
    IspRig rig;
    rig.config.ComPort = static_cast<qint16>(comPort);
    rig.config.LineSettings.baudRate = baud.toInt();
    SetFormat(rig.config.LineSettings, format);
    delete rig.window.data();
    rig.window = new FrmIsp(rig.config, FirmwareWindowInfo(), rig.services());
    rig.window->load();
    for (int i = 0; i < 4; ++i)
        QCOMPARE(rig.option("OptPort", i)->isChecked(), i == portOption);
    QVERIFY(rig.option("optBaud", baudOption)->isChecked());
    QCOMPARE(rig.config.ComPort, qint16(comPort));
    QCOMPARE(BaudOf(rig.config.LineSettings), baudAfter);
    QCOMPARE(FormatOf(rig.config.LineSettings), formatAfter);
    const QString tip = rig.control<QGroupBox>("FraPort")->toolTip();
    QCOMPARE(tip.contains(QStringLiteral("Com %1").arg(comPort)), portOption < 0);
}

void TestIsp::findFile() {
    IspRig rig;
    rig.dialogs.openResults = {std::nullopt, QStringLiteral("/tmp/x/fw.bin")};
    rig.chooseFile(QStringLiteral("kept.bin"));
    rig.button("CmdFind")->click();
    QCOMPARE(rig.control<QLineEdit>("TxtBinFile")->text(), QStringLiteral("kept.bin"));
    rig.button("CmdFind")->click();
    QCOMPARE(rig.control<QLineEdit>("TxtBinFile")->text(), QStringLiteral("/tmp/x/fw.bin"));
    QCOMPARE(rig.dialogs.openRequests.size(), 2);
    const Dialogs::FileRequest& r = rig.dialogs.openRequests.last();
    QCOMPARE(r.filter, QStringLiteral("Bin File(*.bin)|*.bin"));
    QCOMPARE(r.defaultExtension, QStringLiteral("bin"));
    QVERIFY(r.fileName.isEmpty());
    QVERIFY(r.fileMustExist);
}

void TestIsp::fileChecks_data() {
    QTest::addColumn<QString>("file"); // "" none; "missing", "folder", "fifo", a device, or a size
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("details");
    const QString cannotOpen = QStringLiteral("Cann't Open File '%1'!");
    QTest::newRow("no name") << ""
                             << "You Must Input a Bin File Name"
                             << "";
    QTest::newRow("missing") << "missing" << cannotOpen << "No such file or directory.";
    QTest::newRow("a folder") << "folder" << cannotOpen << "It is a folder.";
    QTest::newRow("a named pipe") << "fifo" << cannotOpen
                                  << "It is a named pipe, not a regular file.";
    QTest::newRow("a device") << "/dev/zero" << cannotOpen << "It is a device, not a regular file.";
    QTest::newRow("65,536 bytes") << "65536"
                                  << "File's Size is larger than 64K!"
                                  << "";
    QTest::newRow("100,000 bytes") << "100000"
                                   << "File's Size is larger than 64K!"
                                   << "";
}

void TestIsp::fileChecks() {
    QFETCH(QString, file);
    QFETCH(QString, text);
    QFETCH(QString, details);
    IspRig rig;
    QString path;
    std::unique_ptr<TestFifo> fifo;
    if (file == QLatin1String("missing")) {
        path = rig.dir.filePath(QStringLiteral("none.bin"));
    } else if (file == QLatin1String("folder")) {
        path = rig.dir.path();
    } else if (file == QLatin1String("fifo")) {
        fifo = std::make_unique<TestFifo>(path = rig.dir.filePath(QStringLiteral("pipe.bin")));
        QVERIFY(fifo->made());
    } else if (file.startsWith(QLatin1Char('/'))) {
        path = file;
    } else if (!file.isEmpty()) {
        path = rig.writeImage(IspRig::Image(file.toInt()));
    }
    rig.chooseFile(path);
    rig.click("cmdTransmit");
    QCOMPARE(rig.dialogs.texts(),
             QStringList{text.contains(QLatin1String("%1")) ? text.arg(path) : text});
    QCOMPARE(rig.dialogs.last().title, IspTitle);
    QCOMPARE(rig.dialogs.last().details, details);
    QVERIFY(!rig.window->serialPort().isOpen());
    QVERIFY(rig.buttonsEnabled());
    QTest::qWait(50);
    QVERIFY(rig.emulator.received.isEmpty());
    // A missing file is not created; a named pipe is never opened.
    if (file == QLatin1String("missing"))
        QVERIFY(!QFile::exists(path));
    if (fifo)
        QVERIFY(!fifo->wasOpened());
}

void TestIsp::transfer_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("0 bytes") << 0;
    QTest::newRow("1 byte") << 1;
    QTest::newRow("183 bytes") << 183;
    QTest::newRow("exactly one page") << 184;
    QTest::newRow("exactly three pages") << 3 * 184;
    QTest::newRow("500 bytes") << 500;
}

void TestIsp::transfer() {
    QFETCH(int, size);
    IspRig rig;
    // Another window chose 2400 baud and 7 data bits: the transfer still runs at 19200,N,8,1.
    rig.config.LineSettings.baudRate = 2400;
    SetFormat(rig.config.LineSettings, QStringLiteral("N,7,2 "));
    rig.window->linkOptions()->showValues();
    const QByteArray image = IspRig::Image(size);
    rig.chooseFile(rig.writeImage(image));
    // The line settings while the loader is at work (the pty forgets them once closed).
    emu::DecoderEmulator::Line line;
    qint64 accessNsecs = 0;
    // The window keeps handling events all through the transfer: a ticker runs in every pause
    // between the loader's packets (its next tick is always due before the pause ends).
    int ticks = 0;
    QList<int> ticksAtPacket;
    auto noteStatus = rig.emulator.core().onEvent;
    rig.emulator.core().onEvent = [&](const QString& event) {
        noteStatus(event);
        if (event == QLatin1String("loader: access granted")) {
            line = rig.emulator.line();
            accessNsecs = rig.emulator.nsecs();
        }
        if (event.startsWith(QLatin1String("loader: data page")) ||
            event.startsWith(QLatin1String("loader: end of image")))
            ticksAtPacket << ticks;
    };
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(1);
    rig.click("cmdTransmit");
    ticker.stop();

    QCOMPARE(rig.dialogs.texts(), QStringList{"ISP Transmit OK!"});
    QCOMPARE(rig.dialogs.last().title, IspTitle);
    QTRY_COMPARE_WITH_TIMEOUT(rig.emulator.received.size(), IspRig::Transfer(image).size(),
                              GiveUpMsecs);
    QCOMPARE(rig.emulator.received, IspRig::Transfer(image));
    const emu::DecoderCore::Loader& loader = rig.emulator.core().loader;
    QVERIFY2(loader.errors.isEmpty(), qPrintable(loader.errors.join(QLatin1Char('\n'))));
    QVERIFY(loader.finished);
    const int pages = (size + 183) / 184;
    QCOMPARE(rig.received().size(), pages * 184);
    QCOMPARE(rig.received().left(size), image);
    QCOMPARE(rig.received().mid(size), QByteArray(pages * 184 - size, '\0'));
    QCOMPARE(line.baudRate, 19200);
    QCOMPARE(line.stopBits, 1);
    QCOMPARE(BaudOf(rig.config.LineSettings), QStringLiteral("2400"));
    QCOMPARE(FormatOf(rig.config.LineSettings), QStringLiteral("N,7,2 "));

    QCOMPARE(rig.progress()->maximum(), size / 184 + 1);
    QCOMPARE(rig.progress()->value(), rig.progress()->maximum());
    QCOMPARE(rig.status(),
             pages == 0 ? QStringLiteral("Erase Command OK!")
                        : QStringLiteral("Transmit Data For Page  %1 OK!").arg((pages - 1) * 184));
    // What the status line showed as each packet arrived.
    QStringList statuses;
    for (const auto& [event, status] : rig.statusAtEvent) {
        if (event.startsWith(QLatin1String("loader: data page")) ||
            event.startsWith(QLatin1String("loader: erased")))
            statuses << status;
    }
    QStringList expected{"Be transmiting Erase Command!"};
    for (int p = 0; p < pages; ++p)
        expected << PageStatus(p * 184, 1);
    QCOMPARE(statuses, expected);

    // 5 ms after access is granted; the first page at once after the erase; 200 ms after
    // every page; 5 ms more before the end packet.
    const LinkTiming& timing = rig.timing;
    const double afterAccess = (loader.packets[0].nsecs - accessNsecs) / 1e6;
    QVERIFY2(afterAccess >= timing.ispLoaderPauseMsecs, qPrintable(QString::number(afterAccess)));
    const QList<double> gaps = Gaps(loader.packets); // erase, pages, end
    QCOMPARE(gaps.size(), pages + 1);
    for (int i = 0; i < gaps.size(); ++i) {
        double least = i == 0 ? 0 : timing.ispPagePauseMsecs;
        if (i == gaps.size() - 1)
            least += timing.ispLoaderPauseMsecs;
        // Never shorter than the pause (a busy machine can only make it longer).
        QVERIFY2(gaps[i] >= least, qPrintable(QString::number(gaps[i])));
    }
    QCOMPARE(ticksAtPacket.size(), pages + 1);
    for (int i = 1; i < ticksAtPacket.size(); ++i)
        QVERIFY2(ticksAtPacket[i] > ticksAtPacket[i - 1], qPrintable(QString::number(i)));

    QVERIFY(!rig.window->serialPort().isOpen());
    QVERIFY(rig.buttonsEnabled());
}

void TestIsp::faults_data() {
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("rejections");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pagesSent"); // data pages the loader received
    QTest::newRow("wrong loader version")
        << Fault::WrongVersion << 0 << "A Incorrect Version No!" << 0;
    QTest::newRow("access refused") << Fault::Refuse << 0 << "Access ISP Command Failed!" << 0;
    QTest::newRow("silence") << Fault::Silent << 0 << "Time Out Error!" << 0;
    QTest::newRow("erase unanswered") << Fault::None << -1 << "Erase Command Failed!" << 0;
    QTest::newRow("page 1 rejected once") << Fault::RejectPage << 1 << "ISP Transmit OK!" << 4;
    QTest::newRow("page 1 rejected twice") << Fault::RejectPage << 2 << "ISP Transmit OK!" << 5;
    QTest::newRow("page 1 rejected three times")
        << Fault::RejectPage << 3 << "Transmit Data Failled!" << 4;
}

void TestIsp::faults() {
    QFETCH(Fault, fault);
    QFETCH(int, rejections);
    QFETCH(QString, text);
    QFETCH(int, pagesSent);
    // Only the wait that is to run out has its (scaled) time-out.
    LinkTiming timing = TimingFor(false);
    if (fault == Fault::Silent)
        timing.ispAccessReplyMsecs = TestTiming().ispAccessReplyMsecs;
    if (rejections < 0)
        timing.ispEraseReplyMsecs = TestTiming().ispEraseReplyMsecs;
    IspRig rig(timing);
    emu::DecoderCore& core = rig.emulator.core();
    core.fault = fault;
    core.loader.rejectPage = 1;
    core.loader.rejections = qMax(rejections, 0);
    if (rejections < 0) {
        // The loader goes silent once it has granted access.
        core.onEvent = [&core](const QString& e) {
            if (e == QLatin1String("loader: access granted"))
                core.fault = Fault::Silent;
        };
    }
    const QByteArray image = IspRig::Image(3 * 184);
    rig.chooseFile(rig.writeImage(image));
    const qint64 took = rig.click("cmdTransmit");

    QCOMPARE(rig.dialogs.texts(), QStringList{text});
    QCOMPARE(rig.dialogs.last().title, IspTitle);
    QCOMPARE(rig.dialogs.last().buttons, Dialogs::Buttons::Ok);
    QVERIFY(!rig.window->serialPort().isOpen());
    QVERIFY(rig.buttonsEnabled());
    QTest::qWait(50);
    int pages = 0;
    for (const emu::LoaderPacket& p : core.loader.packets)
        pages += p.type == 1 ? 1 : 0;
    QCOMPARE(pages, pagesSent);
    QVERIFY(core.loader.errors.isEmpty());
    if (fault == Fault::Silent || rejections < 0)
        QVERIFY2(took >= Scaled(4900), qPrintable(QString::number(took)));
    if (fault == Fault::WrongVersion || fault == Fault::Refuse || fault == Fault::Silent)
        QCOMPARE(rig.emulator.received, QByteArray::fromHex("02840385"));
    if (fault == Fault::RejectPage) {
        // The rejected page went again, with the try number in the status line.
        QStringList tries;
        for (const auto& [event, status] : rig.statusAtEvent) {
            if (event.startsWith(QLatin1String("loader: data page 184")))
                tries << status;
        }
        QStringList expected;
        for (int t = 1; t <= qMin(rejections + 1, 3); ++t)
            expected << PageStatus(184, t);
        QCOMPARE(tries, expected);
        const bool ok = rejections < 3;
        QCOMPARE(core.loader.finished, ok);
        if (ok)
            QCOMPARE(rig.received().left(image.size()), image);
    }
}

void TestIsp::portNotAvailable() {
    IspRig rig;
    rig.option("OptPort", 2)->click();
    rig.chooseFile(rig.writeImage(IspRig::Image(10)));
    rig.click("cmdTransmit");
    QCOMPARE(rig.dialogs.texts(), QStringList{"COM 3: not available."});
    QCOMPARE(rig.dialogs.last().title, QString());
    QCOMPARE(rig.dialogs.last().details, QStringLiteral("No serial device for Com 3"));
    QVERIFY(rig.buttonsEnabled());
    QTest::qWait(50);
    QVERIFY(rig.emulator.received.isEmpty());
}

void TestIsp::portFiveIsUsed() {
    IspRig rig;
    QVERIFY(QFile::link(rig.emulator.devicePath(), ComLinkPath(rig.dir.path(), 5)));
    QFile::remove(ComLinkPath(rig.dir.path(), 1));
    rig.config.ComPort = 5;
    delete rig.window.data();
    rig.window = new FrmIsp(rig.config, FirmwareWindowInfo(), rig.services());
    rig.window->load();
    const QByteArray image = IspRig::Image(200);
    rig.chooseFile(rig.writeImage(image));
    rig.click("cmdTransmit");
    QCOMPARE(rig.dialogs.texts(), QStringList{"ISP Transmit OK!"});
    QCOMPARE(rig.config.ComPort, qint16(5));
    QTRY_COMPARE_WITH_TIMEOUT(rig.emulator.received, IspRig::Transfer(image), GiveUpMsecs);
}

void TestIsp::closeRefusedDuringTransfer() {
    IspRig rig;
    rig.chooseFile(rig.writeImage(IspRig::Image(2 * 184)));
    bool closedDuring = true;
    bool buttonsDuring = true;
    QTimer::singleShot(Scaled(150), rig.window, [&] {
        buttonsDuring =
            rig.button("cmdTransmit")->isEnabled() || rig.button("cmdClose")->isEnabled();
        rig.window->close();
        closedDuring = rig.window->isUnloaded();
    });
    rig.click("cmdTransmit");
    QVERIFY(!buttonsDuring);
    QVERIFY(!closedDuring);
    // The refusal says why, titled as the program's own messages are.
    QCOMPARE(
        rig.dialogs.texts(),
        (QStringList{"A firmware update is in progress; wait until it ends.", "ISP Transmit OK!"}));
    QCOMPARE(rig.dialogs.shown.first().message.title, QStringLiteral("Configuration Setup"));
    QTRY_VERIFY_WITH_TIMEOUT(rig.emulator.core().loader.finished, GiveUpMsecs);
    rig.window->close();
    QVERIFY(rig.window->isUnloaded());
}

void TestIsp::outcomeMessage_data() {
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("progress"); // -1: the maximum
    QTest::newRow("sent") << Fault::None << "ISP Transmit OK!" << -1;
    QTest::newRow("silence") << Fault::Silent << "Time Out Error!" << 0;
}

// The outcome shows with the port still open and the progress complete; the window cannot be
// closed and takes no second transfer meanwhile; the port closes before the buttons come back.
void TestIsp::outcomeMessage() {
    QFETCH(Fault, fault);
    QFETCH(QString, text);
    QFETCH(int, progress);
    IspRig rig(TimingFor(fault == Fault::Silent));
    rig.emulator.core().fault = fault;
    rig.chooseFile(rig.writeImage(IspRig::Image(2 * 184)));
    struct {
        bool seen = false;
        bool portOpen = false;
        bool buttons = true;
        bool unloaded = true;
        int value = -2;
        int maximum = 0;
    } at;
    rig.dialogs.onMessage = [&](const Dialogs::Message&) {
        if (at.seen)
            return;
        at.seen = true;
        at.portOpen = rig.window->serialPort().isOpen();
        at.buttons = rig.button("cmdTransmit")->isEnabled() || rig.button("cmdClose")->isEnabled();
        at.value = rig.progress()->value();
        at.maximum = rig.progress()->maximum();
        rig.window->close();
        at.unloaded = rig.window->isUnloaded();
        rig.window->cmdTransmit_Click();
    };
    bool portOpenWhenEnabled = true;
    WhenEnabled(rig.button("cmdClose"),
                [&] { portOpenWhenEnabled = rig.window->serialPort().isOpen(); });
    rig.click("cmdTransmit");
    QTest::qWait(Scaled(1000));

    QVERIFY(rig.window);
    QCOMPARE(rig.dialogs.texts(), QStringList{text});
    QVERIFY(at.portOpen);
    QVERIFY(!at.buttons);
    QVERIFY(!at.unloaded);
    QCOMPARE(at.maximum, 3);
    QCOMPARE(at.value, progress < 0 ? at.maximum : progress);
    QVERIFY(!portOpenWhenEnabled);
    QVERIFY(!rig.window->serialPort().isOpen());
    QVERIFY(rig.buttonsEnabled());
    QCOMPARE(rig.progress()->value(), at.value);
}

QTEST_MAIN(TestIsp)
#include "tst_isp.moc"
