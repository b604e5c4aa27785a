// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard-link exchanges on their own: what they write to the keyboard controller and the
// interrupt mask port (recorded by the port-access double), with the decoder's keystrokes typed
// by the test through typed(), mostly at a tenth of the real timing.

#include "link/exchange/keyboardexchanges.h"

#include "link/protocol/replies.h"
#include "orvemu/decodercore.h"
#include "support/keyboarddecoder.h"
#include "support/recordingportaccess.h"
#include "support/waiting.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <functional>
#include <memory>

using namespace orv;
using namespace orv::test;

Q_DECLARE_METATYPE(orv::LinkStatus)

namespace {

const QString Times = QStringLiteral("Times Out Error");

// Runs the event loop until `done` holds or the test gives up; false then. (The waits of QTest
// sleep 10 ms between their turns of the loop, far coarser than the link timing.)
bool RunUntil(const std::function<bool()>& done, int limitMsecs = GiveUpMsecs) {
    QEventLoop loop;
    QTimer poll;
    poll.setTimerType(Qt::PreciseTimer);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer limit;
    limit.setSingleShot(true);
    limit.setTimerType(Qt::PreciseTimer);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    if (done())
        return true;
    poll.start(1);
    limit.start(limitMsecs);
    loop.exec();
    return done();
}

void Run(int msecs) {
    RunUntil([] { return false; }, msecs);
}

// A tenth of the real timing, but bursts 40 ms apart.
LinkTiming Fast() {
    LinkTiming t = LinkTiming().scaled(0.1);
    t.handshakePeriodMsecs = 40;
    return t;
}

// The window's box as an exchange sees it: emptied when an answer is awaited, and handed over
// after every keystroke.
struct Box {
    KeyboardExchange& exchange;
    QString text;
    explicit Box(KeyboardExchange& e) : exchange(e) {
        QObject::connect(&e, &KeyboardExchange::answerAwaited, &e, [this] {
            text.clear();
            exchange.typed(text);
        });
    }
    void type(const QString& keys) {
        for (QChar c : keys) {
            text += c;
            exchange.typed(text);
        }
    }
};

// Plays the decoder: it counts the bursts written to the keyboard controller and types its
// answers into the box a little later, as keystrokes arrive from the keyboard line.
struct Decoder {
    RecordingPortAccess& port;
    Box& box;
    int answerAfterBursts = 1; // 0: never answers the handshake
    QString handshakeAnswer = QStringLiteral("S");
    QString dataAnswer = QStringLiteral("P"); // after the 172 characters of a download
    QString reply;                            // typed once the handshake's wait has ended
    int delayMsecs = 3;

    int bursts = 0;
    QByteArray data;

    Decoder(RecordingPortAccess& p, Box& b) : port(p), box(b) {
        port.onWrite = [this](const RecordingPortAccess::Write& w) {
            written(w);
        };
    }
    ~Decoder() { port.onWrite = nullptr; }

    void typeLater(const QString& keys) {
        if (keys.isEmpty())
            return;
        QTimer::singleShot(delayMsecs, Qt::PreciseTimer, &box.exchange,
                           [this, keys] { box.type(keys); });
    }

private:
    enum class State { Idle, Data, AwaitingUnmask } state_ = State::Idle;
    char runLetter_ = 0;
    int runLength_ = 0;

    void written(const RecordingPortAccess::Write& w) {
        if (w.port == InterruptMaskPort) {
            if (state_ == State::AwaitingUnmask) {
                state_ = State::Idle;
                typeLater(reply);
            }
            return;
        }
        const char c = static_cast<char>(w.value);
        if (state_ == State::Data) {
            data.append(c);
            if (data.size() == KeyboardDownloadLength) {
                state_ = State::Idle;
                typeLater(dataAnswer);
            }
            return;
        }
        runLength_ = c == runLetter_ ? runLength_ + 1 : 1;
        runLetter_ = c;
        if (runLength_ < BurstLength)
            return;
        runLength_ = 0;
        if (++bursts != answerAfterBursts)
            return;
        state_ = c == 'A' || c == 'B' ? State::Data : State::AwaitingUnmask;
        // At once, in the pause after the burst's last letter: no race with the next burst.
        box.type(handshakeAnswer);
    }
};

// An exchange with its box, its decoder and what it reported.
template <typename E> struct Rig {
    RecordingPortAccess port;
    std::unique_ptr<E> exchange;
    std::unique_ptr<Box> box;
    std::unique_ptr<Decoder> decoder;
    QList<ExchangeResult> results;
    QList<QPair<int, int>> progress;
    QElapsedTimer clock;
    qint64 startNsecs = 0; // when the exchange started, on the port double's clock

    template <typename... Args> explicit Rig(Args&&... args) {
        exchange = std::make_unique<E>(port, std::forward<Args>(args)...);
        box = std::make_unique<Box>(*exchange);
        decoder = std::make_unique<Decoder>(port, *box);
        QObject::connect(exchange.get(), &Exchange::finished, exchange.get(),
                         [this](const ExchangeResult& r) { results << r; });
        QObject::connect(exchange.get(), &Exchange::progress, exchange.get(),
                         [this](int v, int max) { progress << qMakePair(v, max); });
    }
    // Starts the exchange and returns once it has finished (false if the test gives up).
    bool run() {
        clock.start();
        startNsecs = port.clock.nsecsElapsed();
        exchange->start();
        return RunUntil([this] { return !exchange->isRunning(); });
    }
    const ExchangeResult& result() const { return results.constLast(); }
    // The writes as "port:value" items, with the keyboard letters as text: "AAAAA|0|..." where
    // "|0|" is the unmask write.
    QByteArray sequence(qsizetype from = 0) const {
        QByteArray out;
        for (qsizetype i = from; i < port.writes.size(); ++i) {
            const auto& w = port.writes[i];
            if (w.port == KeyboardDataPort)
                out.append(static_cast<char>(w.value));
            else
                out.append(w.port == InterruptMaskPort && w.value == 0 ? "|0|" : "|?|");
        }
        return out;
    }
    // Milliseconds from the first write to write i.
    double msecsAt(qsizetype i) const {
        return (port.writes[i].nsecs - port.writes[0].nsecs) / 1e6;
    }
    // Milliseconds from the start of the exchange to write i.
    double sinceStart(qsizetype i) const { return (port.writes[i].nsecs - startNsecs) / 1e6; }
};

QByteArray DownloadData(const Image& img) {
    QByteArray bytes(reinterpret_cast<const char*>(img.data()), ImageSize);
    quint8 check = 0;
    for (quint8 b : img)
        check ^= b;
    bytes.append(static_cast<char>(check));
    return bytes.toHex().toUpper();
}

Image SomeImage() {
    Image img{};
    for (int i = 0; i < ImageSize; ++i)
        img[i] = static_cast<quint8>(i * 37 + 11);
    img[0] = 0x41;
    img[1] = 0x0C;
    return img;
}

// A good keyboard upload reply of a decoder of `kind` with settings unlike its defaults.
QString UploadReply(emu::Kind kind, QByteArray* settings = nullptr) {
    QByteArray s = emu::DecoderCore::DefaultSettings(kind);
    for (int i = 0; i < s.size(); ++i)
        s[i] = static_cast<char>(s[i] ^ (0x13 * (i % 11 + 1)));
    if (settings)
        *settings = s;
    return emu::KeyboardUploadReply(kind, s, "VERSION 7.01", "2024-02-29");
}

} // namespace

