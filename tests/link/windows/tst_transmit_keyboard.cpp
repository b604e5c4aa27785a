// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// frmTransmit over the keyboard link: the bytes written to the keyboard controller (recorded by
// the port-access double), and the decoder's answers typed into Text1 by the test's decoder.

#include "transmitrig.h"

#include "support/keyboarddecoder.h"

using namespace orv;
using namespace orv::test;
using emu::Kind;

Q_DECLARE_METATYPE(orv::emu::Kind)

namespace {

const QString CfgTitle = QStringLiteral("CFG Message");
const QString UploadTitle = QStringLiteral("Upload Message");

struct KeyboardRig : TransmitRig {
    KeyboardDecoder decoder;
    // A third of the real timing.
    explicit KeyboardRig(Kind kind = Kind::Mag, const LinkTiming& timing = LinkTiming{}.scaled(0.3))
        : TransmitRig(kind, 0, timing), decoder(port, text1(), kind) {
        decoder.typingDelayMsecs = timing.handshakePeriodMsecs / 3;
    }

    // Times (ms) of the writes to the keyboard data port.
    QList<double> letterTimes() const {
        QList<double> out;
        for (const auto& w : port.writes) {
            if (w.port == KeyboardDataPort)
                out << w.nsecs / 1e6;
        }
        return out;
    }
    QList<quint32> portsWritten() const {
        QList<quint32> out;
        for (const auto& w : port.writes)
            out << w.port;
        return out;
    }
};

// The image as two uppercase hex digits per byte, worked out here on its own.
QByteArray HexOf(const Image& img) {
    return QByteArray(reinterpret_cast<const char*>(img.data()), ImageSize).toHex().toUpper();
}

} // namespace

class TestTransmitKeyboard : public QObject {
    Q_OBJECT
private slots:
    void download_data();
    void download();
    void downloadNotAccepted();
    void changedDuringHandshake_data();
    void changedDuringHandshake();
    void handshakeSilence_data();
    void handshakeSilence();
    void answerAfterSeveralBursts();
    void upload_data();
    void upload();
    void firmwareVersion();
    void commandDuringUploadQuestion_data();
    void commandDuringUploadQuestion();
    void closeInEachState_data();
    void closeInEachState();
    void progressBar();
    void keyboardTiming();
};

void TestTransmitKeyboard::download_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("answer");
    QTest::newRow("Save") << true << "S";
    QTest::newRow("Not Save, answer in lower case") << false << "s";
}

void TestTransmitKeyboard::download() {
    QFETCH(bool, save);
    QFETCH(QString, answer);
    KeyboardRig rig;
    rig.decoder.handshakeAnswer = answer;
    rig.decoder.dataAnswer = answer == QLatin1String("s") ? QStringLiteral("p") : "P";
    Image img = Config::BuiltInDefaults();
    img[0] = 0x41;
    img[1] = 0x0C;
    img[84] = 0xF0;
    rig.config.CfgData = img;
    rig.option("Option1", save ? 1 : 0)->click();
    rig.click("cmdTransmit");

    quint8 check = 0;
    for (quint8 b : img)
        check ^= b;
    const QByteArray letters(5, save ? 'A' : 'B');
    const QByteArray data = HexOf(img) + QByteArray(1, char(check)).toHex().toUpper();
    QCOMPARE(data.size(), 172);
    QVERIFY(data.startsWith("410C"));
    QCOMPARE(rig.port.keyboardText(), letters + data);
    QVERIFY(rig.decoder.dataCheckOk);
    QCOMPARE(rig.dialogs.texts(), QStringList{"Download OK!"});
    QCOMPARE(rig.dialogs.last().title, CfgTitle);
    // The mask port is written once after each of the two waits: after the handshake (before
    // the data) and after the answer.
    const QList<quint32> ports = rig.portsWritten();
    QCOMPARE(ports.count(InterruptMaskPort), 2);
    QCOMPARE(ports.indexOf(InterruptMaskPort), 5);
    QCOMPARE(ports.constLast(), InterruptMaskPort);
    QCOMPARE(rig.port.valuesTo(InterruptMaskPort), (QList<quint32>{0, 0}));
    for (const auto& w : rig.port.writes)
        QCOMPARE(w.size, quint8(1));
    QVERIFY(rig.buttonsEnabled());
    QVERIFY(rig.progress()->isHidden());
    QVERIFY(rig.emulator.received.isEmpty()); // nothing on the serial line
}

