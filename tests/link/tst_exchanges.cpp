// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The RS232 exchanges on their own, through the QSerialPort adapter and a pseudo-terminal
// against the decoder emulator: outcomes in every fault mode, the port's absence and loss,
// cancelling in every state, exchanges on two ports at once, and the real timing.

#include "exchangerig.h"

#include "link/exchange/configexchanges.h"
#include "link/exchange/firmwareexchange.h"
#include "link/exchange/keyboardexchanges.h"
#include "link/exchange/memoryexchanges.h"
#include "link/protocol/replies.h"
#include "support/recordingportaccess.h"

#include <QSignalSpy>
#include <QTimer>

#include <algorithm>

using namespace orv;
using namespace orv::test;
using emu::DecoderCore;
using emu::Fault;
using emu::Kind;

Q_DECLARE_METATYPE(orv::emu::Fault)
Q_DECLARE_METATYPE(orv::emu::Kind)
Q_DECLARE_METATYPE(orv::LinkStatus)

namespace {

const QString TimeOut = QStringLiteral("Time Out Error!");

Image NumberedImage() {
    Image img{};
    for (int i = 0; i < ImageSize; ++i)
        img[i] = static_cast<quint8>(i * 3 + 1);
    return img;
}

QByteArray FirmwareImage(int size) {
    QByteArray image(size, '\0');
    for (int i = 0; i < size; ++i)
        image[i] = static_cast<char>((i * 13 + i / 184) & 0xFF);
    return image;
}

QString PageStatus(int start, int attempt) {
    return QStringLiteral("Be transmiting Data From   %1To  %2 :  %3")
        .arg(start)
        .arg(start + 183)
        .arg(attempt);
}

// Which exchange a data row runs.
enum class Which { Download, Upload, Version, ReadMemory, ClearMemory, Firmware };

std::unique_ptr<SerialExchange> Make(Which which, SerialTarget target, const LinkTiming& timing) {
    switch (which) {
    case Which::Download:
        return std::make_unique<DownloadExchange>(target, NumberedImage(), true, timing);
    case Which::Upload:
        return std::make_unique<UploadExchange>(target, UploadRequest::Configuration, timing);
    case Which::Version:
        return std::make_unique<UploadExchange>(target, UploadRequest::Version, timing);
    case Which::ReadMemory:
        return std::make_unique<ReadMemoryExchange>(target, timing);
    case Which::ClearMemory:
        return std::make_unique<ClearMemoryExchange>(target, timing);
    case Which::Firmware:
        return std::make_unique<FirmwareExchange>(target, FirmwareImage(3 * 184), timing);
    }
    return nullptr;
}

// The port serves the next exchange: a download that the decoder accepts.
void ExpectNextDownloadOk(ExchangeRig& rig) {
    rig.emulator().core().fault = Fault::None;
    rig.emulator().received.clear();
    DownloadExchange next(rig.target(), NumberedImage(), true, TimingFor(false));
    Outcome n;
    n.watch(next);
    next.start();
    QVERIFY(n.wait());
    QCOMPARE(n.result.message.text, QStringLiteral("Download OK!"));
}

// The decoders of the real timing's run: 1 to 4 silent, 5 silent once access is granted (the
// erase goes unanswered), 6 once it has erased (the page goes unanswered), 7 answering, with
// the moment access was granted in *accessNsecs.
void SetUpRealTiming(ExchangeRig& rig, qint64* accessNsecs) {
    for (int com = 1; com <= 5; ++com)
        rig.emulator(com).core().fault = Fault::Silent;
    rig.emulator(5).core().fault = Fault::None; // the erase goes unanswered
    rig.emulator(5).core().onEvent = [&rig](const QString& e) {
        if (e == QLatin1String("loader: access granted"))
            rig.emulator(5).core().fault = Fault::Silent;
    };
    rig.emulator(6).core().onEvent = [&rig](const QString& e) {
        // Once the erase has been answered.
        if (e == QLatin1String("loader: erased"))
            QTimer::singleShot(0, [&rig] { rig.emulator(6).core().fault = Fault::Silent; });
    };
    rig.emulator(7).core().clock = [&rig] {
        return rig.emulator(7).nsecs();
    };
    rig.emulator(7).core().onEvent = [&rig, accessNsecs](const QString& e) {
        if (e == QLatin1String("loader: access granted"))
            *accessNsecs = rig.emulator(7).nsecs();
    };
}

// The two typed-answer waits of the keyboard link, started at once: the decoder answers the
// handshake, then types nothing. answerWait: how long each waited for the typed answer.
struct TypedTimeOuts {
    RecordingPortAccess keys[2];
    KeyboardUploadExchange upload;
    KeyboardReadMemoryExchange memory;
    KeyboardExchange* typing[2] = {&upload, &memory};
    Outcome outcome[2];
    QElapsedTimer answerClock[2];
    qint64 answerWait[2] = {-1, -1};