class TestKeyboardExchanges : public QObject {
    Q_OBJECT
private slots:
    void download_data();
    void download();
    void upload_data();
    void upload();
    void readMemory_data();
    void readMemory();
    void clearMemory();
    void held_data();
    void held();
    void handshakeTimeout_data();
    void handshakeTimeout();
    void timeoutsUseTheirOwnFigure_data();
    void timeoutsUseTheirOwnFigure();
    void cancel_data();
    void cancel();
    void burstNeverCut_data();
    void burstNeverCut();
    void writerKeepsToDeadlines();
    void writerStops();
    void twoExchangesAtOnce();
    void windowTestDecoder_data();
    void windowTestDecoder();
    void realTiming();
};

void TestKeyboardExchanges::download_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("handshake");
    QTest::addColumn<int>("afterBursts");
    QTest::addColumn<QString>("dataAnswer");
    QTest::addColumn<LinkStatus>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("Save") << true << "S" << 1 << "P" << LinkStatus::Ok << "Download OK!";
    QTest::newRow("Not Save, lower case, third burst")
        << false << "s" << 3 << "p" << LinkStatus::Ok << "Download OK!";
    QTest::newRow("refused") << true << "S" << 1 << "E" << LinkStatus::Refused
                             << "Download Failed!";
    QTest::newRow("P among more") << true << "S" << 2 << "PP" << LinkStatus::Refused
                                  << "Download Failed!";
    QTest::newRow("no answer to the data")
        << false << "S" << 1 << "" << LinkStatus::TimedOut << "Download Failed!";
}

void TestKeyboardExchanges::download() {
    QFETCH(bool, save);
    QFETCH(QString, handshake);
    QFETCH(int, afterBursts);
    QFETCH(QString, dataAnswer);
    QFETCH(LinkStatus, status);
    QFETCH(QString, message);
    const Image img = SomeImage();
    // An accepted download ends by its "P", without the time-out: a "P" in either case ends
    // the wait.
    Rig<KeyboardDownloadExchange> rig(img, save,
                                      status == LinkStatus::Ok ? WithoutTimeOuts(Fast()) : Fast());
    rig.decoder->handshakeAnswer = handshake;
    rig.decoder->answerAfterBursts = afterBursts;
    rig.decoder->dataAnswer = dataAnswer;
    QVERIFY(rig.run());

    const QByteArray data = DownloadData(img);
    QVERIFY(data.startsWith("410C"));
    QCOMPARE(rig.sequence(), QByteArray(5 * afterBursts, save ? 'A' : 'B') + "|0|" + data + "|0|");
    QCOMPARE(rig.results.size(), 1);
    QCOMPARE(rig.result().status, status);
    QCOMPARE(rig.result().message.text, message);
    QCOMPARE(rig.result().message.title, QStringLiteral("CFG Message"));
    for (const auto& w : rig.port.writes)
        QCOMPARE(w.size, quint8(1));
    // Progress: the index of every image byte once its two digits are out, of 84.
    QCOMPARE(rig.progress.size(), 1 + ImageSize);
    for (int i = 0; i < rig.progress.size(); ++i)
        QCOMPARE(rig.progress[i], qMakePair(std::max(0, i - 1), 84));
    // The data follow the pause after the handshake's unmask.
    const qsizetype unmask = 5 * afterBursts;
    QVERIFY(rig.msecsAt(unmask + 1) - rig.msecsAt(unmask) >= Fast().handshakePauseMsecs);
}

