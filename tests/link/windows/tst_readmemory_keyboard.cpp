// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// frmReadMemory over the keyboard link: the "MMMMM" and "NNNNN" bursts (2 ms between letters),
// the decoder's "S" in Text1, the memory text it types ending at code 3, at 3,000 characters
// or after 5 s, and the unmasking of the interrupts after every wait.

#include "memoryrig.h"

#include "support/keyboarddecoder.h"

using namespace orv;
using namespace orv::test;

namespace {

// A third of the real timing.
LinkTiming KeyboardTiming() {
    return LinkTiming{}.scaled(0.3);
}

struct KeyboardMemoryRig : MemoryRig {
    KeyboardDecoder decoder;
    explicit KeyboardMemoryRig(const LinkTiming& timing = KeyboardTiming())
        : MemoryRig(0, timing), decoder(port, text1()) {
        decoder.memoryBox = memoryBox();
        decoder.typingDelayMsecs = timing.handshakePeriodMsecs / 3;
    }
    // Milliseconds between successive letters of each burst.
    QList<double> letterSpacing() const {
        QList<double> gaps;
        const auto& w = port.writes;
        for (int i = 1; i < w.size(); ++i) {
            if (w[i].port == KeyboardDataPort && w[i - 1].port == KeyboardDataPort && i % 5 != 0)
                gaps << (w[i].nsecs - w[i - 1].nsecs) / 1e6;
        }
        return gaps;
    }
};

} // namespace

class TestReadMemoryKeyboard : public QObject {
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void handshakeSilence_data();
    void handshakeSilence();
    void clear();
    void ctrlC_data();
    void ctrlC();
    void closeAskedDuringHandshake_data();
    void closeAskedDuringHandshake();
};

void TestReadMemoryKeyboard::read_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("timesOut"); // else the text ends the wait: it has no time-out here
    QTest::newRow("ends at code 3") << "REC 1\rREC 2\r\x03"
                                    << "S"
                                    << "REC 1\nREC 2\n"
                                    << false;
    QTest::newRow("handshake answer in lower case") << "only\r\x03"
                                                    << "s"
                                                    << "only\n"
                                                    << false;
    QTest::newRow("never ends: 5 s") << "PARTIAL"
                                     << "S"
                                     << "PARTIAL" << true;
    const QString many = QString(3001, QLatin1Char('m'));
    QTest::newRow("more than 3000 characters") << many << "S" << many << false;
}

void TestReadMemoryKeyboard::read() {
    QFETCH(QString, typed);
    QFETCH(QString, answer);
    QFETCH(QString, shown);
    QFETCH(bool, timesOut);
    LinkTiming timing = KeyboardTiming();
    if (!timesOut)
        timing.keyboardMemoryReadMsecs = NeverMsecs;
    KeyboardMemoryRig rig(timing);
    rig.decoder.handshakeAnswer = answer;
    rig.decoder.memoryReply = typed;
    rig.memoryBox()->setPlainText(QStringLiteral("old text"));
    QElapsedTimer t;
    bool enabledDuring = true;
    rig.port.onWrite = [&, plain = rig.port.onWrite](const RecordingPortAccess::Write& w) {
        plain(w);
        if (w.port == InterruptMaskPort && !t.isValid()) {
            t.start(); // the text wait starts once the handshake has ended
            enabledDuring = rig.buttonsEnabled();
        }
    };
    rig.click("CmdRead");
    const qint64 took = t.elapsed();

    QVERIFY(!rig.window->isExchangeRunning());
    QCOMPARE(rig.dialogs.texts(), QStringList{"This will read decoder memory data!"});
    QCOMPARE(rig.text(), shown);
    QVERIFY(rig.memoryBox()->isVisible());
    if (timesOut)
        QVERIFY2(took >= timing.keyboardMemoryReadMsecs, qPrintable(QString::number(took)));
    QCOMPARE(rig.port.keyboardText(), QByteArray("MMMMM"));
    QCOMPARE(rig.port.valuesTo(InterruptMaskPort), (QList<quint32>{0, 0}));
    QVERIFY(!enabledDuring);
    QVERIFY(rig.buttonsEnabled());
    for (double gap : rig.letterSpacing())
        QVERIFY2(gap >= rig.timing.memoryByteSpacingMsecs, qPrintable(QString::number(gap)));
    QVERIFY(rig.emulator.received.isEmpty());
}

