// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Frames, hex text and the reply parsers of both links.

#include "link/exchange/linkmessages.h"
#include "link/protocol/frames.h"
#include "link/protocol/replies.h"
#include "link/protocol/text.h"

#include <QTest>

using namespace orv;

Q_DECLARE_METATYPE(orv::Region)

namespace {

quint8 Xor(const QByteArray& b) {
    quint8 x = 0;
    for (char c : b)
        x ^= static_cast<quint8>(c);
    return x;
}

QByteArray Counting(int first, int count) {
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out.append(static_cast<char>(first + i));
    return out;
}

// An RS232 upload block: n, payload (n bytes), version (22 bytes), check; then padding.
QByteArray Block(int n, const QByteArray& version, int padTo = 0) {
    QByteArray b(1, static_cast<char>(n));
    b.append(Counting(0x30, n));
    b.append(version);
    b.append(static_cast<char>(Xor(b)));
    if (b.size() < padTo)
        b.append(QByteArray(padTo - b.size(), '\0'));
    return b;
}

const QByteArray Version = "ABCDEFGHIJKL0123456789";

QString HexText(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex().toUpper());
}

// A keyboard upload reply: type, settings and check as hex, filler, version.
QString TypedReply(char type, const QByteArray& settings, const QString& filler = {}) {
    QString s = QLatin1Char(type) + HexText(settings + char(Xor(settings)));
    s += filler.isEmpty() ? QString(145 - 22 - s.size(), QLatin1Char('.')) : filler;
    return s + QString::fromLatin1(Version);
}

} // namespace

class TestProtocol : public QObject {
    Q_OBJECT
private slots:
    void frames_data();
    void frames();
    void downloadFrame_data();
    void downloadFrame();
    void byteToHex_data();
    void byteToHex();
    void hexDigitValue_data();
    void hexDigitValue();
    void numberText();
    void downloadReply_data();
    void downloadReply();
    void serialUpload_data();
    void serialUpload();
    void keyboardDownloadText();
    void keyboardUpload_data();
    void keyboardUpload();
    void applyUploadTouchesOneRegion();
};

void TestProtocol::frames_data() {
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("upload") << UploadRequestFrame() << QByteArray::fromHex("02800381");
    QTest::newRow("read memory") << CommandFrame(CmdReadMemory) << QByteArray::fromHex("02820383");
    QTest::newRow("clear memory") << CommandFrame(CmdClearMemory)
                                  << QByteArray::fromHex("02830382");
    QTest::newRow("one data byte")
        << CommandFrame(0x10, QByteArray::fromHex("AA")) << QByteArray::fromHex("021000AA03BB");
    QTest::newRow("three data bytes") << CommandFrame(0x11, QByteArray::fromHex("010203"))
                                      << QByteArray::fromHex("021102010203"
                                                             "0312");
}

void TestProtocol::frames() {
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, bytes);
    QCOMPARE(frame.toHex(' '), bytes.toHex(' '));
    QCOMPARE(Xor(frame), quint8(0));
}

void TestProtocol::downloadFrame_data() {
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<bool>("save");
    const Image d = Config::BuiltInDefaults();
    const QByteArray defaults(reinterpret_cast<const char*>(d.data()), ImageSize);
    QTest::newRow("defaults, Save") << defaults << true;
    QTest::newRow("defaults, Not Save") << defaults << false;
    QTest::newRow("zeros, Save") << QByteArray(ImageSize, '\0') << true;
    QTest::newRow("0xFF, Not Save") << QByteArray(ImageSize, '\xFF') << false;
    QTest::newRow("counting") << Counting(0, ImageSize) << true;
}

void TestProtocol::downloadFrame() {
    QFETCH(QByteArray, image);
    QFETCH(bool, save);
    Image img{};
    std::copy(image.begin(), image.end(), img.begin());
    const QByteArray frame = DownloadFrame(img, save);
    QCOMPARE(frame.size(), 90);
    QCOMPARE(quint8(frame[0]), quint8(0x02));
    QCOMPARE(quint8(frame[1]), quint8(save ? 0x01 : 0x02));
    QCOMPARE(quint8(frame[2]), quint8(0x54));
    QCOMPARE(frame.mid(3, 85), image);
    QCOMPARE(quint8(frame[88]), quint8(0x03));
    // The check starts from 0x54 (Save) or 0x57 (Not Save) and takes in every data byte.
    QCOMPARE(quint8(frame[89]), quint8((save ? 0x54 : 0x57) ^ Xor(image)));
}

void TestProtocol::byteToHex_data() {
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("hex");
    QTest::newRow("0x00") << 0x00 << "00";
    QTest::newRow("0x0C") << 0x0C << "0C";
    QTest::newRow("0x41") << 0x41 << "41";
    QTest::newRow("0xAB") << 0xAB << "AB";
    QTest::newRow("0xF0") << 0xF0 << "F0";
    QTest::newRow("0xFF") << 0xFF << "FF";
}