void TestKeyboardExchanges::upload_data() {
    QTest::addColumn<emu::Kind>("kind");
    QTest::addColumn<UploadRequest>("request");
    QTest::addColumn<QString>("how"); // how the good reply is spoiled
    QTest::addColumn<LinkStatus>("status");
    QTest::newRow("magnetic reader")
        << emu::Kind::Mag << UploadRequest::Configuration << "" << LinkStatus::Ok;
    QTest::newRow("bar decoder") << emu::Kind::Bar << UploadRequest::Configuration << ""
                                 << LinkStatus::Ok;
    QTest::newRow("version") << emu::Kind::Bar << UploadRequest::Version << "" << LinkStatus::Ok;
    QTest::newRow("lower-case hex")
        << emu::Kind::Mag << UploadRequest::Configuration << "lower" << LinkStatus::Ok;
    QTest::newRow("wrong check") << emu::Kind::Mag << UploadRequest::Configuration << "check"
                                 << LinkStatus::Refused;
    QTest::newRow("version, wrong check")
        << emu::Kind::Mag << UploadRequest::Version << "check" << LinkStatus::Refused;
    QTest::newRow("146 characters at once")
        << emu::Kind::Bar << UploadRequest::Configuration << "long" << LinkStatus::Refused;
    QTest::newRow("148 characters at once: progress stops at 146")
        << emu::Kind::Mag << UploadRequest::Configuration << "longer" << LinkStatus::Refused;
    QTest::newRow("144 characters: waits for the time-out")
        << emu::Kind::Mag << UploadRequest::Configuration << "short" << LinkStatus::Refused;
    QTest::newRow("nothing typed")
        << emu::Kind::Mag << UploadRequest::Configuration << "none" << LinkStatus::TimedOut;
}

void TestKeyboardExchanges::upload() {
    QFETCH(emu::Kind, kind);
    QFETCH(UploadRequest, request);
    QFETCH(QString, how);
    QFETCH(LinkStatus, status);
    QByteArray settings;
    QString reply = UploadReply(kind, &settings);
    QCOMPARE(reply.size(), 145);
    if (how == QLatin1String("lower"))
        reply = reply.toLower();
    else if (how == QLatin1String("check"))
        reply[3] = reply[3] == QLatin1Char('0') ? QLatin1Char('1') : QLatin1Char('0');
    else if (how == QLatin1String("long"))
        reply += QLatin1Char('0');
    else if (how == QLatin1String("longer"))
        reply += QStringLiteral("000");
    else if (how == QLatin1String("short"))
        reply.chop(1);
    else if (how == QLatin1String("none"))
        reply.clear();
    Rig<KeyboardUploadExchange> rig(request, Fast());
    rig.decoder->reply = reply;
    QVERIFY(rig.run());

    QCOMPARE(rig.sequence(), QByteArray("CCCCC|0||0|"));
    QCOMPARE(rig.result().status, status);
    QCOMPARE(rig.result().message.title, QStringLiteral("Upload Message"));
    const bool good = status == LinkStatus::Ok;
    QCOMPARE(rig.result().upload.has_value(), good);
    if (good) {
        const UploadBlock& block = *rig.result().upload;
        QCOMPARE(block.region, kind == emu::Kind::Bar ? Region::Bar : Region::Mag);
        QCOMPARE(block.settings, settings);
        QCOMPARE(rig.result().versionText, QStringLiteral("   ") + reply.mid(123, 12) +
                                               QStringLiteral("\n\r   ") + reply.right(10));
        QCOMPARE(rig.result().versionText.toUpper(),
                 QStringLiteral("   VERSION 7.01\n\r   2024-02-29"));
        QCOMPARE(rig.result().message.text, request == UploadRequest::Version
                                                ? VersionMessage(rig.result().versionText)
                                                : QStringLiteral("   Upload OK!   "));
    } else {
        QCOMPARE(rig.result().message.text, QStringLiteral("Upload Failed!"));
    }
    // Progress: 0 of 146 once the reply is awaited, then the length typed, at most 146.
    QVERIFY(!rig.progress.isEmpty());
    QCOMPARE(rig.progress.first(), qMakePair(0, 146));
    QCOMPARE(rig.progress.constLast(), qMakePair(int(std::min<qsizetype>(reply.size(), 146)), 146));
    const double waited = rig.clock.elapsed();
    if (how == QLatin1String("short") || how == QLatin1String("none"))
        QVERIFY2(waited >= Fast().keyboardUploadMsecs, qPrintable(QString::number(waited)));
}

void TestKeyboardExchanges::readMemory_data() {
    QTest::addColumn<QString>("handshake");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("endTyping");
    QTest::addColumn<LinkStatus>("status");
    QTest::addColumn<bool>("waitsForTimeOut");
    QTest::newRow("code 3") << "S"
                            << "REC 1\nREC 2\n\x03" << false << LinkStatus::Ok << false;
    QTest::newRow("answer ends in lower-case s")
        << "xs"
        << "only\n\x03" << false << LinkStatus::Ok << false;
    QTest::newRow("Ctrl+C") << "S"
                            << "ABC" << true << LinkStatus::Ok << false;
    QTest::newRow("more than 3000 characters")
        << "S" << QString(3001, QLatin1Char('m')) << false << LinkStatus::Ok << false;
    QTest::newRow("3000 characters: time-out")
        << "S" << QString(3000, QLatin1Char('m')) << false << LinkStatus::TimedOut << true;
    QTest::newRow("never ends") << "S"
                                << "PARTIAL" << false << LinkStatus::TimedOut << true;
}

void TestKeyboardExchanges::readMemory() {
    QFETCH(QString, handshake);
    QFETCH(QString, typed);
    QFETCH(bool, endTyping);
    QFETCH(LinkStatus, status);
    QFETCH(bool, waitsForTimeOut);
    // A wait that the text ends has no time-out here, so that only the text can end it.
    LinkTiming timing = Fast();
    if (!waitsForTimeOut)
        timing.keyboardMemoryReadMsecs = NeverMsecs;
    Rig<KeyboardReadMemoryExchange> rig(timing);
    rig.decoder->handshakeAnswer = handshake;
    rig.decoder->reply = typed;
    QSignalSpy awaited(rig.exchange.get(), &KeyboardExchange::answerAwaited);
    if (endTyping) {
        QObject::connect(
            rig.exchange.get(), &KeyboardExchange::answerAwaited, rig.exchange.get(), [&] {
                QTimer::singleShot(20, rig.exchange.get(), [&] { rig.exchange->endTyping(); });
            });
    }
    QVERIFY(rig.run());
    QCOMPARE(awaited.size(), 1);
    QCOMPARE(rig.sequence(), QByteArray("MMMMM|0||0|"));
    QCOMPARE(rig.result().status, status);
    QVERIFY(rig.result().message.text.isEmpty());
    QCOMPARE(rig.box->text, typed);
    const qint64 took = rig.clock.elapsed();
    if (waitsForTimeOut)
        QVERIFY2(took >= timing.keyboardMemoryReadMsecs, qPrintable(QString::number(took)));
    // Never back to back: at least half the (scaled) memory spacing between the letters.
    for (int i = 1; i < 5; ++i) {
        const double gap = rig.msecsAt(i) - rig.msecsAt(i - 1);
        QVERIFY2(gap >= 0.5, qPrintable(QString::number(gap)));
    }
}