    explicit TypedTimeOuts(const LinkTiming& timing)
        : upload(keys[0], UploadRequest::Configuration, timing), memory(keys[1], timing) {
        for (int i = 0; i < 2; ++i) {
            keys[i].onWrite = [this, i](const RecordingPortAccess::Write&) {
                if (keys[i].keyboardText().size() == 5)
                    QTimer::singleShot(0, typing[i],
                                       [this, i] { typing[i]->typed(QStringLiteral("S")); });
            };
            QObject::connect(typing[i], &KeyboardExchange::answerAwaited, typing[i],
                             [this, i] { answerClock[i].start(); });
            QObject::connect(typing[i], &Exchange::finished, typing[i], [this, i] {
                answerWait[i] = answerClock[i].isValid() ? answerClock[i].elapsed() : -1;
            });
            outcome[i].watch(*typing[i]);
            typing[i]->start();
        }
    }
};

// A wait of the real timing: how long it took, and the figure it may not be shorter than.
struct MeasuredWait {
    const char* what;
    qint64 took;
    int least;
};

// The loader's packets came 5 ms after access was granted, 200 ms after every page, and 5 ms
// more before the end packet.
void ExpectLoaderPacing(const DecoderCore& core, qint64 accessNsecs, const LinkTiming& real) {
    const auto& packets = core.loader.packets;
    QCOMPARE(packets.size(), 4);
    const double afterAccess = (packets[0].nsecs - accessNsecs) / 1e6;
    QVERIFY2(afterAccess >= real.ispLoaderPauseMsecs, qPrintable(QString::number(afterAccess)));
    const double afterPage = (packets[2].nsecs - packets[1].nsecs) / 1e6;
    QVERIFY2(afterPage >= real.ispPagePauseMsecs, qPrintable(QString::number(afterPage)));
    const double beforeEnd = (packets[3].nsecs - packets[2].nsecs) / 1e6;
    QVERIFY2(beforeEnd >= real.ispPagePauseMsecs + real.ispLoaderPauseMsecs,
             qPrintable(QString::number(beforeEnd)));
}

} // namespace

Q_DECLARE_METATYPE(Which)

class TestExchanges : public QObject {
    Q_OBJECT
private slots:
    void download_data();
    void download();
    void upload_data();
    void upload();
    void readMemory_data();
    void readMemory();
    void clearMemory_data();
    void clearMemory();
    void firmware_data();
    void firmware();
    void firmwareFaults_data();
    void firmwareFaults();
    void portUnavailable_data();
    void portUnavailable();
    void portLost_data();
    void portLost();
    void cancel_data();
    void cancel();
    void cancelFromReceivers();
    void cancelAndStartAnother_data();
    void cancelAndStartAnother();
    void twoPortsAtOnce();
    void realTiming();
};

void TestExchanges::download_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("lateMsecs");
    QTest::addColumn<LinkStatus>("status");
    QTest::addColumn<QString>("text");
    QTest::newRow("Save") << true << Fault::None << 0 << LinkStatus::Ok << "Download OK!";
    QTest::newRow("Not Save") << false << Fault::None << 0 << LinkStatus::Ok << "Download OK!";
    QTest::newRow("refused") << true << Fault::Refuse << 0 << LinkStatus::Refused
                             << "Download Failed!";
    QTest::newRow("split") << true << Fault::Split << 0 << LinkStatus::Ok << "Download OK!";
    const int timeout = TestTiming().downloadReplyMsecs;
    QTest::newRow("late, within the time-out")
        << true << Fault::Late << timeout / 3 << LinkStatus::Ok << "Download OK!";
    QTest::newRow("late, after the time-out")
        << true << Fault::Late << timeout * 3 / 2 << LinkStatus::TimedOut << TimeOut;
    QTest::newRow("silent") << true << Fault::Silent << 0 << LinkStatus::TimedOut << TimeOut;
}

void TestExchanges::download() {
    QFETCH(bool, save);
    QFETCH(Fault, fault);
    QFETCH(int, lateMsecs);
    QFETCH(LinkStatus, status);
    QFETCH(QString, text);
    ExchangeRig rig;
    rig.emulator().core().fault = fault;
    rig.emulator().lateMsecs = lateMsecs;
    DownloadExchange ex(rig.target(), NumberedImage(), save,
                        TimingFor(status == LinkStatus::TimedOut));
    Outcome o;
    o.watch(ex);
    // The outcome is handled while the port is still held; it closes right after.
    bool openAtOutcome = false;
    connect(&ex, &Exchange::finished, this, [&] { openAtOutcome = rig.port().isOpen(); });
    ex.start();
    QVERIFY(ex.isRunning());
    QVERIFY(rig.port().isOpen());
    QVERIFY(o.wait());
    QCOMPARE(o.result.status, status);
    QCOMPARE(o.result.message.text, text);
    QCOMPARE(o.result.message.title, QStringLiteral("CFG Message"));
    QCOMPARE(o.result.message.buttons, Dialogs::Buttons::Ok);
    QVERIFY(openAtOutcome);
    QVERIFY(!rig.port().isOpen());
    const DecoderCore& core = rig.emulator().core();
    QCOMPARE(core.frames.size(), 1);
    QVERIFY(core.frames[0].wellFormed);
    QCOMPARE(core.frames[0].command, quint8(save ? 0x01 : 0x02));
    if (status == LinkStatus::Ok)
        QCOMPARE(core.lastDownload.size(), ImageSize);
    if (status == LinkStatus::TimedOut) {
        QVERIFY(o.msecs >= TestTiming().downloadReplyMsecs);
        if (fault == Fault::Late) {
            // The late answer finds the exchange over: one outcome only.
            QSignalSpy sent(&rig.emulator(), &emu::DecoderEmulator::bytesSent);
            QVERIFY(sent.wait(GiveUpMsecs));
        }
    }
    QTest::qWait(20);
    QCOMPARE(o.count, 1);
    QVERIFY(!ex.isRunning());
}

void TestExchanges::upload_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("version");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("lateMsecs");
    QTest::addColumn<LinkStatus>("status");
    QTest::newRow("magnetic reader") << Kind::Mag << false << Fault::None << 0 << LinkStatus::Ok;
    QTest::newRow("bar decoder") << Kind::Bar << false << Fault::None << 0 << LinkStatus::Ok;
    QTest::newRow("version, magnetic reader")
        << Kind::Mag << true << Fault::None << 0 << LinkStatus::Ok;
    QTest::newRow("version, bar decoder")
        << Kind::Bar << true << Fault::None << 0 << LinkStatus::Ok;
    QTest::newRow("split") << Kind::Bar << false << Fault::Split << 0 << LinkStatus::Ok;
    const int timeout = TestTiming().uploadReplyMsecs;
    QTest::newRow("late, within the time-out")
        << Kind::Mag << true << Fault::Late << timeout / 3 << LinkStatus::Ok;
    QTest::newRow("wrong check") << Kind::Mag << false << Fault::WrongCheck << 0
                                 << LinkStatus::Refused;
    QTest::newRow("refused") << Kind::Bar << true << Fault::Refuse << 0 << LinkStatus::Refused;
    QTest::newRow("short block") << Kind::Mag << false << Fault::Short << 0 << LinkStatus::Refused;
    QTest::newRow("late, after the time-out")
        << Kind::Mag << false << Fault::Late << timeout * 3 / 2 << LinkStatus::TimedOut;
    QTest::newRow("silent") << Kind::Bar << true << Fault::Silent << 0 << LinkStatus::TimedOut;
}

