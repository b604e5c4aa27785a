// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol of the tools: the firmware loader's packets and reply codes, and the memory
// record stream read block by block.

#include "link/protocol/isp.h"
#include "link/protocol/memory.h"

#include <QTest>

using namespace orv;

namespace {

quint8 Xor(QByteArrayView b) {
    quint8 x = 0;
    for (char c : b)
        x ^= static_cast<quint8>(c);
    return x;
}

QByteArray Filled(int size, int seed) {
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = static_cast<char>((i * 37 + seed) & 0xFF);
    return out;
}

// A memory record written out by hand: length, text, XOR of the text (or a wrong check).
QByteArray Record(const QByteArray& text, bool goodCheck = true) {
    QByteArray r(1, static_cast<char>(text.size() + 2));
    r.append(text);
    r.append(static_cast<char>(Xor(text) ^ (goodCheck ? 0 : 0x40)));
    return r;
}

// The stream cut into 65-byte blocks (zeros after its end), each with its check byte.
QList<QByteArray> Blocks(const QByteArray& stream, int count) {
    QList<QByteArray> blocks;
    for (int i = 0; i < count; ++i) {
        QByteArray b = stream.mid(i * 64, 64);
        b.append(QByteArray(64 - b.size(), '\0'));
        b.append(static_cast<char>(Xor(b)));
        blocks << b;
    }
    return blocks;
}

} // namespace

class TestToolProtocol : public QObject {
    Q_OBJECT
private slots:
    void commandFrames();
    void loaderPackets();
    void dataPage_data();
    void dataPage();
    void replyOutcome_data();
    void replyOutcome();
    void progressMaximum_data();
    void progressMaximum();
    void memoryStream_data();
    void memoryStream();
    void memoryAnswers();
    void oversizeRecordNeverOverflows();
};

void TestToolProtocol::commandFrames() {
    QCOMPARE(ReadMemoryFrame(), QByteArray::fromHex("02820383"));
    QCOMPARE(ClearMemoryFrame(), QByteArray::fromHex("02830382"));
    QCOMPARE(IspAccessCommand(), QByteArray::fromHex("02840385"));
    QCOMPARE(SerialSettingsText(IspSerialSettings), QStringLiteral("19200,N,8,1 "));
}

void TestToolProtocol::loaderPackets() {
    QCOMPARE(IspErasePacket(), QByteArray(192, '\0'));
    QByteArray end(192, '\0');
    end[0] = '\x05';
    QCOMPARE(IspEndPacket(), end);
}

void TestToolProtocol::dataPage_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QByteArray>("address"); // bytes 1..4
    QTest::newRow("first page") << 0 << 184 << QByteArray::fromHex("0000b700");
    QTest::newRow("second page, one byte") << 184 << 1 << QByteArray::fromHex("00b86f01");
    QTest::newRow("page 2 crosses 256") << 368 << 184 << QByteArray::fromHex("01702702");
    QTest::newRow("page 355") << 65320 << 184 << QByteArray::fromHex("ff28dfff");
    // The last page of a 65,535-byte image: 31 bytes; its end address 65,687 is sent as its
    // low 16 bits (0x0097).
    QTest::newRow("last page of 65,535 bytes") << 65504 << 31 << QByteArray::fromHex("ffe09700");
}

void TestToolProtocol::dataPage() {
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QByteArray, address);
    const QByteArray bytes = Filled(length, start);
    const QByteArray page = IspPage(start, bytes);
    QCOMPARE(page.size(), 192);
    QCOMPARE(quint8(page[0]), quint8(0x01));
    QCOMPARE(page.mid(1, 4), address);
    QCOMPARE(page.mid(5, length), bytes);
    QCOMPARE(page.mid(5 + length, 184 - length), QByteArray(184 - length, '\0'));
    QCOMPARE(quint8(page[189]), Xor(page.mid(1, 188)));
    QCOMPARE(quint8(page[190]), quint8(0x55));
    QCOMPARE(quint8(page[191]), quint8(0xAA));
}

void TestToolProtocol::replyOutcome_data() {
    QTest::addColumn<bool>("access");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("outcome");
    QTest::newRow("access 07") << true << QByteArray("\x07") << 1;
    QTest::newRow("access 1B") << true << QByteArray("\x1b") << 7;
    QTest::newRow("access AA") << true << QByteArray("\xaa") << 2;
    QTest::newRow("access 07 then more") << true << QByteArray("\x07\x00\x15", 3) << 1;
    QTest::newRow("packet AA") << false << QByteArray("\xaa") << 1;
    QTest::newRow("packet 1B") << false << QByteArray("\x1b") << 2;
    QTest::newRow("packet 07") << false << QByteArray("\x07") << 2;
    QTest::newRow("nothing") << false << QByteArray() << 2;
}

void TestToolProtocol::replyOutcome() {
    QFETCH(bool, access);
    QFETCH(QByteArray, reply);
    QFETCH(int, outcome);
    QCOMPARE(int(IspReplyOutcome(access, reply)), outcome);
}

void TestToolProtocol::progressMaximum_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("maximum");
    QTest::newRow("empty") << qint64(0) << 1;
    QTest::newRow("183") << qint64(183) << 1;
    QTest::newRow("184") << qint64(184) << 2;
    QTest::newRow("3 pages") << qint64(552) << 4;
    QTest::newRow("65,535") << qint64(65535) << 357;
}