void TestKeyboardExchanges::clearMemory() {
    for (const QString& answer : {QStringLiteral("S"), QStringLiteral("xs")}) {
        Rig<KeyboardClearMemoryExchange> rig(Fast());
        rig.decoder->handshakeAnswer = answer;
        rig.decoder->answerAfterBursts = 2;
        QSignalSpy awaited(rig.exchange.get(), &KeyboardExchange::answerAwaited);
        QVERIFY(rig.run());
        // Unmasked after the wait, and once more before the success.
        QCOMPARE(rig.sequence(), QByteArray("NNNNNNNNNN|0||0|"));
        QCOMPARE(rig.result().status, LinkStatus::Ok);
        QCOMPARE(rig.result().message.text, QStringLiteral("Clear Decoder Memory OK!"));
        QCOMPARE(rig.result().message.title, QStringLiteral("Clear Memory Message"));
        QCOMPARE(awaited.size(), 0);
    }
}

void TestKeyboardExchanges::held_data() {
    QTest::addColumn<bool>("answers");  // the decoder answers the handshake while it is held
    QTest::addColumn<bool>("released"); // released afterwards, or cancelled
    QTest::newRow("answered, released") << true << true;
    QTest::newRow("answered, cancelled") << true << false;
    QTest::newRow("timed out, released") << false << true;
    QTest::newRow("timed out, cancelled") << false << false;
}

void TestKeyboardExchanges::held() {
    // A held exchange writes its bursts, but a wait that ends stays where it is: the mask is
    // not written and nothing more happens until release; a cancel writes the mask once.
    QFETCH(bool, answers);
    QFETCH(bool, released);
    Rig<KeyboardClearMemoryExchange> rig(Fast());
    rig.decoder->answerAfterBursts = answers ? 2 : 0;
    rig.exchange->start();
    rig.exchange->setHeld(true);
    const QByteArray bursts = QByteArray("NNNNN").repeated(answers ? 2 : 15);
    // The wait comes to its end (the answer with the second burst, or the tick after the 15th
    // burst), and three periods more pass.
    QVERIFY(RunUntil(
        [&] { return rig.sequence() == bursts && (answers || rig.exchange->tickCount() > 15); }));
    Run(rig.exchange->timing().handshakePeriodMsecs * 3);
    QCOMPARE(rig.sequence(), bursts);
    QVERIFY(rig.exchange->isRunning());
    QVERIFY(rig.results.isEmpty());
    if (released) {
        rig.exchange->setHeld(false);
        QVERIFY(RunUntil([&] { return !rig.exchange->isRunning(); }));
        QCOMPARE(rig.sequence(), bursts + (answers ? "|0||0|" : "|0|"));
        QCOMPARE(rig.result().message.text,
                 answers ? QStringLiteral("Clear Decoder Memory OK!") : Times);
    } else {
        rig.exchange->cancel();
        Run(rig.exchange->timing().handshakePeriodMsecs * 2);
        QCOMPARE(rig.sequence(), bursts + "|0|");
        QVERIFY(rig.results.isEmpty());
    }
}

void TestKeyboardExchanges::handshakeTimeout_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<char>("letter");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("almost"); // typed, but not the answer
    QTest::newRow("download, Save") << 0 << 'A' << "CFG Message"
                                    << "SS";
    QTest::newRow("download, Not Save") << 1 << 'B' << "CFG Message"
                                        << "xS";
    QTest::newRow("upload") << 2 << 'C' << "Upload Message"
                            << "P";
    QTest::newRow("memory read") << 3 << 'M' << "Read Decoder Memory Message"
                                 << "Sx";
    QTest::newRow("memory clear") << 4 << 'N' << "Clear Decoder Memory Message"
                                  << "P";
}