void TestExchanges::upload() {
    QFETCH(Kind, kind);
    QFETCH(bool, version);
    QFETCH(Fault, fault);
    QFETCH(int, lateMsecs);
    QFETCH(LinkStatus, status);
    ExchangeRig rig(1, kind);
    DecoderCore& core = rig.emulator().core();
    QByteArray settings = core.settings;
    for (int i = 0; i < settings.size(); ++i)
        settings[i] = static_cast<char>(settings[i] ^ (i + 0x21));
    core.settings = settings;
    core.versionFirst = "VERSION 1.23";
    core.versionLast = "2026-12-09";
    core.fault = fault;
    rig.emulator().lateMsecs = lateMsecs;
    UploadExchange ex(rig.target(), version ? UploadRequest::Version : UploadRequest::Configuration,
                      TimingFor(status == LinkStatus::TimedOut));
    Outcome o;
    o.watch(ex);
    ex.start();
    QVERIFY(o.wait());
    QCOMPARE(rig.emulator().received, QByteArray::fromHex("02800381"));
    QCOMPARE(o.result.status, status);
    QCOMPARE(o.result.message.title, QStringLiteral("Upload Message"));
    QVERIFY(!rig.port().isOpen());
    const QString versionText = QStringLiteral("   VERSION 1.23\n\r   2026-12-09");
    switch (status) {
    case LinkStatus::Ok:
        QVERIFY(o.result.upload);
        QCOMPARE(o.result.upload->region, kind == Kind::Bar ? Region::Bar : Region::Mag);
        QCOMPARE(o.result.upload->settings, settings);
        QCOMPARE(o.result.versionText, versionText);
        QCOMPARE(o.result.message.text,
                 version ? QStringLiteral("Get Firmware Version OK!\r\r") + versionText
                         : QStringLiteral("   Upload OK!   "));
        break;
    case LinkStatus::Refused:
        QVERIFY(!o.result.upload);
        QCOMPARE(o.result.message.text, QStringLiteral("Upload Failed!"));
        break;
    default:
        QVERIFY(!o.result.upload);
        QCOMPARE(o.result.message.text, TimeOut);
        QVERIFY(o.msecs >= TestTiming().uploadReplyMsecs);
        break;
    }
}

void TestExchanges::readMemory_data() {
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("answers");
    QTest::addColumn<LinkStatus>("status");
    const QByteArray ok = "   Read Decoder Memory OK!\r\r";
    QTest::newRow("empty memory") << QByteArray(1, '\0') << Fault::None << QByteArray("\r\n")
                                  << QByteArray("P") << LinkStatus::Ok;
    QTest::newRow("records over three blocks")
        << DecoderCore::MemoryStream({QByteArray(70, 'a'), "b", QByteArray(60, 'c'), "dd"})
        << Fault::None << QByteArray(70, 'a') + "\r\n\r\n" + QByteArray(60, 'c') + "\r\ndd\r\n"
        << QByteArray("SSP") << LinkStatus::Ok;
    QList<QByteArray> many;
    for (int i = 0; i < 100; ++i)
        many << QByteArray::number(i).rightJustified(20, '0');
    QByteArray noEnd = DecoderCore::MemoryStream(many);
    noEnd.chop(1);
    QByteArray first90;
    for (int i = 0; i < 90; ++i)
        first90 += many[i] + "\r\n";
    QTest::newRow("31 blocks without an end")
        << noEnd << Fault::None << first90 << QByteArray(31, 'S') << LinkStatus::Ok;
    QList<QByteArray> ten;
    QByteArray firstFive;
    for (int i = 0; i < 40; ++i) {
        ten << QByteArray::number(i).rightJustified(10, '0');
        if (i < 5)
            firstFive += ten.last() + "\r\n";
    }
    QTest::newRow("bad block") << DecoderCore::MemoryStream(ten) << Fault::BadBlock << firstFive
                               << QByteArray("SE") << LinkStatus::Refused;
    QTest::newRow("silent") << DecoderCore::MemoryStream({"X"}) << Fault::Silent << QByteArray()
                            << QByteArray() << LinkStatus::TimedOut;
    Q_UNUSED(ok);
}

