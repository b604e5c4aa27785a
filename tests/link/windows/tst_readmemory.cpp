// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// frmReadMemory over RS232 against the emulator's memory: blocks and answers, the record
// stream into text, every fault; the memory data files and the closing question.

#include "memoryrig.h"

#include "support/keyboarddecoder.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>

using namespace orv;
using namespace orv::test;
using emu::DecoderCore;
using emu::Fault;

Q_DECLARE_METATYPE(orv::emu::Fault)

namespace {

const QString ReadTitle = QStringLiteral("Read Memory Message");
const QString ClearTitle = QStringLiteral("Clear Memory Message");
const QString ReadOk = QStringLiteral("   Read Decoder Memory OK!\r\r");
const QString ReadFailed = QStringLiteral("Read Decoder Memory Failed!");

// A record whose check byte is wrong.
QByteArray DamagedRecord(const QByteArray& text) {
    QByteArray r = DecoderCore::MemoryRecord(text);
    r[r.size() - 1] = static_cast<char>(r.back() ^ 0x21);
    return r;
}

QList<QByteArray> Numbered(int count, int width) {
    QList<QByteArray> texts;
    for (int i = 0; i < count; ++i)
        texts << QByteArray::number(i).rightJustified(width, '0');
    return texts;
}

// The lines of the texts, each ending in a line break (as the box shows them).
QString Lines(const QList<QByteArray>& texts) {
    QString out;
    for (const QByteArray& t : texts)
        out += QString::fromLatin1(t) + QLatin1Char('\n');
    return out;
}

} // namespace

class TestReadMemory : public QObject {
    Q_OBJECT
private slots:
    void opening();
    void read_data();
    void read();
    void recordAtBlockEndWaits();
    void secondReadStartsAfresh();
    void readCancelledOrPortMissing();
    void clear_data();
    void clear();
    void saveAndSaveAs();
    void saveFailureKeepsText();
    void closeQuestion_data();
    void closeQuestion();
    void closeDuringRead();
    void outcomeMessage_data();
    void outcomeMessage();
};

void TestReadMemory::opening() {
    MemoryRig rig;
    QCOMPARE(rig.window->objectName(), QStringLiteral("frmReadMemory"));
    QCOMPARE(rig.window->windowTitle(), QStringLiteral("Read Decoder Memory"));
    QCOMPARE(rig.control<QLabel>("lblTitle")->text(), QStringLiteral("Read Decoder Memory"));
    QCOMPARE(rig.config.ActivePanel, qint16(PanelReadMemory));
    QVERIFY(rig.window->info().maximized);
    QVERIFY(rig.memoryBox()->isHidden());
    QVERIFY(rig.control<QGroupBox>("FraPort")->isVisible());
    const QList<std::pair<const char*, const char*>> buttons = {
        {"CmdRead", "&Read Memory"}, {"cmdClear", "&Clear Memory"}, {"CmdDisplay", "&Option"},
        {"cmdSave", "&Save"},        {"cmdSaveAs", "Save &As"},     {"CmdClose", "&Exit"}};
    for (const auto& [name, caption] : buttons)
        QCOMPARE(rig.button(name)->text(), QString::fromLatin1(caption));
    const QList<std::pair<const char*, QStringList>> groups = {
        {"OptMode", {"By Keyboard", "By RS232"}},
        {"OptPort", {"Com 1", "Com 2", "Com 3", "Com 4"}},
        {"optBaud", {"1200", "2400", "4800", "9600", "19200"}}};
    for (const auto& [group, captions] : groups) {
        for (int i = 0; i < captions.size(); ++i)
            QCOMPARE(rig.option(group, i)->text(), captions[i]);
        QVERIFY(!rig.window->findChild<QAbstractButton*>(
            QStringLiteral("%1(%2)").arg(group).arg(captions.size())));
    }
    QVERIFY(rig.option("OptMode", 1)->isChecked());
    // The keyboard link disables the serial frames.
    rig.option("OptMode", 0)->click();
    QCOMPARE(rig.config.LinkMode, qint16(0));
    QVERIFY(!rig.control<QGroupBox>("FraPort")->isEnabled());
    rig.button("CmdClose")->click();
    QCOMPARE(rig.config.ActivePanel, qint16(NoPanel));
}

