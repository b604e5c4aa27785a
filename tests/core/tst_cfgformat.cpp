// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cfgformat.h"

#include <QRandomGenerator>
#include <QTest>

using namespace orv;

namespace {

// A configuration file written out line by line, with the numbers given.
QByteArray CfgText(const QList<QByteArray>& header, const QList<QByteArray>& numbers,
                   const QByteArray& lineEnd = "\r\n") {
    QByteArray out = "tova" + lineEnd;
    for (const QByteArray& h : header)
        out += h + lineEnd;
    for (const QByteArray& n : numbers)
        out += n + lineEnd;
    return out;
}

QList<QByteArray> GoodNumbers() {
    QList<QByteArray> n = {" 2 ", " 0 "};
    for (int i = 0; i < ImageSize; ++i)
        n << " " + QByteArray::number(i * 3) + " ";
    return n;
}

const QList<QByteArray> Header = {"Scanner", "Ann", "1/2/26", "Front desk"};

} // namespace

class TestCfgFormat : public QObject {
    Q_OBJECT
private slots:
    void writesRecordsByteForByte();
    void roundTrip();
    void readsOtherLineEndsAndCommas();
    void headerLineEnds_data();
    void headerLineEnds();
    void refusesDamagedFiles_data();
    void refusesDamagedFiles();
    void refusesHeadersThatCannotBeStored_data();
    void refusesHeadersThatCannotBeStored();
    void defaultsFile_data();
    void defaultsFile();
};

void TestCfgFormat::writesRecordsByteForByte() {
    CfgContents c;
    c.DeviceName = QStringLiteral("A, \"quoted\"");
    c.UserName = QString();
    c.SetupDate = QStringLiteral(" 12/8/26");
    c.Description = QStringLiteral("caf\u00e9");
    c.ComPort = 6;
    c.LinkMode = 0;
    for (int i = 0; i < ImageSize; ++i)
        c.data[i] = static_cast<quint8>(i == 0 ? 0 : (i == 1 ? 255 : i));
    QByteArray expected =
        "tova\r\nA, \"quoted\"\r\n\r\n 12/8/26\r\ncaf\xe9\r\n 6 \r\n 0 \r\n 0 \r\n 255 \r\n";
    for (int i = 2; i < ImageSize; ++i)
        expected += " " + QByteArray::number(i) + " \r\n";
    const auto written = WriteCfgFile(c);
    QVERIFY(written);
    QCOMPARE(*written, expected);
    QCOMPARE(written->count("\r\n"), CfgRecordCount);
}

void TestCfgFormat::roundTrip() {
    QRandomGenerator rng(7);
    const QString samples[] = {QStringLiteral("plain"),
                               QStringLiteral("with, comma"),
                               QStringLiteral("\"leading quote"),
                               QStringLiteral("  blanks  "),
                               QStringLiteral(""),
                               QStringLiteral("\u00ff\u00a0\u0080")};
    for (int round = 0; round < 300; ++round) {
        CfgContents c;
        c.DeviceName = samples[rng.bounded(6)];
        c.UserName = samples[rng.bounded(6)];
        c.SetupDate = samples[rng.bounded(6)];
        c.Description = samples[rng.bounded(6)];
        c.ComPort = static_cast<qint16>(1 + rng.bounded(6));
        c.LinkMode = static_cast<qint16>(rng.bounded(2));
        for (quint8& b : c.data)
            b = static_cast<quint8>(rng.bounded(256));
        const auto bytes = WriteCfgFile(c);
        QVERIFY(bytes);
        const CfgParseResult r = ParseCfgFile(*bytes);
        QCOMPARE(r.status, CfgParseStatus::Ok);
        QCOMPARE(r.contents.DeviceName, c.DeviceName);
        QCOMPARE(r.contents.UserName, c.UserName);
        QCOMPARE(r.contents.SetupDate, c.SetupDate);
        QCOMPARE(r.contents.Description, c.Description);
        QCOMPARE(r.contents.ComPort, c.ComPort);
        QCOMPARE(r.contents.LinkMode, c.LinkMode);
        QVERIFY(r.contents.data == c.data);
    }
}