void TestExchanges::readMemory() {
    QFETCH(QByteArray, stream);
    QFETCH(Fault, fault);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, answers);
    QFETCH(LinkStatus, status);
    ExchangeRig rig;
    DecoderCore& core = rig.emulator().core();
    core.memory.stream = stream;
    core.memory.badBlock = 1;
    core.fault = fault;
    ReadMemoryExchange ex(rig.target(), TimingFor(status == LinkStatus::TimedOut));
    QByteArray streamed;
    QList<int> answersAtText; // answers the decoder had when each piece of text came
    connect(&ex, &ReadMemoryExchange::textReceived, this, [&](const QByteArray& t) {
        streamed += t;
        answersAtText << core.memory.answers.size();
    });
    Outcome o;
    o.watch(ex);
    ex.start();
    QVERIFY(o.wait());
    QCOMPARE(o.result.status, status);
    QCOMPARE(o.result.message.title, QStringLiteral("Read Memory Message"));
    QCOMPARE(o.result.message.text, status == LinkStatus::Ok ? "   Read Decoder Memory OK!\r\r"
                                    : status == LinkStatus::Refused
                                        ? QStringLiteral("Read Decoder Memory Failed!")
                                        : TimeOut);
    QCOMPARE(streamed, text);
    QCOMPARE(o.result.memoryText, text);
    // The text of a block comes before the block is answered.
    for (int i = 0; i < answersAtText.size(); ++i)
        QVERIFY(answersAtText[i] < answers.size());
    if (fault == Fault::Silent) {
        // Even without a block the decoder is told "E".
        QTRY_COMPARE_WITH_TIMEOUT(core.strayBytes, QByteArray("E"), GiveUpMsecs);
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(core.memory.answers, answers, GiveUpMsecs);
        QCOMPARE(rig.emulator().received, QByteArray::fromHex("02820383") + answers);
    }
    QVERIFY(!rig.port().isOpen());
}

void TestExchanges::clearMemory_data() {
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<LinkStatus>("status");
    QTest::addColumn<QString>("text");
    QTest::newRow("cleared") << Fault::None << LinkStatus::Ok << "Clear Decoder Memory OK!";
    QTest::newRow("refused") << Fault::Refuse << LinkStatus::Refused
                             << "Clear Decoder Memory Failed!";
    QTest::newRow("split") << Fault::Split << LinkStatus::Ok << "Clear Decoder Memory OK!";
    QTest::newRow("silent") << Fault::Silent << LinkStatus::TimedOut << TimeOut;
}

void TestExchanges::clearMemory() {
    QFETCH(Fault, fault);
    QFETCH(LinkStatus, status);
    QFETCH(QString, text);
    ExchangeRig rig;
    rig.emulator().core().fault = fault;
    rig.emulator().core().memory.stream = DecoderCore::MemoryStream({"gone"});
    ClearMemoryExchange ex(rig.target(), TimingFor(status == LinkStatus::TimedOut));
    Outcome o;
    o.watch(ex);
    ex.start();
    QVERIFY(o.wait());
    QCOMPARE(o.result.status, status);
    QCOMPARE(o.result.message.text, text);
    QCOMPARE(o.result.message.title, QStringLiteral("Clear Memory Message"));
    QCOMPARE(rig.emulator().received, QByteArray::fromHex("02830382"));
    QCOMPARE(rig.emulator().core().memory.clears, status == LinkStatus::Ok ? 1 : 0);
    QVERIFY(!rig.port().isOpen());
}

void TestExchanges::firmware_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("0 bytes") << 0;
    QTest::newRow("1 byte") << 1;
    QTest::newRow("exactly two pages") << 2 * 184;
    QTest::newRow("500 bytes") << 500;
}

void TestExchanges::firmware() {
    QFETCH(int, size);
    ExchangeRig rig;
    rig.emulator().core().clock = [&rig] {
        return rig.emulator().nsecs();
    };
    // The loader takes bytes at 19200 baud only: the end packet, which nothing answers, must
    // have left the port before it closes and puts back the pty's old settings.
    rig.emulator().strictLoaderLine = true;
    const QByteArray image = FirmwareImage(size);
    // The settings given are not the loader's: the transfer runs at 19200,N,8,1 anyway.
    FirmwareExchange ex(rig.target(1, {2400, Parity::None, 7, 2}), image, TimingFor(false));
    emu::DecoderEmulator::Line line;
    rig.emulator().core().onEvent = [&](const QString& e) {
        if (e == QLatin1String("loader: access granted"))
            line = rig.emulator().line();
    };
    const emu::DecoderCore::Loader& loader = rig.emulator().core().loader;
    bool endBeforeOutcome = false;
    connect(&ex, &Exchange::finished, this, [&] { endBeforeOutcome = loader.finished; });
    Outcome o;
    o.watch(ex);
    ex.start();
    QVERIFY(o.wait());
    QCOMPARE(o.result.status, LinkStatus::Ok);
    QCOMPARE(o.result.message.text, QStringLiteral("ISP Transmit OK!"));
    QCOMPARE(o.result.message.title, QStringLiteral("ISP Message"));
    QCOMPARE(line.baudRate, 19200);
    QCOMPARE(line.stopBits, 1);
    QVERIFY(endBeforeOutcome);
    QVERIFY2(loader.errors.isEmpty(), qPrintable(loader.errors.join(QLatin1Char('\n'))));
    const int pages = (size + 183) / 184;
    QCOMPARE(loader.image.left(size), image);
    QCOMPARE(loader.packets.size(), pages + 2); // erase, pages, end

    QStringList statuses{"Be Transmiting ISP Command", "Access ISP Command OK!",
                         "Be transmiting Erase Command!", "Erase Command OK!"};
    QList<std::pair<int, int>> progress;
    const int maximum = size / 184 + 1;
    QCOMPARE(ex.progressMaximum(), maximum);
    for (int p = 0; p < pages; ++p) {
        statuses << PageStatus(p * 184, 1)
                 << QStringLiteral("Transmit Data For Page  %1 OK!").arg(p * 184);
        progress.append({p + 1, maximum});
    }
    progress.append({maximum, maximum});
    QCOMPARE(o.statuses, statuses);
    QCOMPARE(o.progress, progress);
    // The pauses: after every page, and before the end packet.
    const LinkTiming t = TestTiming();
    for (int i = 2; i < loader.packets.size(); ++i) {
        const double gap = (loader.packets[i].nsecs - loader.packets[i - 1].nsecs) / 1e6;
        const bool end = i == loader.packets.size() - 1;
        const double least = t.ispPagePauseMsecs + (end ? t.ispLoaderPauseMsecs : 0);
        QVERIFY2(gap >= least, qPrintable(QString::number(gap)));
    }
    QVERIFY(!rig.port().isOpen());
}