void TestProtocol::byteToHex() {
    QFETCH(int, byte);
    QFETCH(QString, hex);
    QCOMPARE(ByteToHex(static_cast<quint8>(byte)), hex);
}

void TestProtocol::hexDigitValue_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value"); // 16: not a hex digit
    QTest::newRow("0") << "0" << 0;
    QTest::newRow("9") << "9" << 9;
    QTest::newRow("A") << "A" << 10;
    QTest::newRow("F") << "F" << 15;
    QTest::newRow("a") << "a" << 10;
    QTest::newRow("f") << "f" << 15;
    QTest::newRow("first character counts") << "7x" << 7;
    QTest::newRow("G") << "G" << 16;
    QTest::newRow("g") << "g" << 16;
    QTest::newRow("colon") << ":" << 16;
    QTest::newRow("at sign") << "@" << 16;
    QTest::newRow("question mark") << "?" << 16;
    QTest::newRow("slash") << "/" << 16;
    QTest::newRow("blank") << " " << 16;
    QTest::newRow("CR") << "\r" << 16;
    QTest::newRow("code 5") << QString(QChar(5)) << 16;
    QTest::newRow("fullwidth 1") << QString(QChar(0xFF11)) << 16;
    QTest::newRow("empty") << "" << 16;
}

void TestProtocol::hexDigitValue() {
    QFETCH(QString, text);
    QFETCH(int, value);
    const int v = HexDigitValue(text);
    if (value > 15)
        QVERIFY2(v > MaxHexDigit, qPrintable(QString::number(v)));
    else
        QCOMPARE(v, value);
}

void TestProtocol::numberText() {
    QCOMPARE(NumberText(5), QStringLiteral(" 5"));
    QCOMPARE(NumberText(0), QStringLiteral(" 0"));
    QCOMPARE(NumberText(183), QStringLiteral(" 183"));
    QCOMPARE(NumberText(-1), QStringLiteral("-1"));
}

void TestProtocol::downloadReply_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("status");
    QTest::newRow("07") << QByteArray::fromHex("07") << int(GoodReply);
    QTest::newRow("07 and more") << QByteArray::fromHex("0715") << int(GoodReply);
    QTest::newRow("15") << QByteArray::fromHex("15") << int(BadReply);
    QTest::newRow("00 07") << QByteArray::fromHex("0007") << int(BadReply);
    QTest::newRow("nothing") << QByteArray() << int(BadReply);
}

void TestProtocol::downloadReply() {
    QFETCH(QByteArray, reply);
    QFETCH(int, status);
    QCOMPARE(int(DownloadReplyStatus(reply)), status);
}

void TestProtocol::serialUpload_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("good");
    QTest::addColumn<Region>("region");
    QByteArray wrongCheck = Block(60, Version);
    wrongCheck[83] = static_cast<char>(wrongCheck[83] ^ 1);
    QByteArray shortBlock = Block(70, Version).left(84);
    QByteArray damagedPayload = Block(60, Version);
    damagedPayload[30] = static_cast<char>(damagedPayload[30] ^ 0x40);
    QTest::newRow("magnetic reader, n = 60") << Block(60, Version) << true << Region::Mag;
    QTest::newRow("bar decoder, n = 25, padded") << Block(25, Version, 84) << true << Region::Bar;
    QTest::newRow("bar decoder, n = 25, no padding") << Block(25, Version) << true << Region::Bar;
    QTest::newRow("n = 10, smallest block") << Block(10, Version, 84) << true << Region::Bar;
    QTest::newRow("n = 61 is a bar decoder") << Block(61, Version) << true << Region::Bar;
    QTest::newRow("bytes after the block")
        << Block(60, Version) + "\x01\x02" << true << Region::Mag;
    QTest::newRow("n = 9") << Block(9, Version, 84) << false << Region::Bar;
    QTest::newRow("n = 0") << QByteArray(84, '\0') << false << Region::Bar;
    QTest::newRow("wrong check") << wrongCheck << false << Region::Mag;
    QTest::newRow("damaged settings byte") << damagedPayload << false << Region::Mag;
    QTest::newRow("short: n = 70 in 84 bytes") << shortBlock << false << Region::Bar;
    QTest::newRow("short: one byte missing")
        << Block(60, Version).chopped(1) << false << Region::Mag;
    QTest::newRow("n = 255 in 84 bytes")
        << QByteArray(1, '\xFF') + QByteArray(83, '\0') << false << Region::Bar;
    QTest::newRow("empty") << QByteArray() << false << Region::Bar;
}