void TestToolProtocol::progressMaximum() {
    QFETCH(qint64, size);
    QFETCH(int, maximum);
    QCOMPARE(IspProgressMaximum(size), maximum);
}

void TestToolProtocol::memoryStream_data() {
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<int>("blocks");
    QTest::addColumn<QList<int>>("statuses");
    QTest::addColumn<QList<QByteArray>>("texts"); // appended by each block

    const QByteArray crlf = "\r\n";
    QTest::newRow("first byte 0") << QByteArray(1, '\0') << 1 << QList<int>{3}
                                  << QList<QByteArray>{crlf};
    QTest::newRow("two records, end") << Record("ABC") + Record("12345") + '\0' << 1
                                      << QList<int>{3} << QList<QByteArray>{"ABC\r\n12345\r\n"};
    QTest::newRow("length 3 is an empty line") << Record("A") + Record("BC") + '\0' << 1
                                               << QList<int>{3} << QList<QByteArray>{"\r\nBC\r\n"};
    QTest::newRow("lengths 1 and 2 are empty lines")
        << QByteArray("\x01\x02\x00", 3) + Record("XY") + '\0' << 1 << QList<int>{3}
        << QList<QByteArray>{"\r\n\r\nXY\r\n"};
    QTest::newRow("damaged record is an empty line, the read goes on")
        << Record("BAD", false) + Record("OK") + '\0' << 1 << QList<int>{3}
        << QList<QByteArray>{"\r\nOK\r\n"};
    // 64 bytes held and a record of 64: it is taken only once more bytes are held.
    const QByteArray text62(62, 'x');
    QTest::newRow("record ending exactly at the block end")
        << Record(text62) + '\0' << 2 << QList<int>{1, 3} << QList<QByteArray>{"", text62 + crlf};
    const QByteArray text100 = Filled(100, 1).replace('\0', 'z');
    QTest::newRow("record over two blocks")
        << Record("first") + Record(text100) + '\0' << 2 << QList<int>{1, 3}
        << QList<QByteArray>{"first\r\n", text100 + crlf};
    QTest::newRow("no end mark yet") << Record("abc") + Record(QByteArray(70, 'q')) << 1
                                     << QList<int>{1} << QList<QByteArray>{"abc\r\n"};
}

void TestToolProtocol::memoryStream() {
    QFETCH(QByteArray, stream);
    QFETCH(int, blocks);
    QFETCH(QList<int>, statuses);
    QFETCH(QList<QByteArray>, texts);
    MemoryRecordReader reader;
    const QList<QByteArray> b = Blocks(stream, blocks);
    for (int i = 0; i < blocks; ++i) {
        QByteArray text;
        QCOMPARE(int(reader.takeBlock(b[i], &text)), statuses[i]);
        QCOMPARE(text, texts[i]);
    }
    // A block with a wrong check byte, or one too short, is bad and shows nothing.
    MemoryRecordReader fresh;
    QByteArray text;
    QByteArray damaged = b[0];
    damaged[64] = static_cast<char>(damaged[64] ^ 1);
    QCOMPARE(fresh.takeBlock(damaged, &text), BadReply);
    QCOMPARE(fresh.takeBlock(b[0].left(64), &text), BadReply);
    QVERIFY(text.isEmpty());
    QCOMPARE(fresh.fill(), 0);
}

void TestToolProtocol::memoryAnswers() {
    QCOMPARE(MemoryAnswer(GoodReply), 'S');
    QCOMPARE(MemoryAnswer(EndOfMemory), 'P');
    QCOMPARE(MemoryAnswer(BadReply), 'E');
    QCOMPARE(MemoryAnswer(NoReply), 'E');
    QCOMPARE(ClearMemoryStatus(QByteArray("\x07")), GoodReply);
    QCOMPARE(ClearMemoryStatus(QByteArray("\x15")), BadReply);
    QCOMPARE(ClearMemoryStatus(QByteArray()), BadReply);
}

void TestToolProtocol::oversizeRecordNeverOverflows() {
    // Records of 188 .. 255 bytes: a record is bad once its bytes would not fit beside those
    // already held; every one that fits is shown. Nothing is ever written past the buffer.
    for (int length = 188; length <= 255; ++length) {
        for (int lead = 0; lead < 64; lead += 7) {
            QByteArray stream;
            if (lead >= 3)
                stream = Record(QByteArray(lead - 2, 'L'));
            stream += Record(QByteArray(length - 2, 'R')) + '\0';
            const int blocks = (stream.size() + 63) / 64 + 1;
            MemoryRecordReader reader;
            QByteArray text;
            int status = GoodReply;
            int held = 0;
            for (const QByteArray& b : Blocks(stream, blocks)) {
                status = reader.takeBlock(b, &text);
                QVERIFY(reader.fill() <= MemoryRecordReader::BufferSize);
                if (status != GoodReply)
                    break;
                held += 64;
            }
            // Once the bad block comes, the long record never made it into the text.
            if (status == BadReply)
                QVERIFY(!text.contains(QByteArray(length - 2, 'R')));
            else
                QCOMPARE(status, int(EndOfMemory));
            QVERIFY(held <= 4 * 64);
            // At the start of the memory a record of 188 bytes completes in the third block;
            // one of 192 or more needs a fourth, which no longer fits.
            if (lead == 0)
                QCOMPARE(status, length < 192 ? int(EndOfMemory) : int(BadReply));
        }
    }
}

QTEST_MAIN(TestToolProtocol)
#include "tst_toolprotocol.moc"