void TestExchanges::firmwareFaults_data() {
    QTest::addColumn<Fault>("fault");
    // -1: silent after the access; -2: after the erase; during a page's pause -3: a stray
    // byte, -4: the end of a drain it did not ask for
    QTest::addColumn<int>("rejections");
    QTest::addColumn<LinkStatus>("status");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pageTries");
    QTest::newRow("wrong loader version")
        << Fault::WrongVersion << 0 << LinkStatus::Refused << "A Incorrect Version No!" << 0;
    QTest::newRow("access refused")
        << Fault::Refuse << 0 << LinkStatus::Refused << "Access ISP Command Failed!" << 0;
    QTest::newRow("silent") << Fault::Silent << 0 << LinkStatus::TimedOut << TimeOut << 0;
    QTest::newRow("erase unanswered")
        << Fault::None << -1 << LinkStatus::TimedOut << "Erase Command Failed!" << 0;
    QTest::newRow("pages unanswered")
        << Fault::None << -2 << LinkStatus::TimedOut << "Transmit Data Failled!" << 3;
    QTest::newRow("page rejected twice")
        << Fault::RejectPage << 2 << LinkStatus::Ok << "ISP Transmit OK!" << 3;
    QTest::newRow("page rejected three times")
        << Fault::RejectPage << 3 << LinkStatus::Refused << "Transmit Data Failled!" << 3;
    QTest::newRow("stray byte while the loader writes a page")
        << Fault::None << -3 << LinkStatus::Ok << "ISP Transmit OK!" << 1;
    QTest::newRow("a drain of someone else's while the loader writes a page")
        << Fault::None << -4 << LinkStatus::Ok << "ISP Transmit OK!" << 1;
}

void TestExchanges::firmwareFaults() {
    QFETCH(Fault, fault);
    QFETCH(int, rejections);
    QFETCH(LinkStatus, status);
    QFETCH(QString, text);
    QFETCH(int, pageTries);
    ExchangeRig rig;
    DecoderCore& core = rig.emulator().core();
    core.fault = fault;
    core.loader.rejectPage = 0;
    core.loader.rejections = qMax(rejections, 0);
    // Only the wait that is to run out has its (scaled) time-out.
    LinkTiming timing = TimingFor(false);
    if (fault == Fault::Silent)
        timing.ispAccessReplyMsecs = TestTiming().ispAccessReplyMsecs;
    if (rejections == -1)
        timing.ispEraseReplyMsecs = TestTiming().ispEraseReplyMsecs;
    if (rejections == -2)
        timing.ispPageReplyMsecs = TestTiming().ispPageReplyMsecs;
    if (rejections <= -3)
        timing.ispPagePauseMsecs = LinkTiming{}.ispPagePauseMsecs; // room for what comes then
    FirmwareExchange ex(rig.target(), FirmwareImage(2 * 184), timing);
    if (rejections == -3) {
        connect(&ex, &Exchange::statusText, this, [&rig](const QString& t) {
            if (t == QLatin1String("Transmit Data For Page  0 OK!"))
                QTimer::singleShot(1, [&rig] { rig.emulator().transmit("\xAA"); });
        });
    } else if (rejections == -4) {
        // It ends once the page's line time is over: within the pause.
        connect(&ex, &Exchange::statusText, this, [&rig](const QString& t) {
            if (t == PageStatus(0, 1))
                QTimer::singleShot(0, [&rig] { rig.port().drain(); });
        });
    } else if (rejections < 0) {
        const QString after = rejections == -1 ? QStringLiteral("loader: access granted")
                                               : QStringLiteral("loader: erased");
        core.onEvent = [&core, after](const QString& e) {
            // Once the answer to that packet has gone.
            if (e == after)
                QTimer::singleShot(0, [&core] { core.fault = Fault::Silent; });
        };
    }
    Outcome o;
    o.watch(ex);
    ex.start();
    QVERIFY(o.wait());
    QCOMPARE(o.result.status, status);
    QCOMPARE(o.result.message.text, text);
    QCOMPARE(o.result.message.title, QStringLiteral("ISP Message"));
    int tries = 0;
    for (const QString& s : o.statuses)
        tries += s.startsWith(QLatin1String("Be transmiting Data From   0To")) ? 1 : 0;
    QCOMPARE(tries, pageTries);
    for (int t = 1; t <= pageTries; ++t)
        QCOMPARE(o.statuses.value(3 + t), PageStatus(0, t));
    QVERIFY(!rig.port().isOpen());
    QTest::qWait(20);
    QCOMPARE(o.count, 1);
}

void TestExchanges::portUnavailable_data() {
    QTest::addColumn<Which>("which");
    QTest::newRow("download") << Which::Download;
    QTest::newRow("upload") << Which::Upload;
    QTest::newRow("version") << Which::Version;
    QTest::newRow("read memory") << Which::ReadMemory;
    QTest::newRow("clear memory") << Which::ClearMemory;
    QTest::newRow("firmware") << Which::Firmware;
}

void TestExchanges::portUnavailable() {
    QFETCH(Which, which);
    ExchangeRig rig;
    auto ex = Make(which, rig.target(3), TestTiming());
    Outcome o;
    o.watch(*ex);
    ex->start();
    // At once, inside start(): nothing was sent.
    QCOMPARE(o.count, 1);
    QVERIFY(!ex->isRunning());
    QCOMPARE(o.result.status, LinkStatus::PortUnavailable);
    QCOMPARE(o.result.message.text, QStringLiteral("COM 3: not available."));
    QCOMPARE(o.result.message.title, QString());
    QCOMPARE(o.result.message.details, QStringLiteral("No serial device for Com 3"));
    QVERIFY(!rig.port().isOpen());
    if (which == Which::Firmware)
        return; // it always runs at the loader's settings
    // Unusable settings are a reason too.
    // (9 data bits: no port takes them.)
    auto bad = Make(which, rig.target(1, {9600, Parity::None, 9, 1}), TestTiming());
    Outcome b;
    b.watch(*bad);
    bad->start();
    QCOMPARE(b.count, 1);
    QCOMPARE(b.result.status, LinkStatus::PortUnavailable);
    QCOMPARE(b.result.message.text, QStringLiteral("COM 1: not available."));
    QVERIFY(b.result.message.details.contains(QLatin1String("9600,N,9,1")));
    QTest::qWait(20);
    QVERIFY(rig.emulator().received.isEmpty());
}