void TestTransmitKeyboard::downloadNotAccepted() {
    KeyboardRig rig;
    rig.decoder.dataAnswer = QStringLiteral("E");
    const qint64 took = rig.click("cmdTransmit");
    QVERIFY(took >= rig.timing.keyboardAcceptMsecs); // the answer wait runs out
    QCOMPARE(rig.dialogs.texts(), QStringList{"Download Failed!"});
    QCOMPARE(rig.port.valuesTo(InterruptMaskPort).size(), 2);
    QVERIFY(rig.buttonsEnabled());
}

void TestTransmitKeyboard::changedDuringHandshake_data() {
    QTest::addColumn<bool>("saveFirst");
    QTest::addColumn<bool>("chooseSave"); // the other save choice after the second burst
    QTest::addColumn<bool>("editImage");  // the image changed after the second burst
    QTest::newRow("Not Save, then Save") << false << true << false;
    QTest::newRow("Save, then Not Save") << true << true << false;
    QTest::newRow("image changed") << true << false << true;
}

void TestTransmitKeyboard::changedDuringHandshake() {
    // The download's inputs stay live until they are used: the bursts after a save choice
    // carry its letter (the decoder saves by the burst it answers), and the data are the image
    // as it is once the decoder has answered (the magnetic reader's defaults may be restored
    // from the menu meanwhile).
    QFETCH(bool, saveFirst);
    QFETCH(bool, chooseSave);
    QFETCH(bool, editImage);
    KeyboardRig rig;
    rig.decoder.answerAfterBursts = 4;
    rig.option("Option1", saveFirst ? 1 : 0)->click();
    int letters = 0;
    auto plain = rig.port.onWrite;
    rig.port.onWrite = [&](const RecordingPortAccess::Write& w) {
        plain(w);
        if (w.port == KeyboardDataPort && ++letters == 10) {
            QTimer::singleShot(0, rig.window, [&rig, saveFirst, chooseSave, editImage] {
                if (chooseSave)
                    rig.option("Option1", saveFirst ? 0 : 1)->click();
                if (editImage)
                    rig.config.CfgData[30] = static_cast<quint8>(~rig.config.CfgData[30]);
            });
        }
    };
    rig.click("cmdTransmit");
    const char first = saveFirst ? 'A' : 'B';
    const char then = chooseSave ? (saveFirst ? 'B' : 'A') : first;
    QCOMPARE(rig.decoder.burstLetters, QByteArray(2, first) + QByteArray(2, then));
    QCOMPARE(rig.decoder.data.left(170), HexOf(rig.config.CfgData));
    QVERIFY(rig.decoder.dataCheckOk);
    QCOMPARE(rig.dialogs.texts(), QStringList{"Download OK!"});
}

void TestTransmitKeyboard::handshakeSilence_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<char>("letter");
    QTest::addColumn<QString>("title");
    QTest::newRow("download, Save") << "cmdTransmit" << 'A' << CfgTitle;
    QTest::newRow("upload") << "cmdReceive" << 'C' << UploadTitle;
    QTest::newRow("version") << "CmdVersion" << 'C' << UploadTitle;
}