void TestKeyboardExchanges::handshakeTimeout() {
    QFETCH(int, which);
    QFETCH(char, letter);
    QFETCH(QString, title);
    QFETCH(QString, almost);
    // Nothing answers here, so the bursts may come closer than Fast() has them.
    LinkTiming timing = Fast();
    timing.handshakePeriodMsecs = 20;
    RecordingPortAccess port;
    std::unique_ptr<KeyboardExchange> exchange;
    switch (which) {
    case 0:
    case 1:
        exchange =
            std::make_unique<KeyboardDownloadExchange>(port, SomeImage(), which == 0, timing);
        break;
    case 2:
        exchange = std::make_unique<KeyboardUploadExchange>(port, UploadRequest::Version, timing);
        break;
    case 3:
        exchange = std::make_unique<KeyboardReadMemoryExchange>(port, timing);
        break;
    default:
        exchange = std::make_unique<KeyboardClearMemoryExchange>(port, timing);
    }
    QSignalSpy finished(exchange.get(), &Exchange::finished);
    QElapsedTimer clock;
    clock.start();
    exchange->start();
    QTimer::singleShot(timing.handshakePeriodMsecs * 3 / 2, exchange.get(),
                       [&] { exchange->typed(almost); });
    QVERIFY(RunUntil([&] { return !exchange->isRunning(); }));
    const qint64 took = clock.elapsed();
    // Exactly 15 bursts of five letters, the unmask, and nothing more.
    Run(3 * timing.handshakePeriodMsecs);
    QByteArray letters;
    for (const auto& w : port.writes) {
        if (w.port == KeyboardDataPort)
            letters.append(static_cast<char>(w.value));
    }
    QCOMPARE(letters, QByteArray(75, letter));
    QCOMPARE(port.writes.size(), 76);
    QCOMPARE(port.writes.constLast().port, InterruptMaskPort);
    QCOMPARE(finished.size(), 1);
    const auto result = finished[0][0].value<ExchangeResult>();
    QCOMPARE(result.status, LinkStatus::TimedOut);
    QCOMPARE(result.message.text, Times);
    QCOMPARE(result.message.title, title);
    QVERIFY2(took >= 16 * timing.handshakePeriodMsecs, qPrintable(QString::number(took)));
    // Burst n starts no earlier than n periods after the start. (The double's clock started
    // before the exchange. How closely the ticks keep to their deadlines is bench_link's figure.)
    const double lastBurst = port.writes[70].nsecs / 1e6;
    QVERIFY2(lastBurst >= 15 * timing.handshakePeriodMsecs, qPrintable(QString::number(lastBurst)));
}

void TestKeyboardExchanges::timeoutsUseTheirOwnFigure_data() {
    QTest::addColumn<int>("which");
    QTest::newRow("download accept") << 0;
    QTest::newRow("upload") << 1;
    QTest::newRow("memory read") << 2;
}

void TestKeyboardExchanges::timeoutsUseTheirOwnFigure() {
    // The other figures are never reached: a wait that took one of them would not end.
    QFETCH(int, which);
    LinkTiming timing = Fast();
    timing.keyboardAcceptMsecs = which == 0 ? 100 : NeverMsecs;
    timing.keyboardUploadMsecs = which == 1 ? 400 : NeverMsecs;
    timing.keyboardMemoryReadMsecs = which == 2 ? 250 : NeverMsecs;
    const int expected = QList<int>{100, 400, 250}[which];
    RecordingPortAccess port;
    std::unique_ptr<KeyboardBurstExchange> exchange;
    if (which == 0)
        exchange = std::make_unique<KeyboardDownloadExchange>(port, SomeImage(), true, timing);
    else if (which == 1)
        exchange =
            std::make_unique<KeyboardUploadExchange>(port, UploadRequest::Configuration, timing);
    else
        exchange = std::make_unique<KeyboardReadMemoryExchange>(port, timing);
    QElapsedTimer waited;
    QObject::connect(exchange.get(), &KeyboardExchange::answerAwaited, exchange.get(),
                     [&] { waited.start(); });
    exchange->start();
    QTimer::singleShot(timing.handshakePeriodMsecs + 10, exchange.get(),
                       [&] { exchange->typed(QStringLiteral("S")); });
    QVERIFY(RunUntil([&] { return !exchange->isRunning(); }));
    QVERIFY(waited.isValid());
    const qint64 took = waited.elapsed();
    QVERIFY2(took >= expected, qPrintable(QString::number(took)));
}

// Where the exchange is when it is cancelled.
enum class At {
    BeforeFirstBurst,
    MidBurst,
    BurstAfterAnswer, // answered while a burst is written: the burst goes on
    AnswerTyped,      // the answer typed, its wait not yet over
    Pause,            // between the handshake and the data
    Data,
    AcceptWait,
    UploadWait,
    MemoryWait,
    Ctrl_C_Typed,
};

void TestKeyboardExchanges::cancel_data() {
    QTest::addColumn<int>("which"); // 0 download, 1 upload, 2 read, 3 clear
    QTest::addColumn<At>("at");
    QTest::addColumn<bool>("unmasks");
    // Destroyed instead of cancelled, from the event loop (as a window closing does): it ends
    // as a cancel would.
    QTest::addColumn<bool>("destroys");
    QTest::newRow("download, before the first burst") << 0 << At::BeforeFirstBurst << true << false;
    QTest::newRow("download, in a burst") << 0 << At::MidBurst << true << false;
    QTest::newRow("upload, burst after the answer") << 1 << At::BurstAfterAnswer << true << false;
    QTest::newRow("clear, answer typed") << 3 << At::AnswerTyped << true << false;
    QTest::newRow("read, in a burst") << 2 << At::MidBurst << true << false;
    QTest::newRow("download, pause") << 0 << At::Pause << false << false;
    QTest::newRow("download, data") << 0 << At::Data << false << false;
    QTest::newRow("download, waiting for P") << 0 << At::AcceptWait << true << false;
    QTest::newRow("upload, waiting for the reply") << 1 << At::UploadWait << true << false;
    QTest::newRow("read, waiting for the text") << 2 << At::MemoryWait << true << false;
    QTest::newRow("read, Ctrl+C just typed") << 2 << At::Ctrl_C_Typed << true << false;
    QTest::newRow("destroyed: download, before the first burst")
        << 0 << At::BeforeFirstBurst << true << true;
    QTest::newRow("destroyed: read, in a burst") << 2 << At::MidBurst << true << true;
    QTest::newRow("destroyed: clear, answer typed") << 3 << At::AnswerTyped << true << true;
    QTest::newRow("destroyed: download, pause") << 0 << At::Pause << false << true;
    QTest::newRow("destroyed: download, data") << 0 << At::Data << false << true;
    QTest::newRow("destroyed: download, waiting for P") << 0 << At::AcceptWait << true << true;
    QTest::newRow("destroyed: upload, waiting for the reply")
        << 1 << At::UploadWait << true << true;
    QTest::newRow("destroyed: read, waiting for the text") << 2 << At::MemoryWait << true << true;
}