void TestExchanges::portLost_data() {
    QTest::addColumn<Which>("which");
    QTest::addColumn<QString>("event"); // the decoder's event after which the device goes
    QTest::newRow("download, awaiting the answer") << Which::Download << "";
    QTest::newRow("read memory, between blocks") << Which::ReadMemory << "memory block 1";
    QTest::newRow("firmware, while a page is written")
        << Which::Firmware << "loader: data page 0..183 taken";
}

void TestExchanges::portLost() {
    QFETCH(Which, which);
    QFETCH(QString, event);
    ExchangeRig rig;
    DecoderCore& core = rig.emulator().core();
    core.memory.stream = DecoderCore::MemoryStream(
        {QByteArray(100, 'm'), QByteArray(100, 'n'), QByteArray(100, 'o')});
    auto goAway = [&] {
        QTimer::singleShot(5, &rig.emulator(), [&rig] { rig.emulator().stop(); });
        core.fault = Fault::Silent;
    };
    if (event.isEmpty()) {
        core.fault = Fault::Silent;
        connect(&rig.emulator(), &emu::DecoderEmulator::frameReceived, this, goAway);
    } else {
        core.onEvent = [&](const QString& e) {
            if (e == event)
                goAway();
        };
    }
    LinkTiming timing = TimingFor(false); // only the loss ends the exchange
    timing.ispPagePauseMsecs = 2000;      // the loss comes during the pause
    auto ex = Make(which, rig.target(), timing);
    Outcome o;
    o.watch(*ex);
    ex->start();
    QVERIFY(o.wait());
    QCOMPARE(o.result.status, LinkStatus::PortLost);
    QCOMPARE(o.result.message.text, QStringLiteral("COM 1: not available."));
    QVERIFY(!o.result.message.details.isEmpty());
    QCOMPARE(o.result.message.details, rig.port().errorString());
    QVERIFY(!rig.port().isOpen());
}

void TestExchanges::cancel_data() {
    // Decoder answers come 60 ms late and the loader's pauses last 100 ms; the cancel comes
    // `delay` ms after a status text or decoder event (none: after the start). Destroying a
    // running exchange cancels it.
    QTest::addColumn<Which>("which");
    QTest::addColumn<QString>("when");
    QTest::addColumn<int>("delay");
    QTest::addColumn<bool>("destroys");
    QTest::newRow("download, awaiting the answer") << Which::Download << "" << 30 << false;
    QTest::newRow("upload, awaiting the block") << Which::Upload << "" << 30 << false;
    QTest::newRow("clear memory, awaiting the answer") << Which::ClearMemory << "" << 30 << false;
    QTest::newRow("read memory, awaiting the first block")
        << Which::ReadMemory << "" << 30 << false;
    QTest::newRow("read memory, awaiting a later block")
        << Which::ReadMemory << "<- answer S" << 30 << false;
    QTest::newRow("firmware, awaiting the access answer") << Which::Firmware << "" << 30 << false;
    QTest::newRow("firmware, pause after the access")
        << Which::Firmware << "Access ISP Command OK!" << 30 << false;
    QTest::newRow("firmware, awaiting the erase answer")
        << Which::Firmware << "Be transmiting Erase Command!" << 30 << false;
    QTest::newRow("firmware, awaiting a page's answer")
        << Which::Firmware << PageStatus(184, 1) << 30 << false;
    QTest::newRow("firmware, pause after a page")
        << Which::Firmware << "Transmit Data For Page  0 OK!" << 30 << false;
    QTest::newRow("firmware, pause before the end packet")
        << Which::Firmware << "Transmit Data For Page  368 OK!" << 150 << false;
    QTest::newRow("destroyed: download, awaiting the answer")
        << Which::Download << "" << 30 << true;
    QTest::newRow("destroyed: upload, awaiting the block") << Which::Upload << "" << 30 << true;
    QTest::newRow("destroyed: version, awaiting the block") << Which::Version << "" << 30 << true;
    QTest::newRow("destroyed: clear memory, awaiting the answer")
        << Which::ClearMemory << "" << 30 << true;
    QTest::newRow("destroyed: read memory, awaiting a later block")
        << Which::ReadMemory << "<- answer S" << 30 << true;
    QTest::newRow("destroyed: firmware, pause after the access")
        << Which::Firmware << "Access ISP Command OK!" << 30 << true;
    QTest::newRow("destroyed: firmware, awaiting a page's answer")
        << Which::Firmware << PageStatus(184, 1) << 30 << true;
    QTest::newRow("destroyed: firmware, pause before the end packet")
        << Which::Firmware << "Transmit Data For Page  368 OK!" << 150 << true;
}