void TestProtocol::serialUpload() {
    QFETCH(QByteArray, reply);
    QFETCH(bool, good);
    QFETCH(Region, region);
    const auto block = ParseSerialUpload(reply);
    QCOMPARE(block.has_value(), good);
    if (!good)
        return;
    QCOMPARE(block->region, region);
    const int size = region == Region::Mag ? 60 : 25;
    QCOMPARE(block->settings, reply.mid(1, size));
    QCOMPARE(block->versionFirst, QStringLiteral("ABCDEFGHIJKL"));
    QCOMPARE(block->versionLast, QStringLiteral("0123456789"));
    QCOMPARE(VersionText(*block), QStringLiteral("   ABCDEFGHIJKL\n\r   0123456789"));
    QCOMPARE(VersionMessage(VersionText(*block)),
             QStringLiteral("Get Firmware Version OK!\r\r   ABCDEFGHIJKL\n\r   0123456789"));
}

void TestProtocol::keyboardDownloadText() {
    const Image d = Config::BuiltInDefaults();
    const QByteArray text = KeyboardDownloadText(d);
    QCOMPARE(text.size(), 172);
    QVERIFY(text.startsWith("4142434445464748FFFFFFFFFFFFFFFF0800FFFC02FF2266"));
    const QByteArray bytes = QByteArray::fromHex(text);
    QCOMPARE(bytes.size(), 86);
    QCOMPARE(Xor(bytes), quint8(0));
    QCOMPARE(text, text.toUpper());
}

void TestProtocol::keyboardUpload_data() {
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("good");
    QTest::addColumn<Region>("region");
    const QByteArray mag = Counting(0x80, 60);
    const QByteArray bar = Counting(0x05, 25);
    const QString goodMag = TypedReply('0', mag);
    const QString goodBar = TypedReply('1', bar);
    auto with = [](QString s, int pos, QChar c) {
        s[pos] = c;
        return s;
    };
    QTest::newRow("magnetic reader") << goodMag << true << Region::Mag;
    QTest::newRow("bar decoder") << goodBar << true << Region::Bar;
    QTest::newRow("lower-case hex")
        << goodMag.left(123).toLower() + goodMag.mid(123) << true << Region::Mag;
    QTest::newRow("bar decoder: characters after the pairs not examined")
        << TypedReply('1', bar, QString(70, QLatin1Char('z'))) << true << Region::Bar;
    QTest::newRow("wrong check") << with(goodMag, 121, goodMag[121] == u'0' ? u'1' : u'0') << false
                                 << Region::Mag;
    QTest::newRow("bar decoder, wrong check")
        << with(goodBar, 52, u'X' == goodBar[52] ? u'0' : u'X') << false << Region::Bar;
    QTest::newRow("g in the hex part") << with(goodMag, 40, u'g') << false << Region::Mag;
    QTest::newRow("colon in the hex part") << with(goodBar, 7, u':') << false << Region::Bar;
    QTest::newRow("at sign in the hex part") << with(goodBar, 8, u'@') << false << Region::Bar;
    QTest::newRow("first character 2") << with(goodMag, 0, u'2') << false << Region::Mag;
    QTest::newRow("first character blank") << with(goodBar, 0, u' ') << false << Region::Bar;
    QTest::newRow("144 characters") << goodMag.chopped(1) << false << Region::Mag;
    QTest::newRow("146 characters") << goodMag + QLatin1Char('0') << false << Region::Mag;
    QTest::newRow("empty") << QString() << false << Region::Mag;
}

void TestProtocol::keyboardUpload() {
    QFETCH(QString, reply);
    QFETCH(bool, good);
    QFETCH(Region, region);
    const auto block = ParseKeyboardUpload(reply);
    QCOMPARE(block.has_value(), good);
    if (!good)
        return;
    QCOMPARE(block->region, region);
    QCOMPARE(block->settings, region == Region::Mag ? Counting(0x80, 60) : Counting(0x05, 25));
    QCOMPARE(block->versionFirst, QStringLiteral("ABCDEFGHIJKL"));
    QCOMPARE(block->versionLast, QStringLiteral("0123456789"));
}

void TestProtocol::applyUploadTouchesOneRegion() {
    for (Region region : {Region::Bar, Region::Mag}) {
        Image img{};
        img.fill(0xEE);
        UploadBlock block;
        block.region = region;
        block.settings = Counting(1, RegionSize(region));
        ApplyUpload(img, block);
        for (int i = 0; i < ImageSize; ++i) {
            const bool inside =
                i >= RegionFirst(region) && i < RegionFirst(region) + RegionSize(region);
            QCOMPARE(img[i], inside ? quint8(1 + i - RegionFirst(region)) : quint8(0xEE));
        }
    }
}

QTEST_MAIN(TestProtocol)
#include "tst_protocol.moc"