Q_DECLARE_METATYPE(At)

namespace {

std::unique_ptr<KeyboardBurstExchange> MakeBurstExchange(int which, RecordingPortAccess& port,
                                                         const LinkTiming& timing) {
    switch (which) {
    case 0:
        return std::make_unique<KeyboardDownloadExchange>(port, SomeImage(), true, timing);
    case 1:
        return std::make_unique<KeyboardUploadExchange>(port, UploadRequest::Configuration, timing);
    case 2:
        return std::make_unique<KeyboardReadMemoryExchange>(port, timing);
    default:
        return std::make_unique<KeyboardClearMemoryExchange>(port, timing);
    }
}

// Starts `ex` and plays the decoder so that `cancelNow` is called when the exchange is `at`.
void CancelAt(At at, KeyboardBurstExchange& ex, RecordingPortAccess& port, const LinkTiming& timing,
              const std::function<void()>& cancelNow) {
    auto keyboardWrites = std::make_shared<int>(0);
    port.onWrite = [=, &ex](const RecordingPortAccess::Write& w) {
        // A third into the pause that follows the handshake's unmask.
        if (at == At::Pause && w.port == InterruptMaskPort)
            QTimer::singleShot(timing.handshakePauseMsecs / 3, &ex, cancelNow);
        if (w.port != KeyboardDataPort)
            return;
        ++*keyboardWrites;
        switch (at) {
        case At::MidBurst:
            if (*keyboardWrites == 2)
                cancelNow();
            break;
        case At::BurstAfterAnswer:
            if (*keyboardWrites == 2)
                ex.typed(QStringLiteral("S"));
            if (*keyboardWrites == 4)
                cancelNow();
            break;
        case At::Data:
            if (*keyboardWrites == 5 + 10)
                cancelNow();
            break;
        default:
            break;
        }
    };
    QObject::connect(&ex, &KeyboardExchange::answerAwaited, &ex, [=, &ex] {
        if (at == At::AcceptWait || at == At::UploadWait || at == At::MemoryWait)
            QTimer::singleShot(5, &ex, cancelNow);
        if (at == At::Ctrl_C_Typed) {
            ex.endTyping();
            cancelNow();
        }
    });
    ex.start();
    if (at == At::BeforeFirstBurst)
        QTimer::singleShot(timing.handshakePeriodMsecs / 2, &ex, cancelNow);
    if (at != At::MidBurst && at != At::BeforeFirstBurst && at != At::BurstAfterAnswer) {
        // Answers the handshake after the first burst.
        QTimer::singleShot(timing.handshakePeriodMsecs + 20, &ex, [=, &ex] {
            ex.typed(QStringLiteral("S"));
            if (at == At::AnswerTyped)
                cancelNow();
        });
    }
}

} // namespace

void TestKeyboardExchanges::cancel() {
    QFETCH(int, which);
    QFETCH(At, at);
    QFETCH(bool, unmasks);
    QFETCH(bool, destroys);
    LinkTiming timing = Fast();
    timing.handshakePeriodMsecs = 30;
    timing.transmitByteSpacingMsecs = 3;
    timing.memoryByteSpacingMsecs = 3;
    timing.handshakePauseMsecs = 30;
    RecordingPortAccess port;
    std::unique_ptr<KeyboardBurstExchange> exchange = MakeBurstExchange(which, port, timing);
    KeyboardBurstExchange& ex = *exchange;
    QSignalSpy finished(&ex, &Exchange::finished);
    qsizetype writesAtCancel = -1;
    bool destroyAsked = false;
    auto cancelNow = [&] {
        if (writesAtCancel >= 0 || destroyAsked)
            return;
        if (!destroys) {
            writesAtCancel = port.writes.size();
            ex.cancel();
            return;
        }
        // Not from inside the exchange's own call: a window is closed from the event loop.
        destroyAsked = true;
        QTimer::singleShot(0, this, [&] {
            writesAtCancel = port.writes.size();
            exchange.reset();
        });
    };
    CancelAt(at, ex, port, timing, cancelNow);
    QVERIFY(RunUntil([&] { return writesAtCancel >= 0; }));
    QVERIFY(destroys || !ex.isRunning());
    if (at == At::Pause)
        QCOMPARE(writesAtCancel, 6); // no data yet
    // Everything the exchange would still have done, and more.
    Run(4 * timing.handshakePeriodMsecs);
    const auto after = port.writes.mid(writesAtCancel);
    QCOMPARE(after.size(), unmasks ? 1 : 0);
    if (unmasks)
        QCOMPARE(after[0].port, InterruptMaskPort);
    QCOMPARE(finished.size(), 0);
    // Every wait that began has unmasked the interrupts once.
    if (at != At::Pause && at != At::Data)
        QCOMPARE(port.writes.constLast().port, InterruptMaskPort);
    const bool secondWait = at == At::AcceptWait || at == At::UploadWait || at == At::MemoryWait ||
                            at == At::Ctrl_C_Typed;
    QCOMPARE(port.valuesTo(InterruptMaskPort).size(), secondWait ? 2 : 1);
    if (at == At::BurstAfterAnswer || at == At::MidBurst)
        QVERIFY(port.valuesTo(KeyboardDataPort).size() < 5);
    if (!destroys)
        ex.cancel(); // a second cancel changes nothing
    exchange.reset();
    QCOMPARE(port.writes.size(), writesAtCancel + (unmasks ? 1 : 0));
}

void TestKeyboardExchanges::burstNeverCut_data() {
    QTest::addColumn<int>("stallAtLetter");  // the letter whose write stalls the event loop
    QTest::addColumn<int>("answerAtLetter"); // 0: no answer
    QTest::newRow("bursts longer than the period, no answer") << 0 << 0;
    QTest::newRow("a stall over a tick, no answer") << 7 << 0;
    QTest::newRow("answer in the second burst") << 0 << 8;
    QTest::newRow("answer during a stall over a tick") << 7 << 8;
}