void TestExchanges::cancel() {
    QFETCH(Which, which);
    QFETCH(QString, when);
    QFETCH(int, delay);
    QFETCH(bool, destroys);
    ExchangeRig rig;
    DecoderCore& core = rig.emulator().core();
    core.memory.stream = DecoderCore::MemoryStream({QByteArray(100, 'm'), "n", "o"});
    // Answers come late enough for a cancel to land while one is awaited.
    rig.emulator().core().fault = Fault::Late;
    rig.emulator().lateMsecs = 60;
    LinkTiming timing = TimingFor(false); // only the cancel ends the exchange
    timing.ispLoaderPauseMsecs = 100;
    timing.ispPagePauseMsecs = 100;
    auto ex = Make(which, rig.target(), timing);
    Outcome o;
    o.watch(*ex);
    bool cancelled = false;
    auto cancelSoon = [&] {
        QTimer::singleShot(delay, this, [&] {
            QVERIFY(ex && ex->isRunning());
            if (destroys)
                ex.reset();
            else
                ex->cancel();
            cancelled = true;
        });
    };
    if (when.isEmpty()) {
        cancelSoon();
    } else {
        connect(ex.get(), &Exchange::statusText, this, [&](const QString& t) {
            if (t == when)
                cancelSoon();
        });
        core.onEvent = [&](const QString& e) {
            if (e == when)
                cancelSoon();
        };
    }
    ex->start();
    QTRY_VERIFY_WITH_TIMEOUT(cancelled, GiveUpMsecs);
    QVERIFY(destroys || !ex->isRunning());
    QVERIFY(!rig.port().isOpen());
    const QByteArray sent = rig.emulator().received;
    // Nothing more goes out, and no outcome comes, even when an answer arrives late.
    QTest::qWait(150);
    QCOMPARE(o.count, 0);
    QCOMPARE(rig.emulator().received, sent);
    if (!destroys) {
        ex->cancel(); // a second cancel does nothing
        ex->start();  // nor does a second start
        QVERIFY(!ex->isRunning());
        QCOMPARE(o.count, 0);
    }
    ExpectNextDownloadOk(rig);
}

void TestExchanges::cancelFromReceivers() {
    // A receiver of a progress signal may cancel; the exchange stops there.
    ExchangeRig rig;
    ReadMemoryExchange read(rig.target(), TimingFor(false));
    rig.emulator().core().memory.stream =
        DecoderCore::MemoryStream({QByteArray(70, 'a'), QByteArray(70, 'b'), "c"});
    connect(&read, &ReadMemoryExchange::textReceived, &read, [&read] { read.cancel(); });
    Outcome o;
    o.watch(read);
    read.start();
    QTRY_VERIFY_WITH_TIMEOUT(!read.isRunning(), GiveUpMsecs);
    QTest::qWait(100);
    QCOMPARE(o.count, 0);
    QCOMPARE(rig.emulator().core().memory.answers, QByteArray("S")); // block 0 had no text
    QVERIFY(!rig.port().isOpen());

    // A receiver of `finished` may start the next exchange on the same port: the first one's
    // closing leaves the port to it.
    rig.emulator().core().fault = Fault::None;
    rig.emulator().received.clear();
    ClearMemoryExchange first(rig.target(), TimingFor(false));
    DownloadExchange second(rig.target(), NumberedImage(), true, TimingFor(false));
    connect(&first, &Exchange::finished, &second, [&] {
        second.start();
        first.cancel(); // the ended one's cancel leaves the port to the second
    });
    Outcome s;
    s.watch(second);
    first.start();
    QVERIFY(s.wait());
    QCOMPARE(s.result.message.text, QStringLiteral("Download OK!"));
    const auto& frames = rig.emulator().core().frames;
    QCOMPARE(frames.size(), 3); // the read above, the clear, the download
    QCOMPARE(frames[1].command, quint8(0x83));
    QCOMPARE(frames[2].command, quint8(0x01));

    // Destroying a running exchange ends it too.
    rig.emulator().core().fault = Fault::Silent;
    auto upload =
        std::make_unique<UploadExchange>(rig.target(), UploadRequest::Configuration, TestTiming());
    upload->start();
    QVERIFY(rig.port().isOpen());
    upload.reset();
    QVERIFY(!rig.port().isOpen());
}

void TestExchanges::cancelAndStartAnother_data() {
    QTest::addColumn<Which>("which");
    QTest::addColumn<QString>("at"); // the status text; none: the first text of a memory read
    QTest::addColumn<QByteArray>("before"); // what went out before the clear
    QTest::newRow("firmware, as it begins")
        << Which::Firmware << "Be Transmiting ISP Command" << QByteArray();
    QTest::newRow("firmware, as a page goes out")
        << Which::Firmware << PageStatus(0, 1)
        << QByteArray::fromHex("02840385") + QByteArray(192, '\0');
    QTest::newRow("memory read, at its first text")
        << Which::ReadMemory << "" << QByteArray::fromHex("02820383") + "S";
}

void TestExchanges::cancelAndStartAnother() {
    // A receiver of a status text or of a memory read's text may cancel the exchange and start
    // another one on the same port: nothing more of the first goes out.
    QFETCH(Which, which);
    QFETCH(QString, at);
    QFETCH(QByteArray, before);
    ExchangeRig rig;
    rig.emulator().core().memory.stream =
        DecoderCore::MemoryStream({QByteArray(70, 'a'), QByteArray(70, 'b'), "c"});
    std::unique_ptr<SerialExchange> first;
    if (which == Which::Firmware)
        first = std::make_unique<FirmwareExchange>(rig.target(), FirmwareImage(10), TestTiming());
    else
        first = std::make_unique<ReadMemoryExchange>(rig.target(), TestTiming());
    ClearMemoryExchange clear(rig.target(), TestTiming());
    auto cancelAndClear = [&] {
        if (!first->isRunning())
            return;
        first->cancel();
        clear.start();
    };
    connect(first.get(), &Exchange::statusText, &clear, [&](const QString& t) {
        if (t == at)
            cancelAndClear();
    });
    if (auto* read = qobject_cast<ReadMemoryExchange*>(first.get()))
        connect(read, &ReadMemoryExchange::textReceived, &clear, cancelAndClear);
    Outcome c;
    c.watch(clear);
    first->start();
    QVERIFY(c.wait());
    QCOMPARE(c.result.message.text, QStringLiteral("Clear Decoder Memory OK!"));
    QCOMPARE(rig.emulator().received, before + QByteArray::fromHex("02830382"));
}