void TestTransmitKeyboard::handshakeSilence() {
    QFETCH(QString, button);
    QFETCH(char, letter);
    QFETCH(QString, title);
    KeyboardRig rig;
    rig.decoder.answerAfterBursts = 0;
    const Image before = rig.config.CfgData;
    const qint64 took = rig.click(qPrintable(button));
    // Exactly 15 bursts of five letters, then the message.
    QCOMPARE(rig.port.keyboardText(), QByteArray(75, letter));
    QCOMPARE(rig.decoder.bursts, 15);
    QCOMPARE(rig.dialogs.last().text, QStringLiteral("Times Out Error"));
    QCOMPARE(rig.dialogs.last().title, title);
    QCOMPARE(rig.portsWritten().constLast(), InterruptMaskPort);
    QCOMPARE(rig.port.valuesTo(InterruptMaskPort).size(), 1);
    QVERIFY2(took >= 16 * rig.timing.handshakePeriodMsecs - 2, qPrintable(QString::number(took)));
    QVERIFY(rig.config.CfgData == before);
    QVERIFY(rig.buttonsEnabled());
}

void TestTransmitKeyboard::answerAfterSeveralBursts() {
    KeyboardRig rig;
    rig.decoder.answerAfterBursts = 4;
    rig.click("cmdReceive");
    QCOMPARE(rig.decoder.burstLetters, QByteArray("CCCC"));
    QCOMPARE(rig.port.keyboardText(), QByteArray(20, 'C'));
    QCOMPARE(rig.dialogs.last().text, QStringLiteral("   Upload OK!   "));
}

void TestTransmitKeyboard::upload_data() {
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("how"); // how the good reply is spoiled
    QTest::addColumn<bool>("good");
    QTest::newRow("magnetic reader") << Kind::Mag << "" << true;
    QTest::newRow("bar decoder") << Kind::Bar << "" << true;
    QTest::newRow("lower-case hex") << Kind::Mag << "lower" << true;
    QTest::newRow("wrong check") << Kind::Mag << "check" << false;
    QTest::newRow("bar decoder, wrong check") << Kind::Bar << "check" << false;
    QTest::newRow("g among the hex digits") << Kind::Mag << "g" << false;
    QTest::newRow("colon among the hex digits") << Kind::Bar << ":" << false;
    QTest::newRow("first character 2") << Kind::Mag << "2" << false;
    QTest::newRow("146 characters") << Kind::Mag << "long" << false;
    QTest::newRow("144 characters") << Kind::Bar << "short" << false;
}

void TestTransmitKeyboard::upload() {
    QFETCH(Kind, kind);
    QFETCH(QString, how);
    QFETCH(bool, good);
    KeyboardRig rig(kind);
    QByteArray settings = rig.decoder.settings;
    for (int i = 0; i < settings.size(); ++i)
        settings[i] = static_cast<char>(settings[i] ^ (0x11 * (i % 15 + 1)));
    rig.decoder.settings = settings;
    QString reply = rig.decoder.goodUploadReply();
    QCOMPARE(reply.size(), 145);
    if (how == QLatin1String("lower"))
        reply = reply.toLower();
    else if (how == QLatin1String("check"))
        reply[2] = reply[2] == QLatin1Char('0') ? QLatin1Char('1') : QLatin1Char('0');
    else if (how == QLatin1String("g") || how == QLatin1String(":"))
        reply[5] = how[0];
    else if (how == QLatin1String("2"))
        reply[0] = QLatin1Char('2');
    else if (how == QLatin1String("long"))
        reply += QLatin1Char('0');
    else if (how == QLatin1String("short"))
        reply.chop(1);
    rig.decoder.uploadReply = reply;
    const Image before = rig.config.CfgData;
    rig.click("cmdReceive");

    QCOMPARE(rig.port.keyboardText(), QByteArray("CCCCC"));
    QCOMPARE(rig.dialogs.shown.size(), 2); // the question, then the outcome
    QCOMPARE(rig.dialogs.shown[0].message.title, UploadTitle);
    QCOMPARE(rig.dialogs.last().text,
             good ? QStringLiteral("   Upload OK!   ") : QStringLiteral("Upload Failed!"));
    QCOMPARE(rig.dialogs.last().title, UploadTitle);
    QCOMPARE(rig.port.valuesTo(InterruptMaskPort).size(), 2);
    Image expected = before;
    if (good) {
        const int first = kind == Kind::Bar ? 0 : 25;
        for (int i = 0; i < settings.size(); ++i)
            expected[first + i] = static_cast<quint8>(settings[i]);
    }
    QVERIFY(rig.config.CfgData == expected);
    QVERIFY(rig.progress()->isHidden());
    QVERIFY(rig.buttonsEnabled());
}