void TestKeyboardExchanges::burstNeverCut() {
    QFETCH(int, stallAtLetter);
    QFETCH(int, answerAtLetter);
    LinkTiming timing = Fast();
    timing.handshakePeriodMsecs = 8;
    timing.transmitByteSpacingMsecs = 3; // a burst takes 15 ms, almost two periods
    RecordingPortAccess port;
    KeyboardUploadExchange ex(port, UploadRequest::Version, timing);
    int letters = 0;
    port.onWrite = [&](const RecordingPortAccess::Write& w) {
        if (w.port != KeyboardDataPort)
            return;
        ++letters;
        if (letters == stallAtLetter)
            QThread::msleep(3 * timing.handshakePeriodMsecs); // a loaded machine
        if (letters == answerAtLetter)
            ex.typed(QStringLiteral("S"));
    };
    ex.start();
    QVERIFY(RunUntil([&] { return !ex.isRunning(); }));
    Run(30);
    const QByteArray text = port.keyboardText();
    // Whole bursts only, the letters never closer than the spacing,
    // and one unmask at the very end.
    QCOMPARE(text.size() % 5, 0);
    QCOMPARE(text.size(), answerAtLetter ? 10 : 75);
    QCOMPARE(port.valuesTo(InterruptMaskPort).size(), answerAtLetter ? 2 : 1);
    QCOMPARE(port.writes[text.size()].port, InterruptMaskPort);
    for (int i = 1; i < text.size(); ++i) {
        const double gap = (port.writes[i].nsecs - port.writes[i - 1].nsecs) / 1e6;
        QVERIFY2(gap >= timing.transmitByteSpacingMsecs,
                 qPrintable(QStringLiteral("%1 ms before letter %2").arg(gap).arg(i)));
    }
}

void TestKeyboardExchanges::writerKeepsToDeadlines() {
    // A stall of several spacings: the bytes after it never come closer than the spacing (the
    // decoder needs it), so the stall shows as one long gap and is not made up with short ones.
    // (How close the gaps stay to the spacing is bench_keyboard's figure, not a test's.)
    RecordingPortAccess port;
    const int spacing = 4;
    const int n = 40;
    KeyboardWriter writer(port, spacing);
    port.onWrite = [&](const RecordingPortAccess::Write&) {
        if (port.writes.size() == 5)
            QThread::msleep(10);
    };
    QSignalSpy done(&writer, &KeyboardWriter::done);
    QSignalSpy written(&writer, &KeyboardWriter::byteWritten);
    writer.write(QByteArray(n, 'y'));
    QVERIFY(writer.isBusy());
    QVERIFY(RunUntil([&] { return !done.isEmpty(); }));
    QCOMPARE(port.writes.size(), n);
    QCOMPARE(written.size(), n);
    QCOMPARE(written.constLast()[0].toInt(), n - 1);
    QVERIFY(!writer.isBusy());
    QList<double> gaps;
    for (int i = 1; i < n; ++i) {
        const double gap = (port.writes[i].nsecs - port.writes[i - 1].nsecs) / 1e6;
        QVERIFY2(gap >= spacing, qPrintable(QStringLiteral("%1 ms at %2").arg(gap).arg(i)));
        gaps << gap;
    }
    // The stall: the byte after the stalled write comes a spacing after that write returned.
    QVERIFY2(gaps[4] >= 10 + spacing, qPrintable(QString::number(gaps[4])));
}

void TestKeyboardExchanges::writerStops() {
    // Stopping drops the rest of the run without `done`; a new run starts at once.
    RecordingPortAccess port;
    const int spacing = 2;
    KeyboardWriter writer(port, spacing);
    QSignalSpy done(&writer, &KeyboardWriter::done);
    writer.write("abcdef");
    writer.stop();
    QVERIFY(!writer.isBusy());
    Run(5 * spacing);
    QCOMPARE(port.keyboardText(), QByteArray("a"));
    QCOMPARE(done.size(), 0);
    // Bytes written during a run join it.
    writer.write("gh");
    writer.write("ij");
    QVERIFY(RunUntil([&] { return !done.isEmpty(); }));
    QCOMPARE(port.keyboardText(), QByteArray("aghij"));
    QCOMPARE(done.size(), 1);
}

void TestKeyboardExchanges::twoExchangesAtOnce() {
    const Image img = SomeImage();
    Rig<KeyboardDownloadExchange> a(img, false, Fast());
    Rig<KeyboardUploadExchange> b(UploadRequest::Configuration, Fast());
    a.decoder->answerAfterBursts = 2;
    b.decoder->reply = UploadReply(emu::Kind::Mag);
    a.exchange->start();
    b.exchange->start();
    QVERIFY(RunUntil([&] { return !a.exchange->isRunning() && !b.exchange->isRunning(); }));
    QCOMPARE(a.sequence(), QByteArray(10, 'B') + "|0|" + DownloadData(img) + "|0|");
    QCOMPARE(b.sequence(), QByteArray("CCCCC|0||0|"));
    QCOMPARE(a.result().message.text, QStringLiteral("Download OK!"));
    QCOMPARE(b.result().message.text, QStringLiteral("   Upload OK!   "));
    QCOMPARE(a.results.size(), 1);
    QCOMPARE(b.results.size(), 1);
}