void TestCfgFormat::readsOtherLineEndsAndCommas() {
    QList<QByteArray> numbers = GoodNumbers();
    // LF line ends, no line end after the last record.
    QByteArray lf = CfgText(Header, numbers, "\n");
    lf.chop(1);
    CfgParseResult r = ParseCfgFile(lf);
    QCOMPARE(r.status, CfgParseStatus::Ok);
    QCOMPARE(r.contents.data[84], quint8(252));
    QCOMPARE(r.contents.DeviceName, QStringLiteral("Scanner"));
    // Several number records on one line, separated by commas.
    QList<QByteArray> joined = {numbers.mid(0, 10).join(','), numbers.mid(10).join(",")};
    r = ParseCfgFile(CfgText(Header, joined));
    QCOMPARE(r.status, CfgParseStatus::Ok);
    QCOMPARE(r.contents.ComPort, qint16(2));
    QCOMPARE(r.contents.data[0], quint8(0));
    QCOMPARE(r.contents.data[84], quint8(252));
}

void TestCfgFormat::headerLineEnds_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("deviceName");
    QTest::addColumn<QString>("description");
    const QList<QByteArray> good = GoodNumbers();
    QList<QByteArray> header = Header;
    header[0] = "Dev\rName";
    QTest::newRow("lone CR") << CfgText(header, good) << "DevName"
                             << "Front desk";
    header = Header;
    header[0] = "Scanner\r";
    header[3] = "\rFront\r\r desk\r";
    QTest::newRow("CR CR LF") << CfgText(header, good) << "Scanner"
                              << "Front desk";
    QTest::newRow("every line CR CR LF") << CfgText(Header, good, "\r\r\n") << "Scanner"
                                         << "Front desk";
    QTest::newRow("LF") << CfgText(Header, good, "\n") << "Scanner"
                        << "Front desk";
}

// A file that opens saves back: the header strings read from it can be written, and the file
// written reads back the same.
void TestCfgFormat::headerLineEnds() {
    QFETCH(QByteArray, file);
    QFETCH(QString, deviceName);
    QFETCH(QString, description);
    const CfgParseResult r = ParseCfgFile(file);
    QCOMPARE(r.status, CfgParseStatus::Ok);
    QCOMPARE(r.contents.DeviceName, deviceName);
    QCOMPARE(r.contents.Description, description);
    QCOMPARE(r.contents.data[84], quint8(252));
    QString why;
    const auto written = WriteCfgFile(r.contents, &why);
    QVERIFY2(written, qPrintable(why));
    const CfgParseResult back = ParseCfgFile(*written);
    QCOMPARE(back.status, CfgParseStatus::Ok);
    QCOMPARE(back.contents.DeviceName, deviceName);
    QCOMPARE(back.contents.Description, description);
    QVERIFY(back.contents.data == r.contents.data);
    QCOMPARE(WriteCfgFile(back.contents), written);
}