void TestExchanges::twoPortsAtOnce() {
    ExchangeRig rig(2);
    for (int com : {1, 2}) {
        rig.emulator(com).core().fault = Fault::Late;
        rig.emulator(com).lateMsecs = 200;
    }
    rig.emulator(2).core().memory.stream = DecoderCore::MemoryStream({"two", "ports"});
    const LinkTiming timing = TimingFor(false);
    DownloadExchange download(rig.target(1), NumberedImage(), false, timing);
    ReadMemoryExchange read(rig.target(2), timing);
    Outcome d, r;
    d.watch(download);
    r.watch(read);
    // What each decoder saw and sent, in order.
    QStringList events;
    for (int com : {1, 2}) {
        connect(&rig.emulator(com), &emu::DecoderEmulator::frameReceived, this,
                [&events, com] { events << QStringLiteral("request %1").arg(com); });
        connect(&rig.emulator(com), &emu::DecoderEmulator::bytesSent, this,
                [&events, com] { events << QStringLiteral("answer %1").arg(com); });
    }
    download.start();
    read.start();
    QVERIFY(d.wait());
    QVERIFY(r.wait());
    QCOMPARE(d.result.message.text, QStringLiteral("Download OK!"));
    QCOMPARE(r.result.message.text, QStringLiteral("   Read Decoder Memory OK!\r\r"));
    QCOMPARE(r.result.memoryText, QByteArray("two\r\nports\r\n"));
    // Each decoder saw only its own exchange.
    QCOMPARE(rig.emulator(1).core().frames.size(), 1);
    QCOMPARE(rig.emulator(1).core().frames[0].command, quint8(0x02));
    QTRY_COMPARE_WITH_TIMEOUT(rig.emulator(2).received, QByteArray::fromHex("02820383") + "P",
                              GiveUpMsecs);
    // The two late answers were awaited side by side, not one after the other: both requests
    // came before either answer.
    const qsizetype firstAnswer = std::min(events.indexOf("answer 1"), events.indexOf("answer 2"));
    QVERIFY2(events.indexOf("request 1") >= 0 && events.indexOf("request 1") < firstAnswer &&
                 events.indexOf("request 2") >= 0 && events.indexOf("request 2") < firstAnswer,
             qPrintable(events.join(QLatin1String(", "))));
    QVERIFY(!rig.port(1).isOpen());
    QVERIFY(!rig.port(2).isOpen());
}

void TestExchanges::realTiming() {
    // The real figures, every one measured once; all run side by side on their own ports.
    ExchangeRig rig(7);
    const LinkTiming real;
    qint64 accessNsecs = 0;
    SetUpRealTiming(rig, &accessNsecs);

    DownloadExchange download(rig.target(1), NumberedImage(), true, real);
    UploadExchange upload(rig.target(2), UploadRequest::Version, real);
    ReadMemoryExchange read(rig.target(3), real);
    FirmwareExchange access(rig.target(4), FirmwareImage(10), real);
    FirmwareExchange erase(rig.target(5), FirmwareImage(10), real);
    FirmwareExchange page(rig.target(6), FirmwareImage(10), real);
    FirmwareExchange paced(rig.target(7), FirmwareImage(2 * 184), real);
    Outcome o[7];
    Exchange* all[7] = {&download, &upload, &read, &access, &erase, &page, &paced};
    // The second try of the unanswered page: one page time-out has passed.
    QElapsedTimer pageClock;
    qint64 pageTimeout = -1;
    connect(&page, &Exchange::statusText, this, [&](const QString& t) {
        if (t == PageStatus(0, 1))
            pageClock.start();
        if (t == PageStatus(0, 2)) {
            pageTimeout = pageClock.elapsed();
            page.cancel();
        }
    });
    for (int i = 0; i < 7; ++i) {
        o[i].watch(*all[i]);
        all[i]->start();
    }
    // Beside them, the two typed-answer time-outs of the keyboard link that the keyboard tests
    // run only scaled.
    TypedTimeOuts typed(real);
    QTRY_VERIFY_WITH_TIMEOUT(o[1].count == 1 && pageTimeout >= 0 && typed.outcome[0].count &&
                                 typed.outcome[1].count,
                             GiveUpMsecs);

    const MeasuredWait rows[] = {
        {"download answer", o[0].msecs, real.downloadReplyMsecs},
        {"upload block", o[1].msecs, real.uploadReplyMsecs},
        {"memory block", o[2].msecs, real.memoryReplyMsecs},
        {"loader access", o[3].msecs, real.ispAccessReplyMsecs},
        {"erase", o[4].msecs, real.ispEraseReplyMsecs + real.ispLoaderPauseMsecs},
        {"page", pageTimeout, real.ispPageReplyMsecs},
        {"typed upload", typed.answerWait[0], real.keyboardUploadMsecs},
        {"typed memory text", typed.answerWait[1], real.keyboardMemoryReadMsecs}};
    // Never shorter than the figure; a busy machine can only make a wait longer.
    for (const MeasuredWait& r : rows) {
        QVERIFY2(r.took >= r.least,
                 qPrintable(QStringLiteral("%1: %2 ms").arg(QLatin1String(r.what)).arg(r.took)));
    }
    for (int i = 0; i < 5; ++i)
        QCOMPARE(o[i].result.status, LinkStatus::TimedOut);
    QCOMPARE(typed.outcome[0].result.message.text, QStringLiteral("Upload Failed!"));
    QCOMPARE(typed.outcome[1].result.status, LinkStatus::TimedOut);
    QCOMPARE(o[6].result.message.text, QStringLiteral("ISP Transmit OK!"));
    ExpectLoaderPacing(rig.emulator(7).core(), accessNsecs, real);
}

QTEST_GUILESS_MAIN(TestExchanges)
#include "tst_exchanges.moc"