void TestReadMemoryKeyboard::handshakeSilence_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("burst");
    QTest::addColumn<QString>("title");
    QTest::newRow("read") << "CmdRead" << QByteArray("MMMMM") << "Read Decoder Memory Message";
    QTest::newRow("clear") << "cmdClear" << QByteArray("NNNNN") << "Clear Decoder Memory Message";
}

void TestReadMemoryKeyboard::handshakeSilence() {
    QFETCH(QString, button);
    QFETCH(QByteArray, burst);
    QFETCH(QString, title);
    KeyboardMemoryRig rig;
    rig.decoder.answerAfterBursts = 0;
    rig.memoryBox()->setPlainText(QStringLiteral("kept"));
    rig.click(qPrintable(button));
    QCOMPARE(rig.dialogs.last().text, QStringLiteral("Times Out Error"));
    QCOMPARE(rig.dialogs.last().title, title);
    QCOMPARE(rig.port.keyboardText(), burst.repeated(15));
    QCOMPARE(rig.port.valuesTo(InterruptMaskPort), QList<quint32>{0});
    QCOMPARE(rig.text(), QStringLiteral("kept"));
    QVERIFY(rig.buttonsEnabled());
}

void TestReadMemoryKeyboard::clear() {
    KeyboardMemoryRig rig;
    rig.click("cmdClear");
    QCOMPARE(rig.dialogs.texts(),
             (QStringList{"This will Clear decoder memory data!", "Clear Decoder Memory OK!"}));
    QCOMPARE(rig.dialogs.last().title, QStringLiteral("Clear Memory Message"));
    QCOMPARE(rig.port.keyboardText(), QByteArray("NNNNN"));
    // Unmasked after the wait, and once more before the success is reported.
    QCOMPARE(rig.port.valuesTo(InterruptMaskPort), (QList<quint32>{0, 0}));
    QVERIFY(rig.buttonsEnabled());
}

void TestReadMemoryKeyboard::ctrlC_data() {
    QTest::addColumn<bool>("duringText"); // pressed while the text is typed, or in the handshake
    QTest::newRow("while the text is typed") << true;
    QTest::newRow("during the handshake") << false;
}

void TestReadMemoryKeyboard::ctrlC() {
    // Ctrl+C in the memory box ends a keyboard read only while its text is awaited; during the
    // handshake it is only the copy key.
    QFETCH(bool, duringText);
    // While the text is typed only the key can end the wait: it has no time-out then.
    LinkTiming timing = KeyboardTiming();
    if (duringText)
        timing.keyboardMemoryReadMsecs = NeverMsecs;
    KeyboardMemoryRig rig(timing);
    rig.decoder.answerAfterBursts = 3;
    rig.decoder.memoryReply = QStringLiteral("PARTIAL"); // no code 3: the wait would run out
    bool pressed = false;
    auto press = [&rig, &pressed] {
        if (pressed)
            return;
        pressed = true;
        QTimer::singleShot(0, rig.window, [&rig] {
            QTest::keyClick(rig.memoryBox(), Qt::Key_C, Qt::ControlModifier);
        });
    };
    if (duringText) {
        QObject::connect(rig.memoryBox(), &QPlainTextEdit::textChanged, rig.window, [&] {
            if (rig.text() == QLatin1String("PARTIAL"))
                press();
        });
    }
    rig.port.onWrite = [&, plain = rig.port.onWrite](const RecordingPortAccess::Write& w) {
        plain(w);
        if (!duringText && w.port == KeyboardDataPort)
            press();
    };
    const qint64 took = rig.click("CmdRead");
    QVERIFY(!rig.window->isExchangeRunning());
    QVERIFY(pressed);
    QCOMPARE(rig.port.keyboardText(), QByteArray("MMMMM").repeated(3));
    QCOMPARE(rig.text(), QStringLiteral("PARTIAL"));
    QCOMPARE(rig.port.valuesTo(InterruptMaskPort), (QList<quint32>{0, 0}));
    // Ended by the key (the only end there is), or by the time-out of the text wait.
    const qint64 handshake = 3 * rig.timing.handshakePeriodMsecs;
    if (!duringText)
        QVERIFY2(took >= handshake + rig.timing.keyboardMemoryReadMsecs,
                 qPrintable(QString::number(took)));
    QVERIFY(rig.buttonsEnabled());
}