void TestReadMemory::read_data() {
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("answers");
    QTest::addColumn<QString>("message");

    QTest::newRow("first byte 0") << QByteArray(1, '\0') << Fault::None << "\n"
                                  << QByteArray("P") << ReadOk;
    QTest::newRow("two records") << DecoderCore::MemoryStream({"ABC", "12345"}) << Fault::None
                                 << "ABC\n12345\n"
                                 << QByteArray("P") << ReadOk;
    QTest::newRow("a record of length 3 is an empty line")
        << DecoderCore::MemoryStream({"A", "BC"}) << Fault::None << "\nBC\n"
        << QByteArray("P") << ReadOk;
    QTest::newRow("a damaged record is an empty line")
        << DamagedRecord("BAD") + DecoderCore::MemoryStream({"OK"}) << Fault::None << "\nOK\n"
        << QByteArray("P") << ReadOk;
    QTest::newRow("bytes above 127")
        << DecoderCore::MemoryStream({"\xc4\xd6 \xe9"}) << Fault::None
        << QStringLiteral("\xc4\xd6 \xe9\n") << QByteArray("P") << ReadOk;
    // 100 records of 22 bytes and no end mark: 31 blocks hold 1,984 bytes, so the records
    // ending before byte 1,984 (90 of them) are shown; the 31st block is answered "S" too.
    const QList<QByteArray> many = Numbered(100, 20);
    QByteArray noEnd = DecoderCore::MemoryStream(many);
    noEnd.chop(1);
    QTest::newRow("31 full blocks")
        << noEnd << Fault::None << Lines(many.mid(0, 90)) << QByteArray(31, 'S') << ReadOk;
    // Records of 12 bytes: block 0 completes five of them; block 1 is bad.
    const QList<QByteArray> ten = Numbered(40, 10);
    QTest::newRow("bad block") << DecoderCore::MemoryStream(ten) << Fault::BadBlock
                               << Lines(ten.mid(0, 5)) << QByteArray("SE") << ReadFailed;
    // A record of 250 bytes cannot be held: the fourth block does not fit beside its first
    // 188 bytes and is bad.
    QTest::newRow("oversize record")
        << DecoderCore::MemoryStream({"ok", QByteArray(248, 'L'), "after"}) << Fault::None << "ok\n"
        << QByteArray("SSSE") << ReadFailed;
    QTest::newRow("silent") << DecoderCore::MemoryStream({"X"}) << Fault::Silent << ""
                            << QByteArray() << "Time Out Error!";
}