void TestTransmitKeyboard::firmwareVersion() {
    for (Kind kind : {Kind::Mag, Kind::Bar}) {
        KeyboardRig rig(kind);
        rig.decoder.versionFirst = "KB VERSION 9";
        rig.decoder.versionLast = "0123456789";
        QByteArray settings = rig.decoder.settings;
        for (auto& c : settings)
            c = static_cast<char>(~c);
        rig.decoder.settings = settings;
        const Image before = rig.config.CfgData;
        rig.click("CmdVersion");
        QCOMPARE(rig.dialogs.shown.size(), 1); // no question
        QCOMPARE(rig.dialogs.last().text,
                 QStringLiteral("Get Firmware Version OK!\r\r   KB VERSION 9\n\r   0123456789"));
        QCOMPARE(rig.dialogs.last().title, UploadTitle);
        QVERIFY(rig.config.CfgData == before);
    }
}

void TestTransmitKeyboard::commandDuringUploadQuestion_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("download") << "cmdTransmit";
    QTest::newRow("upload") << "cmdReceive";
    QTest::newRow("version") << "CmdVersion";
}

void TestTransmitKeyboard::commandDuringUploadQuestion() {
    // The upload's question belongs to its exchange: while it is open the window counts as
    // busy and another command does nothing.
    QFETCH(QString, command);
    KeyboardRig rig;
    bool busyDuringQuestion = false;
    rig.dialogs.onMessage = [&](const Dialogs::Message& m) {
        if (m.buttons != Dialogs::Buttons::OkCancel)
            return;
        busyDuringQuestion = rig.window->isExchangeRunning();
        if (command == QLatin1String("cmdTransmit"))
            rig.window->cmdTransmit_Click();
        else if (command == QLatin1String("cmdReceive"))
            rig.window->cmdReceive_Click();
        else
            rig.window->CmdVersion_Click();
    };
    rig.click("cmdReceive");
    QVERIFY(busyDuringQuestion);
    QCOMPARE(rig.port.keyboardText(), QByteArray("CCCCC"));
    QCOMPARE(rig.dialogs.texts(),
             (QStringList{"This will replace your current data with reader's data!",
                          "   Upload OK!   "}));
    QVERIFY(rig.buttonsEnabled());
}

void TestTransmitKeyboard::closeInEachState_data() {
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("unmasks"); // in all: the mask is written once for each wait
    QTest::newRow("mid-burst") << "burst" << 1;
    QTest::newRow("download data") << "data" << 1;
    QTest::newRow("waiting for P") << "accept" << 2;
    QTest::newRow("waiting for the upload reply") << "reply" << 2;
}