void TestReadMemoryKeyboard::closeAskedDuringHandshake_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("answer"); // to "Memory Data had been changed..."
    QTest::addColumn<bool>("closes");
    QTest::newRow("read, Yes") << "CmdRead" << int(Dialogs::Answer::Yes) << true;
    QTest::newRow("read, No") << "CmdRead" << int(Dialogs::Answer::No) << true;
    QTest::newRow("read, Cancel") << "CmdRead" << int(Dialogs::Answer::Cancel) << false;
    QTest::newRow("clear, No") << "cmdClear" << int(Dialogs::Answer::No) << true;
    QTest::newRow("clear, Cancel") << "cmdClear" << int(Dialogs::Answer::Cancel) << false;
}

void TestReadMemoryKeyboard::closeAskedDuringHandshake() {
    // The window is closed during the handshake with unsaved text, and the decoder answers
    // while the question is open. The exchange waits for the answer to the question: the text
    // asked about is not replaced meanwhile, the interrupts stay masked and no outcome shows;
    // a window that stays open then goes on with the exchange.
    QFETCH(QString, button);
    QFETCH(int, answer);
    QFETCH(bool, closes);
    const bool read = button == QLatin1String("CmdRead");
    KeyboardMemoryRig rig;
    rig.decoder.memoryReply = QStringLiteral("NEW\r\x03");
    rig.memoryBox()->setPlainText(QStringLiteral("old text"));
    const QString path = rig.dir.filePath(QStringLiteral("m.txt"));
    rig.dialogs.saveResults = {path};
    rig.dialogs.answers = {Dialogs::Answer::Ok, static_cast<Dialogs::Answer>(answer)};
    QString textAfterQuestion;
    int unmasksAfterQuestion = -1;
    int shownAfterQuestion = -1;
    rig.dialogs.onMessage = [&](const Dialogs::Message& m) {
        if (!m.text.startsWith(QLatin1String("Memory Data had been changed")))
            return;
        // As a real question does, it lets events through while it is open (in a loop of its
        // own: QTest::qWait sleeps between its turns, which would stretch the bursts): until the
        // decoder has answered, and four periods more.
        QEventLoop open;
        QTimer answered;
        QObject::connect(&answered, &QTimer::timeout, &open, [&] {
            if (rig.decoder.bursts == 0)
                return;
            answered.stop();
            QTimer::singleShot(rig.timing.handshakePeriodMsecs * 4, &open, &QEventLoop::quit);
        });
        answered.start(1);
        open.exec();
        textAfterQuestion = rig.text();
        unmasksAfterQuestion = rig.decoder.unmasks;
        shownAfterQuestion = rig.dialogs.shown.size();
    };
    bool closed = false;
    rig.port.onWrite = [&, plain = rig.port.onWrite](const RecordingPortAccess::Write& w) {
        plain(w);
        if (w.port == KeyboardDataPort && !closed) {
            closed = true;
            QTimer::singleShot(0, rig.window, [&rig] { rig.window->close(); });
        }
    };
    rig.click(qPrintable(button));
    if (rig.window && rig.window->isExchangeRunning())
        QVERIFY(rig.waitForExchange());

    // Answered after the first burst, during the question.
    QCOMPARE(rig.port.keyboardText(), QByteArray(read ? "MMMMM" : "NNNNN"));
    QCOMPARE(textAfterQuestion, QStringLiteral("old text"));
    QCOMPARE(unmasksAfterQuestion, 0);
    QCOMPARE(shownAfterQuestion, 1); // the read or clear question only
    QCOMPARE(rig.window.isNull() || rig.window->isUnloaded(), closes);
    if (closes) {
        QCOMPARE(rig.port.valuesTo(InterruptMaskPort), QList<quint32>{0});
        QCOMPARE(rig.dialogs.shown.size(), 2);
        const bool saved = answer == int(Dialogs::Answer::Yes);
        QCOMPARE(MemoryRig::ReadFile(path), saved ? QByteArray("old text\r\n") : QByteArray());
        return;
    }
    if (read) {
        QCOMPARE(rig.text(), QStringLiteral("NEW\n"));
        QCOMPARE(rig.port.valuesTo(InterruptMaskPort), (QList<quint32>{0, 0}));
        QCOMPARE(rig.dialogs.shown.size(), 2);
    } else {
        QCOMPARE(rig.text(), QStringLiteral("old text"));
        QCOMPARE(rig.dialogs.last().text, QStringLiteral("Clear Decoder Memory OK!"));
        QCOMPARE(rig.dialogs.shown.size(), 3);
    }
    QVERIFY(rig.buttonsEnabled());
}

QTEST_MAIN(TestReadMemoryKeyboard)
#include "tst_readmemory_keyboard.moc"