void TestReadMemory::read() {
    QFETCH(QByteArray, stream);
    QFETCH(Fault, fault);
    QFETCH(QString, text);
    QFETCH(QByteArray, answers);
    QFETCH(QString, message);
    MemoryRig rig(1, TimingFor(fault == Fault::Silent));
    DecoderCore& core = rig.emulator.core();
    core.memory.stream = stream;
    core.memory.badBlock = 1;
    core.fault = fault;
    const qint64 took = rig.click("CmdRead");

    QCOMPARE(rig.dialogs.shown.size(), 2);
    QCOMPARE(rig.dialogs.shown[0].message.text,
             QStringLiteral("This will read decoder memory data!"));
    QCOMPARE(rig.dialogs.shown[0].message.title, ReadTitle);
    QCOMPARE(rig.dialogs.shown[0].message.buttons, Dialogs::Buttons::OkCancel);
    QCOMPARE(rig.dialogs.last().text, message);
    QCOMPARE(rig.dialogs.last().title, ReadTitle);
    QCOMPARE(rig.text(), text);
    QVERIFY(rig.memoryBox()->isVisible());
    QVERIFY(!rig.window->serialPort().isOpen());
    QVERIFY(rig.buttonsEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(core.memory.answers, answers, GiveUpMsecs);
    QCOMPARE(rig.emulator.received.left(4), QByteArray::fromHex("02820383"));
    if (fault == Fault::Silent) {
        // No block came: the program answers "E" all the same, after 3 s.
        QVERIFY2(took >= Scaled(2900), qPrintable(QString::number(took)));
        QTRY_COMPARE_WITH_TIMEOUT(core.strayBytes, QByteArray("E"), GiveUpMsecs);
    } else {
        QCOMPARE(rig.emulator.received, QByteArray::fromHex("02820383") + answers);
        QCOMPARE(core.memory.blocksSent, answers.size() + (answers.endsWith('S') ? 1 : 0));
    }
}

void TestReadMemory::recordAtBlockEndWaits() {
    // A record of 64 bytes fills block 0 exactly: it shows only after block 1 has come.
    MemoryRig rig;
    const QByteArray text62(62, 'x');
    rig.emulator.core().memory.stream = DecoderCore::MemoryStream({text62, "next"});
    QStringList shownAtAnswer;
    rig.emulator.core().onEvent = [&](const QString& e) {
        if (e.startsWith(QLatin1String("<- answer")))
            shownAtAnswer << rig.text();
    };
    rig.click("CmdRead");
    QTRY_COMPARE_WITH_TIMEOUT(shownAtAnswer.size(), 2, GiveUpMsecs);
    QCOMPARE(shownAtAnswer, (QStringList{QString(), Lines({text62, "next"})}));
    QCOMPARE(rig.emulator.core().memory.answers, QByteArray("SP"));
    QCOMPARE(rig.dialogs.last().text, ReadOk);
}

void TestReadMemory::secondReadStartsAfresh() {
    MemoryRig rig;
    DecoderCore& core = rig.emulator.core();
    // The first read stops after block 0 with half a record held: block 1 is bad.
    core.memory.stream = DecoderCore::MemoryStream({"ok", QByteArray(100, 'h')});
    core.memory.badBlock = 1;
    core.fault = Fault::BadBlock;
    rig.click("CmdRead");
    QCOMPARE(rig.dialogs.last().text, QStringLiteral("Read Decoder Memory Failed!"));
    QCOMPARE(rig.text(), QStringLiteral("ok\n"));
    core.fault = Fault::None;
    core.memory.stream = DecoderCore::MemoryStream({"NEW", "LINES"});
    rig.click("CmdRead");
    QCOMPARE(rig.dialogs.last().text, ReadOk);
    QCOMPARE(rig.text(), QStringLiteral("NEW\nLINES\n"));
}

void TestReadMemory::readCancelledOrPortMissing() {
    MemoryRig rig;
    rig.memoryBox()->setPlainText(QStringLiteral("kept"));
    rig.dialogs.answers = {Dialogs::Answer::Cancel};
    rig.click("CmdRead");
    QCOMPARE(rig.dialogs.shown.size(), 1);
    rig.option("OptPort", 2)->click();
    rig.click("CmdRead");
    QCOMPARE(rig.dialogs.last().text, QStringLiteral("COM 3: not available."));
    QCOMPARE(rig.dialogs.last().title, QString());
    QCOMPARE(rig.dialogs.last().details, QStringLiteral("No serial device for Com 3"));
    QCOMPARE(rig.text(), QStringLiteral("kept"));
    QVERIFY(rig.memoryBox()->isHidden());
    QVERIFY(rig.buttonsEnabled());
    QTest::qWait(50);
    QVERIFY(rig.emulator.received.isEmpty());
}

void TestReadMemory::clear_data() {
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("cleared") << Fault::None << "Clear Decoder Memory OK!";
    QTest::newRow("refused") << Fault::Refuse << "Clear Decoder Memory Failed!";
    QTest::newRow("silent") << Fault::Silent << "Time Out Error!";
}

void TestReadMemory::clear() {
    QFETCH(Fault, fault);
    QFETCH(QString, message);
    MemoryRig rig(1, TimingFor(fault == Fault::Silent));
    rig.emulator.core().fault = fault;
    rig.click("cmdClear");
    QCOMPARE(rig.dialogs.shown.size(), 2);
    QCOMPARE(rig.dialogs.shown[0].message.text,
             QStringLiteral("This will Clear decoder memory data!"));
    QCOMPARE(rig.dialogs.shown[0].message.title, ClearTitle);
    QCOMPARE(rig.dialogs.shown[0].message.buttons, Dialogs::Buttons::OkCancel);
    QCOMPARE(rig.dialogs.last().text, message);
    QCOMPARE(rig.dialogs.last().title, ClearTitle);
    QCOMPARE(rig.emulator.received, QByteArray::fromHex("02830382"));
    QCOMPARE(rig.emulator.core().memory.clears, fault == Fault::None ? 1 : 0);
    QVERIFY(!rig.window->serialPort().isOpen());
    QVERIFY(rig.buttonsEnabled());
    // Cancel sends nothing.
    rig.dialogs.answers = {Dialogs::Answer::Cancel};
    rig.click("cmdClear");
    QTest::qWait(50);
    QCOMPARE(rig.emulator.received, QByteArray::fromHex("02830382"));
}

void TestReadMemory::saveAndSaveAs() {
    MemoryRig rig;
    rig.emulator.core().memory.stream = DecoderCore::MemoryStream({"ABC", "\xc4\xd6"});
    rig.click("CmdRead");
    rig.click("CmdDisplay");
    QVERIFY(rig.memoryBox()->isHidden());
    QVERIFY(rig.control<QGroupBox>("FraPort")->isVisible());

    // Save without a file name runs Save As; the file is the lines and one more CR LF.
    const QString first = rig.dir.filePath(QStringLiteral("memory.txt"));
    rig.dialogs.saveResults = {first};
    rig.click("cmdSave");
    QVERIFY(rig.memoryBox()->isVisible());
    QCOMPARE(rig.dialogs.saveRequests.size(), 1);
    const Dialogs::FileRequest& r = rig.dialogs.saveRequests[0];
    QCOMPARE(r.filter, QStringLiteral("Memory Data File(*.txt)|*.txt"));
    QCOMPARE(r.defaultExtension, QStringLiteral("txt"));
    QVERIFY(r.fileName.isEmpty());
    QVERIFY(r.overwritePrompt);
    QVERIFY(r.pathMustExist);
    QCOMPARE(MemoryRig::ReadFile(first), QByteArray("ABC\r\n\xc4\xd6\r\n\r\n"));
    QCOMPARE(rig.window->memFileName(), first);

    // Save again writes the edited text to the same file, without a dialog.
    rig.memoryBox()->moveCursor(QTextCursor::End);
    TypeKeys(rig.memoryBox(), QStringLiteral("Z\r\xe9"));
    rig.click("cmdSave");
    QCOMPARE(rig.dialogs.saveRequests.size(), 1);
    QCOMPARE(MemoryRig::ReadFile(first), QByteArray("ABC\r\n\xc4\xd6\r\nZ\r\n\xe9\r\n"));

    // Save As proposes the current name; a cancelled dialog changes nothing.
    rig.dialogs.saveResults = {std::nullopt};
    rig.click("cmdSaveAs");
    QCOMPARE(rig.dialogs.saveRequests.last().fileName, first);
    QCOMPARE(rig.window->memFileName(), first);
    // Nothing unsaved: closing asks nothing.
    rig.dialogs.clear();
    rig.click("CmdClose");
    QVERIFY(rig.window->isUnloaded());
    QVERIFY(rig.dialogs.shown.isEmpty());
}

void TestReadMemory::saveFailureKeepsText() {
    MemoryRig rig;
    rig.memoryBox()->setPlainText(QStringLiteral("precious"));
    const QString good = rig.dir.filePath(QStringLiteral("old.txt"));
    rig.dialogs.saveResults = {good};
    rig.click("cmdSaveAs");
    QCOMPARE(MemoryRig::ReadFile(good), QByteArray("precious\r\n"));
    rig.memoryBox()->setPlainText(QStringLiteral("changed"));
    // A folder that does not exist: the failure is reported and the old file stays as it was.
    const QString bad = rig.dir.filePath(QStringLiteral("no/such/folder/m.txt"));
    rig.dialogs.saveResults = {bad};
    rig.click("cmdSaveAs");
    QVERIFY(rig.dialogs.last().text.contains(bad));
    QCOMPARE(rig.dialogs.last().title, QStringLiteral("Memory Data Read"));
    QCOMPARE(rig.window->memFileName(), good);
    QCOMPARE(MemoryRig::ReadFile(good), QByteArray("precious\r\n"));
    // The text still counts as unsaved; a Yes whose save fails keeps the window open.
    rig.dialogs.clear();
    QFile::remove(good);
    QVERIFY(QDir().mkdir(good)); // the name is now a folder: the save fails
    rig.dialogs.answers = {Dialogs::Answer::Yes};
    rig.click("CmdClose");
    QCOMPARE(rig.dialogs.shown.size(), 2);
    QVERIFY(!rig.window->isUnloaded());
    QCOMPARE(rig.text(), QStringLiteral("changed"));
}

void TestReadMemory::closeQuestion_data() {
    QTest::addColumn<bool>("edit");
    QTest::addColumn<int>("answer"); // -1: no question expected
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saved");
    QTest::newRow("saved, no edit") << false << -1 << true << false;
    QTest::newRow("one character, Cancel")
        << true << int(Dialogs::Answer::Cancel) << false << false;
    QTest::newRow("one character, No") << true << int(Dialogs::Answer::No) << true << false;
    QTest::newRow("one character, Yes") << true << int(Dialogs::Answer::Yes) << true << true;
}

void TestReadMemory::closeQuestion() {
    QFETCH(bool, edit);
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(bool, saved);
    MemoryRig rig;
    rig.emulator.core().memory.stream = DecoderCore::MemoryStream({"LINE"});
    rig.click("CmdRead");
    const QString path = rig.dir.filePath(QStringLiteral("m.txt"));
    rig.dialogs.saveResults = {path};
    rig.click("cmdSave");
    if (edit) {
        rig.memoryBox()->moveCursor(QTextCursor::Start);
        QTest::keyClick(rig.memoryBox(), 'q');
    }
    rig.dialogs.clear();
    if (answer >= 0)
        rig.dialogs.answers = {static_cast<Dialogs::Answer>(answer)};
    rig.window->close();
    if (answer < 0) {
        QVERIFY(rig.dialogs.shown.isEmpty());
    } else {
        QCOMPARE(rig.dialogs.shown.size(), 1);
        QCOMPARE(rig.dialogs.last().text,
                 QStringLiteral("Memory Data had been changed,do you want to save your file?"));
        QCOMPARE(rig.dialogs.last().title, QStringLiteral("Memory Data Read"));
        QCOMPARE(rig.dialogs.last().buttons, Dialogs::Buttons::YesNoCancel);
    }
    QCOMPARE(rig.window->isUnloaded(), closes);
    QCOMPARE(rig.config.ActivePanel, closes ? qint16(NoPanel) : qint16(PanelReadMemory));
    QCOMPARE(MemoryRig::ReadFile(path),
             saved ? QByteArray("qLINE\r\n\r\n") : QByteArray("LINE\r\n\r\n"));
}

void TestReadMemory::closeDuringRead() {
    MemoryRig rig;
    rig.emulator.core().fault = Fault::Silent;
    bool portOpenAfter = true;
    bool unloadedAfter = false;
    bool runningAfter = true;
    QTimer::singleShot(Scaled(300), rig.window, [&] {
        QVERIFY(rig.window->isExchangeRunning());
        rig.window->close();
        portOpenAfter = rig.window->serialPort().isOpen();
        unloadedAfter = rig.window->isUnloaded();
        runningAfter = rig.window->isExchangeRunning();
    });
    rig.click("CmdRead");
    QVERIFY(!portOpenAfter);
    QCOMPARE(rig.dialogs.shown.size(), 1); // the question only: no result, no save question
    // The exchange ended with the closing, and the window goes.
    QVERIFY(unloadedAfter);
    QVERIFY(!runningAfter);
    QTRY_VERIFY_WITH_TIMEOUT(!rig.window, GiveUpMsecs);
    QTest::qWait(Scaled(3000));
    QCOMPARE(rig.dialogs.shown.size(), 1);
}

void TestReadMemory::outcomeMessage_data() {
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("text");
    QTest::newRow("read") << QByteArray("CmdRead") << Fault::None
                          << "   Read Decoder Memory OK!\r\r";
    QTest::newRow("read, silent") << QByteArray("CmdRead") << Fault::Silent << "Time Out Error!";
    QTest::newRow("clear") << QByteArray("cmdClear") << Fault::None << "Clear Decoder Memory OK!";
    QTest::newRow("clear, refused")
        << QByteArray("cmdClear") << Fault::Refuse << "Clear Decoder Memory Failed!";
}

// While the outcome shows the port is still open and the buttons disabled, and a further read
// or clear does nothing; the port closes before the buttons come back.
void TestReadMemory::outcomeMessage() {
    QFETCH(QByteArray, button);
    QFETCH(Fault, fault);
    QFETCH(QString, text);
    MemoryRig rig(1, TimingFor(fault == Fault::Silent));
    rig.emulator.core().fault = fault;
    struct {
        bool seen = false;
        bool portOpen = false;
        bool buttons = true;
    } at;
    rig.dialogs.onMessage = [&](const Dialogs::Message& m) {
        if (m.buttons != Dialogs::Buttons::Ok || at.seen)
            return;
        at.seen = true;
        at.portOpen = rig.window->serialPort().isOpen();
        at.buttons = rig.allEnabled({"CmdRead", "cmdClear", "CmdClose"});
        rig.window->CmdRead_Click();
        rig.window->cmdClear_Click();
    };
    bool portOpenWhenEnabled = true;
    WhenEnabled(rig.button("CmdClose"),
                [&] { portOpenWhenEnabled = rig.window->serialPort().isOpen(); });
    rig.click(button.constData());
    QTest::qWait(Scaled(1000));

    QVERIFY(at.seen);
    QCOMPARE(rig.dialogs.shown.size(), 2);
    QCOMPARE(rig.dialogs.last().text, text);
    QCOMPARE(rig.emulator.core().frames.size(), 1);
    QVERIFY(at.portOpen);
    QVERIFY(!at.buttons);
    QVERIFY(!portOpenWhenEnabled);
    QVERIFY(!rig.window->serialPort().isOpen());
    QVERIFY(rig.buttonsEnabled());
}

QTEST_MAIN(TestReadMemory)
#include "tst_readmemory.moc"