void TestTransmitKeyboard::closeInEachState() {
    // The window closed in each state of a keyboard exchange: nothing more is written to the
    // keyboard controller, the mask is written only for a wait under way, and no outcome shows.
    QFETCH(QString, state);
    QFETCH(int, unmasks);
    KeyboardRig rig;
    const bool upload = state == QLatin1String("reply");
    if (state == QLatin1String("burst"))
        rig.decoder.answerAfterBursts = 0;
    rig.decoder.dataAnswer.clear();
    rig.decoder.uploadReply = QStringLiteral("1234");
    int lettersAtClose = -1;
    auto closeIn = [&](int msecs) {
        QTimer::singleShot(msecs, rig.window, [&rig, &lettersAtClose] {
            lettersAtClose = int(rig.port.keyboardText().size());
            rig.window->close();
        });
    };
    int letters = 0;
    int masks = 0;
    auto plain = rig.port.onWrite;
    rig.port.onWrite = [&](const RecordingPortAccess::Write& w) {
        plain(w);
        if (w.port == InterruptMaskPort && ++masks == 1 && upload)
            closeIn(rig.timing.keyboardUploadMsecs / 2);
        if (w.port != KeyboardDataPort)
            return;
        ++letters;
        if (state == QLatin1String("burst") && letters == 3)
            closeIn(0);
        else if (state == QLatin1String("data") && rig.decoder.data.size() == 20)
            closeIn(0);
        else if (state == QLatin1String("accept") && rig.decoder.data.size() == 172)
            closeIn(rig.timing.keyboardAcceptMsecs / 2);
    };
    rig.click(upload ? "cmdReceive" : "cmdTransmit");
    QTest::qWait(rig.timing.handshakePeriodMsecs * 2); // nothing more goes out
    QVERIFY(rig.window.isNull() || rig.window->isUnloaded());
    QCOMPARE(int(rig.port.keyboardText().size()), lettersAtClose);
    QCOMPARE(rig.port.valuesTo(InterruptMaskPort).size(), unmasks);
    QCOMPARE(rig.dialogs.shown.size(), upload ? 1 : 0); // the question only
}

void TestTransmitKeyboard::progressBar() {
    KeyboardRig rig;
    // Seen from the decoder's side while the exchange runs.
    int maxDuringData = -1;
    bool visibleDuringData = false;
    int maxDuringReply = -1;
    int valueAtReply = -1;
    auto plain = rig.port.onWrite;
    rig.port.onWrite = [&](const RecordingPortAccess::Write& w) {
        plain(w);
        if (w.port == KeyboardDataPort && rig.decoder.data.size() == 172) {
            visibleDuringData = rig.progress()->isVisible();
            maxDuringData = rig.progress()->maximum();
        }
    };
    rig.click("cmdTransmit");
    QVERIFY(visibleDuringData);
    QCOMPARE(maxDuringData, 84);
    QVERIFY(rig.progress()->isHidden());

    connect(rig.text1(), &QLineEdit::textChanged, rig.window, [&](const QString& t) {
        if (t.size() == 145) {
            maxDuringReply = rig.progress()->maximum();
            valueAtReply = rig.progress()->value();
        }
    });
    rig.click("cmdReceive");
    QCOMPARE(rig.dialogs.last().text, QStringLiteral("   Upload OK!   "));
    QCOMPARE(maxDuringReply, 146);
    QCOMPARE(valueAtReply, 145);
    QVERIFY(rig.progress()->isHidden());
}

void TestTransmitKeyboard::keyboardTiming() {
    // Lower bounds only: the pauses are never shorter than the decoder needs. (The benchmark
    // measures how close to the nominal timing they are.) At the real timing.
    KeyboardRig rig(Kind::Mag, LinkTiming{});
    rig.decoder.answerAfterBursts = 3;
    const double clicked = rig.port.clock.nsecsElapsed() / 1e6;
    rig.click("cmdTransmit");
    const QList<double> t = rig.letterTimes();
    QCOMPARE(t.size(), 15 + 172);
    for (int i = 1; i < t.size(); ++i) {
        const bool newBurst = i < 15 && i % 5 == 0;
        const double gap = t[i] - t[i - 1];
        if (i == 15) {
            // "S" after the third burst, 20 ms, then the first data character.
            QVERIFY2(gap >= 24, qPrintable(QString::number(gap)));
        } else if (newBurst) {
            // Burst n at n periods from the start at the earliest: the ticks keep to deadlines,
            // so a late tick does not push the next one (that gap may be shorter).
            const double at = t[i] - clicked;
            QVERIFY2(at >= (i / 5 + 1) * 150 - 1, qPrintable(QString::number(at)));
        } else {
            QVERIFY2(gap >= 4, qPrintable(QStringLiteral("%1 at %2").arg(gap).arg(i)));
        }
    }
}

QTEST_MAIN(TestTransmitKeyboard)
#include "tst_transmit_keyboard.moc"