void TestCfgFormat::refusesDamagedFiles_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<CfgParseStatus>("status");
    const QList<QByteArray> good = GoodNumbers();
    auto with = [&good](int record, const QByteArray& text) {
        QList<QByteArray> n = good;
        n[record - 6] = text;
        return CfgText(Header, n);
    };
    QTest::newRow("empty") << QByteArray() << CfgParseStatus::WrongSignature;
    QTest::newRow("capital signature")
        << CfgText(Header, good).replace("tova", "TOVA") << CfgParseStatus::WrongSignature;
    QTest::newRow("defaults file")
        << QByteArray("Orv_Defaults\r\n 1 \r\n") << CfgParseStatus::WrongSignature;
    QTest::newRow("header only") << QByteArray("tova\r\nA\r\nB\r\n") << CfgParseStatus::Damaged;
    QTest::newRow("91 records") << CfgText(Header, good.mid(0, 86)) << CfgParseStatus::Damaged;
    QTest::newRow("letters in a number") << with(20, " 6x ") << CfgParseStatus::Damaged;
    QTest::newRow("fraction") << with(20, " 1.5 ") << CfgParseStatus::Damaged;
    QTest::newRow("hex") << with(20, " 0x10 ") << CfgParseStatus::Damaged;
    QTest::newRow("empty number") << with(92, "") << CfgParseStatus::Damaged;
    QTest::newRow("byte 256") << with(8, " 256 ") << CfgParseStatus::Damaged;
    QTest::newRow("byte -1") << with(92, " -1 ") << CfgParseStatus::Damaged;
    QTest::newRow("huge number") << with(50, " 99999999999999999999 ") << CfgParseStatus::Damaged;
    QTest::newRow("port 0") << with(6, " 0 ") << CfgParseStatus::Damaged;
    QTest::newRow("port 7") << with(6, " 7 ") << CfgParseStatus::Damaged;
    QTest::newRow("link mode 2") << with(7, " 2 ") << CfgParseStatus::Damaged;
    QTest::newRow("link mode -1") << with(7, " -1 ") << CfgParseStatus::Damaged;
    QTest::newRow("good") << CfgText(Header, good) << CfgParseStatus::Ok;
    QTest::newRow("extra records ignored")
        << CfgText(Header, good + QList<QByteArray>{"junk"}) << CfgParseStatus::Ok;
}

void TestCfgFormat::refusesDamagedFiles() {
    QFETCH(QByteArray, file);
    QFETCH(CfgParseStatus, status);
    const CfgParseResult r = ParseCfgFile(file);
    QCOMPARE(r.status, status);
    if (status == CfgParseStatus::Damaged)
        QVERIFY(!r.reason.isEmpty());
}

void TestCfgFormat::refusesHeadersThatCannotBeStored_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("line feed") << QStringLiteral("a\nb");
    QTest::newRow("carriage return") << QStringLiteral("a\rb");
    QTest::newRow("euro sign") << QStringLiteral("5 \u20ac");
    QTest::newRow("cjk") << QStringLiteral("\u6587");
}

void TestCfgFormat::refusesHeadersThatCannotBeStored() {
    QFETCH(QString, text);
    for (int field = 0; field < 4; ++field) {
        CfgContents c;
        QString* fields[] = {&c.DeviceName, &c.UserName, &c.SetupDate, &c.Description};
        *fields[field] = text;
        QString why;
        QVERIFY(!WriteCfgFile(c, &why));
        QVERIFY(!why.isEmpty());
    }
}

void TestCfgFormat::defaultsFile_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("usable");
    Image image{};
    for (int i = 0; i < ImageSize; ++i)
        image[i] = static_cast<quint8>(255 - i);
    const QByteArray good = WriteDefaultsFile(image);
    QTest::newRow("good") << good << true;
    QTest::newRow("wrong signature")
        << QByteArray(good).replace("Orv_Defaults", "orv_defaults") << false;
    QByteArray short84 = good;
    short84.truncate(short84.lastIndexOf(" 171 "));
    QTest::newRow("84 numbers") << short84 << false;
    QTest::newRow("bad number") << QByteArray(good).replace(" 200 ", " 2o0 ") << false;
    QTest::newRow("too large") << QByteArray(good).replace(" 200 ", " 300 ") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestCfgFormat::defaultsFile() {
    QFETCH(QByteArray, file);
    QFETCH(bool, usable);
    const auto image = ParseDefaultsFile(file);
    QCOMPARE(bool(image), usable);
    if (usable) {
        for (int i = 0; i < ImageSize; ++i)
            QCOMPARE((*image)[i], quint8(255 - i));
        QVERIFY(file.startsWith("Orv_Defaults\r\n 255 \r\n 254 \r\n"));
        QCOMPARE(file.count("\r\n"), DefaultsRecordCount);
    }
}

QTEST_APPLESS_MAIN(TestCfgFormat)
#include "tst_cfgformat.moc"