void TestKeyboardExchanges::windowTestDecoder_data() {
    QTest::addColumn<int>("which"); // 0 download, 1 upload, 2 read, 3 clear
    QTest::addColumn<QByteArray>("sequence");
    QTest::addColumn<QString>("message");
    QTest::newRow("download") << 0 << QByteArray("BBBBB|0|") + DownloadData(SomeImage()) + "|0|"
                              << "Download OK!";
    QTest::newRow("upload") << 1 << QByteArray("CCCCC|0||0|") << "   Upload OK!   ";
    QTest::newRow("read") << 2 << QByteArray("MMMMM|0||0|") << "";
    QTest::newRow("clear") << 3 << QByteArray("NNNNN|0||0|") << "Clear Decoder Memory OK!";
}

void TestKeyboardExchanges::windowTestDecoder() {
    // The decoder of the link windows' tests, typing keys into boxes that the test forwards as
    // the windows do: the same writes and outcomes as theirs, at the real timing.
    QFETCH(int, which);
    QFETCH(QByteArray, sequence);
    QFETCH(QString, message);
    RecordingPortAccess port;
    QLineEdit text1;
    QPlainTextEdit memoryBox;
    KeyboardDecoder decoder(port, &text1);
    decoder.memoryBox = &memoryBox;
    decoder.memoryReply = QStringLiteral("REC\r");
    std::unique_ptr<KeyboardExchange> ex;
    if (which == 0)
        ex = std::make_unique<KeyboardDownloadExchange>(port, SomeImage(), false, LinkTiming());
    else if (which == 1)
        ex = std::make_unique<KeyboardUploadExchange>(port, UploadRequest::Configuration,
                                                      LinkTiming());
    else if (which == 2)
        ex = std::make_unique<KeyboardReadMemoryExchange>(port, LinkTiming());
    else
        ex = std::make_unique<KeyboardClearMemoryExchange>(port, LinkTiming());
    bool memoryText = false;
    QObject::connect(&text1, &QLineEdit::textChanged, ex.get(), [&](const QString& t) {
        if (!memoryText)
            ex->typed(t);
    });
    QObject::connect(&memoryBox, &QPlainTextEdit::textChanged, ex.get(), [&] {
        if (memoryText)
            ex->typed(memoryBox.toPlainText());
    });
    QObject::connect(ex.get(), &KeyboardExchange::answerAwaited, ex.get(), [&] {
        memoryText = which == 2;
        if (memoryText)
            memoryBox.clear();
        else
            text1.clear();
    });
    // The memory text has no code 3 (a key that the box does not take): the window ends the
    // wait on the key itself, as here.
    QObject::connect(&memoryBox, &QPlainTextEdit::textChanged, ex.get(), [&] {
        if (memoryText && memoryBox.toPlainText().endsWith(QLatin1Char('\n')))
            ex->endTyping();
    });
    QSignalSpy finished(ex.get(), &Exchange::finished);
    ex->start();
    QVERIFY(RunUntil([&] { return !finished.isEmpty(); }));
    QByteArray written;
    for (const auto& w : port.writes)
        written.append(w.port == KeyboardDataPort ? QByteArray(1, char(w.value)) : "|0|");
    QCOMPARE(written, sequence);
    QCOMPARE(finished[0][0].value<ExchangeResult>().message.text, message);
    QCOMPARE(decoder.unmasks, 2);
    if (which == 0)
        QVERIFY(decoder.dataCheckOk);
    if (which == 2)
        QCOMPARE(memoryBox.toPlainText(), QStringLiteral("REC\n"));
}

void TestKeyboardExchanges::realTiming() {
    // Handshake period, 4 ms spacing, the 20 ms pause and the 1 s accept time-out at the real
    // figures: a download that the decoder answers after its second burst and never accepts.
    // Each is a least time: a busy machine only makes them longer. (How close to the figures
    // they stay is measured by bench_link and bench_keyboard.)
    {
        Rig<KeyboardDownloadExchange> rig(SomeImage(), true, LinkTiming());
        rig.decoder->answerAfterBursts = 2;
        rig.decoder->dataAnswer.clear();
        QVERIFY(rig.run());
        QCOMPARE(rig.result().message.text, QStringLiteral("Download Failed!"));
        QCOMPARE(rig.port.writes.size(), 10 + 1 + 172 + 1);
        // Burst n at n periods from the start, at the earliest (a late tick does not push the
        // ones after it, so the gap between two bursts may be shorter).
        for (int burst : {0, 1}) {
            const double at = rig.sinceStart(5 * burst);
            QVERIFY2(at >= 150 * (burst + 1) - 1, qPrintable(QString::number(at)));
        }
        const double pause = rig.msecsAt(11) - rig.msecsAt(10);
        QVERIFY2(pause >= 20, qPrintable(QString::number(pause)));
        // 172 characters, never less than 4 ms apart.
        for (int i = 12; i <= 182; ++i) {
            const double gap = rig.msecsAt(i) - rig.msecsAt(i - 1);
            QVERIFY2(gap >= 4, qPrintable(QStringLiteral("%1 ms at %2").arg(gap).arg(i)));
        }
        const double accept = rig.msecsAt(183) - rig.msecsAt(182);
        QVERIFY2(accept >= 1000, qPrintable(QString::number(accept)));
    }
    // 2 ms between the letters of a memory burst; the first burst one period after the start.
    {
        Rig<KeyboardReadMemoryExchange> rig{LinkTiming()};
        rig.decoder->reply = QStringLiteral("R\x03");
        QVERIFY(rig.run());
        QCOMPARE(rig.sequence(), QByteArray("MMMMM|0||0|"));
        for (int i = 1; i < 5; ++i) {
            const double gap = rig.msecsAt(i) - rig.msecsAt(i - 1);
            QVERIFY2(gap >= 1, qPrintable(QStringLiteral("%1 ms at %2").arg(gap).arg(i)));
        }
        const double first = rig.sinceStart(0);
        QVERIFY2(first >= 150 - 1, qPrintable(QString::number(first)));
    }
}

QTEST_MAIN(TestKeyboardExchanges)
#include "tst_keyboardexchanges.moc"
