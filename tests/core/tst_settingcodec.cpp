// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The settings as text: set, then read back, for every key over random images; what get prints
// copies any stored bits; refused values; and the rules of the panels' single-character and
// count boxes.

#include "core/catalogue.h"
#include "core/config.h"
#include "core/settingcodec.h"
#include "support/configpicks.h"

#include <QRandomGenerator>
#include <QTest>

using namespace orv;
using namespace orv::test;

namespace {

// The header records with the header record of a setting as a pick leaves it.
CfgContents WithHeaderPick(CfgContents c, const Setting& s, const Pick& pick) {
    if (s.header == HeaderItem::DeviceName)
        c.DeviceName = pick.header;
    else if (s.header == HeaderItem::UserName)
        c.UserName = pick.header;
    else if (s.header == HeaderItem::SetupDate)
        c.SetupDate = pick.header;
    else if (s.header == HeaderItem::Description)
        c.Description = pick.header;
    else if (s.header == HeaderItem::LinkMode)
        c.LinkMode = static_cast<qint16>(pick.bytes[0]);
    else
        c.ComPort = static_cast<qint16>(pick.bytes[0]);
    return c;
}

} // namespace

class TestSettingCodec : public QObject {
    Q_OBJECT
private slots:
    void setThenReadBack_data();
    void setThenReadBack();
    void whatGetPrintsCopies_data();
    void whatGetPrintsCopies();
    void refusedValuesChangeNothing_data();
    void refusedValuesChangeNothing();
    void builtInDefaultsRead_data();
    void builtInDefaultsRead();
    void codesWithoutTheirOwnOption();
    void singleCharRule_data();
    void singleCharRule();
    void singleCharText_data();
    void singleCharText();
    void countText_data();
    void countText();
};

void TestSettingCodec::setThenReadBack_data() {
    QTest::addColumn<QString>("key");
    for (const Setting& s : Catalogue())
        QTest::newRow(s.key) << QString::fromLatin1(s.key);
}

void TestSettingCodec::setThenReadBack() {
    QFETCH(QString, key);
    const Setting& s = *FindSetting(key);
    const SettingField& f = FieldOf(s);
    QRandomGenerator rng(qHash(key));
    for (int round = 0; round < 40; ++round) {
        ConfigFile file = RandomConfig(rng);
        const ConfigFile before = file;
        const Pick pick = PickValue(s, f, rng);
        const auto refused = StoreSetting(s, pick.typed, file);
        if (s.kind == SettingKind::Reserved) {
            QVERIFY(refused);
            QVERIFY(file.contents.data == before.contents.data);
            return;
        }
        QVERIFY2(!refused, qPrintable(pick.typed + QStringLiteral(": ") + refused.value_or("")));

        // Only the setting's own bits changed, and they hold the value.
        Image expected = before.contents.data;
        if (f.byte >= 0) {
            int shift = 0;
            while (!(f.mask >> shift & 1))
                ++shift;
            for (int i = 0; i < f.length; ++i) {
                const int b = f.byte + i;
                expected[b] = static_cast<quint8>((expected[b] & ~f.mask) |
                                                  (pick.bytes[i] << shift & f.mask));
            }
        }
        QVERIFY(file.contents.data == expected);
        if (f.byte < 0) {
            QVERIFY(s.kind == SettingKind::HeaderText || pick.header.isEmpty());
            const CfgContents c = WithHeaderPick(before.contents, s, pick);
            QCOMPARE(file.contents.DeviceName, c.DeviceName);
            QCOMPARE(file.contents.UserName, c.UserName);
            QCOMPARE(file.contents.SetupDate, c.SetupDate);
            QCOMPARE(file.contents.Description, c.Description);
            QCOMPARE(file.contents.LinkMode, c.LinkMode);
            QCOMPARE(file.contents.ComPort, c.ComPort);
        }
        QCOMPARE(ReadSetting(s, file).text, pick.readsBack);

        // And so it reads from the file written.
        const auto bytes = WriteAnyFile(file.format, file.contents);
        QVERIFY(bytes);
        QCOMPARE(*bytes, FileBytes(file));
        const AnyFileParseResult parsed = ParseAnyFile(*bytes);
        QCOMPARE(parsed.status, CfgParseStatus::Ok);
        QCOMPARE(ReadSetting(s, ConfigFile{parsed.format, parsed.contents}).text, pick.readsBack);
    }
}

void TestSettingCodec::whatGetPrintsCopies_data() {
    QTest::addColumn<QString>("key");
    for (const Setting& s : Catalogue()) {
        if (s.inImage())
            QTest::newRow(s.key) << QString::fromLatin1(s.key);
    }
}

void TestSettingCodec::whatGetPrintsCopies() {
    // Whatever a file holds, the text get prints for it, set into another file, stores the same
    // bits there and changes nothing else. The setting's bytes: every value at every place
    // (every code of a field beside any other bits), among bytes that look like notation, and
    // groups the window never writes.
    QFETCH(QString, key);
    const Setting& s = *FindSetting(key);
    const SettingField& f = FieldOf(s);
    QRandomGenerator rng(qHash(key) + 1);
    const QByteArray notation("\377{}CRcr\r:A");
    QByteArrayList held{"{CR}", "{cr}A", "{BS }", "A\377BC", "\377\377AB", "code:1"};
    for (int i = 0; i < 256 * f.length; ++i) {
        QByteArray bytes(f.length, 0);
        for (char& b : bytes)
            b = notation[rng.bounded(notation.size())];
        bytes[i / 256] = static_cast<char>(i % 256);
        held << bytes;
    }
    for (const QByteArray& bytes : held) {
        ConfigFile from = RandomConfig(rng);
        std::copy_n(bytes.leftJustified(f.length, '\377', true).cbegin(), f.length,
                    from.contents.data.begin() + f.byte);
        ConfigFile to = RandomConfig(rng);
        ConfigFile expected = to;
        for (int i = f.byte; i < f.byte + f.length; ++i)
            expected.contents.data[i] = static_cast<quint8>((to.contents.data[i] & ~f.mask) |
                                                            (from.contents.data[i] & f.mask));
        const QString text = ReadSetting(s, from).text;
        const auto refused = StoreSetting(s, text, to);
        QVERIFY2(!refused, qPrintable(text + QStringLiteral(": ") + refused.value_or("")));
        QVERIFY2(FileBytes(to) == FileBytes(expected), qPrintable(text));
    }
}

void TestSettingCodec::refusedValuesChangeNothing_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("defaults");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no such baud rate") << "bar.comm.baud_rate"
                                       << "1234" << false << "give one of 2400, 4800, 9600, 19200";
    QTest::newRow("a code, not a value") << "bar.comm.parity"
                                         << "4" << false << "is not a value of Parity";
    QTest::newRow("count above 15") << "bar.misc.truncate_front"
                                    << "16" << false << "a count from 0 to 15";
    QTest::newRow("five in four") << "bar.misc.prefix"
                                  << "{STX}ABCD" << false << "holds at most 4";
    QTest::newRow("nine in eight") << "mag.misc.track3.suffix"
                                   << "123456789" << false << "holds at most 8";
    QTest::newRow("no single-byte code")
        << "bar.misc.suffix" << QString::fromUtf8("A\u20ac") << false << "no single-byte code";
    QTest::newRow("255 ends the group")
        << "bar.misc.suffix" << QString::fromLatin1("A\xFF") << false << "code 255";
    QTest::newRow("two characters") << "bar.misc.code_id.upc_a"
                                    << "AB" << false << "not one character";
    QTest::newRow("control code ID") << "bar.misc.code_id.ean_8"
                                     << "{CR}" << false << "must be printable";
    QTest::newRow("a track character is never empty") << "mag.misc.track1.start_char"
                                                      << "" << false << "give one character";
    QTest::newRow("a name needs braces") << "mag.comm.separator"
                                         << "CR" << false << "not one character";
    QTest::newRow("a name and a character") << "mag.comm.separator"
                                            << "{CR}A" << false << "not one character";
    QTest::newRow("no such name") << "mag.comm.separator"
                                  << "{XYZ}" << false << "not one character";
    QTest::newRow("bits no panel sets") << "mag.reserved.byte_25"
                                        << "0" << false << "no panel sets these bits";
    QTest::newRow("a code beyond the field") << "bar.comm.parity"
                                             << "code:8" << false << "N from 0 to 7";
    QTest::newRow("a code outside the mask") << "mag.reserved.byte_25"
                                             << "code:2" << false << "whose bits lie in the mask";
    QTest::newRow("five codes in four") << "bar.misc.prefix"
                                        << "code:1,2,3,4,5" << false << "up to 4 codes";
    QTest::newRow("no port 7") << "header.com_port"
                               << "7" << false << "give one of 1, 2, 3, 4, 5, 6";
    QTest::newRow("defaults have no header") << "header.device_name"
                                             << "x" << true << "no header records";
}

void TestSettingCodec::refusedValuesChangeNothing() {
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(bool, defaults);
    QFETCH(QString, reason);
    QRandomGenerator rng(qHash(value));
    ConfigFile file = RandomConfig(rng, defaults ? FileFormat::Defaults : FileFormat::Cfg);
    const QByteArray before = FileBytes(file);
    const auto why = StoreSetting(*FindSetting(key), value, file);
    QVERIFY(why);
    QVERIFY2(why->contains(reason), qPrintable(*why));
    QCOMPARE(FileBytes(file), before);
}

void TestSettingCodec::builtInDefaultsRead_data() {
    // The decoder's built-in defaults, setting by setting.
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    const char* rows[][2] = {
        {"bar.interface.mode", "rs232"},
        {"bar.interface.read_memory", "off"},
        {"bar.comm.baud_rate", "9600"},
        {"bar.comm.data_bits", "8"},
        {"bar.comm.stop_bits", "1"},
        {"bar.comm.parity", "none"},
        {"bar.comm.letter_case", "upper"},
        {"bar.comm.terminator", "crlf"},
        {"bar.codes.upc_ean.check_digit", "transmit"},
        {"bar.codes.upc_ean.supplemental", "not_transmit"},
        {"bar.codes.code_39.output_as", "standard"},
        {"bar.codes.code_39.check_digit", "no_calculate"},
        {"bar.codes.code_128.check_digit", "calculate"},
        {"bar.codes.interleave_25.check_digit", "no_calculate"},
        {"bar.codes.codabar.start_d", "on"},
        {"bar.misc.code_id.enabled", "off"},
        {"bar.misc.code_id.codabar", "H"},
        {"bar.misc.language", "us_english"},
        {"bar.misc.prefix", ""},
        {"mag.interface.mode", "keyboard"},
        {"mag.comm.baud_rate", "9600"},
        {"mag.comm.parity", "none"},
        {"mag.comm.letter_case", "upper"},
        {"mag.comm.terminator", "crlf"},
        {"mag.comm.tracks", "auto"},
        {"mag.comm.send_start_stop", "on"},
        {"mag.comm.separator", "{CR}"},
        {"mag.misc.track1.start_char", "%"},
        {"mag.misc.track3.start_char", "+"},
        {"mag.misc.language", "us_english"},
    };
    for (const auto& r : rows)
        QTest::newRow(r[0]) << r[0] << r[1];
}

void TestSettingCodec::builtInDefaultsRead() {
    QFETCH(QString, key);
    QFETCH(QString, text);
    const ConfigFile file{FileFormat::Defaults, {{}, {}, {}, {}, 1, 1, Config::BuiltInDefaults()}};
    QCOMPARE(ReadSetting(*FindSetting(key), file).text, text);
}

void TestSettingCodec::codesWithoutTheirOwnOption() {
    ConfigFile file{FileFormat::Defaults, {{}, {}, {}, {}, 1, 1, Config::BuiltInDefaults()}};
    const Setting& parity = *FindSetting(u"bar.comm.parity");
    file.contents.data[19] = static_cast<quint8>((file.contents.data[19] & ~0x70) | 5 << 4);
    SettingReading r = ReadSetting(parity, file);
    QCOMPARE(r.text, QStringLiteral("code:5"));
    QVERIFY(!r.caption);
    QCOMPARE(r.display, QStringLiteral("5 (no option)"));
    file.contents.data[19] = static_cast<quint8>((file.contents.data[19] & ~0x70) | 4 << 4);
    r = ReadSetting(parity, file);
    QCOMPARE(r.text, QStringLiteral("code:4"));
    QCOMPARE(r.caption, QStringLiteral("None"));
    QCOMPARE(r.codes, std::vector<int>{4});
    QCOMPARE(r.display, QStringLiteral("None (stored as 4)"));

    file.contents.data[0] = 0;
    r = ReadSetting(*FindSetting(u"bar.misc.code_id.upc_a"), file);
    QCOMPARE(r.text, QString());
    QCOMPARE(r.display, QStringLiteral("(none)"));
}

void TestSettingCodec::singleCharRule_data() {
    QTest::addColumn<bool>("identifier");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("stored"); // -1: nothing stored
    QTest::addColumn<QString>("replaceBy");
    QTest::addColumn<bool>("message");
    const QString none = QStringLiteral("<none>");
    QTest::newRow("id empty") << true << "" << 0 << none << false;
    QTest::newRow("id letter") << true << "A" << 65 << none << false;
    QTest::newRow("id blank") << true << " " << 32 << none << false;
    QTest::newRow("id tab") << true << "\t" << 0 << none << false;
    QTest::newRow("id code 31") << true << "\x1f" << 0 << none << false;
    QTest::newRow("id code 255") << true << QString::fromLatin1("\xff") << 255 << none << false;
    QTest::newRow("id two") << true << "AB" << -1 << "" << true;
    QTest::newRow("id no single-byte code")
        << true << QString::fromUtf8("\u20ac") << -1 << none << false;
    QTest::newRow("track empty") << false << "" << -1 << none << false;
    QTest::newRow("track letter") << false << "%" << 37 << none << false;
    QTest::newRow("track tab") << false << "\t" << 9 << none << false;
    QTest::newRow("track two") << false << "AB" << -1 << "A" << false;
    QTest::newRow("track no single-byte code")
        << false << QString::fromUtf8("\u20ac") << -1 << none << false;
}

void TestSettingCodec::singleCharRule() {
    QFETCH(bool, identifier);
    QFETCH(QString, text);
    QFETCH(int, stored);
    QFETCH(QString, replaceBy);
    QFETCH(bool, message);
    const SingleCharOutcome out =
        ApplySingleCharRule(identifier ? CharRule::Identifier : CharRule::Any, text);
    QCOMPARE(out.store ? int(*out.store) : -1, stored);
    QCOMPARE(out.replaceBy.value_or(QStringLiteral("<none>")), replaceBy);
    QCOMPARE(out.tooManyMessage, message);
}

void TestSettingCodec::singleCharText_data() {
    QTest::addColumn<bool>("identifier");
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("text");
    QTest::newRow("id 0") << true << 0 << "";
    QTest::newRow("id A") << true << 65 << "A";
    QTest::newRow("id tab") << true << 9 << "\t";
    QTest::newRow("track 0") << false << 0 << QString(QChar(0));
    QTest::newRow("track ?") << false << 63 << "?";
    QTest::newRow("track 255") << false << 255 << QString::fromLatin1("\xff");
}

void TestSettingCodec::singleCharText() {
    QFETCH(bool, identifier);
    QFETCH(int, byte);
    QFETCH(QString, text);
    QCOMPARE(SingleCharText(identifier ? CharRule::Identifier : CharRule::Any,
                            static_cast<quint8>(byte)),
             text);
}

void TestSettingCodec::countText_data() {
    // What a count box lets in, and the count its text stands for.
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("state"); // CountTextState
    QTest::addColumn<int>("count");
    const int incomplete = int(CountTextState::Incomplete);
    const int ok = int(CountTextState::Count);
    const int refused = int(CountTextState::Refused);
    QTest::newRow("empty") << "" << incomplete << 0;
    QTest::newRow("blanks") << "  " << incomplete << 0;
    QTest::newRow("one digit") << "7" << ok << 7;
    QTest::newRow("leading blank") << " 3" << ok << 3;
    QTest::newRow("the largest") << "15" << ok << 15;
    QTest::newRow("one above") << "16" << refused << 16;
    QTest::newRow("three digits") << "100" << refused << 100;
    QTest::newRow("three digits of a small count") << "015" << refused << 15;
    QTest::newRow("more digits than a count holds") << "99999999999" << refused << 999;
    QTest::newRow("leading zero") << "09" << ok << 9;
    QTest::newRow("letters after digits") << "  8x" << refused << 8;
    QTest::newRow("letters first") << "x8" << refused << 0;
    QTest::newRow("blank after digits") << "1 " << refused << 1;
}

void TestSettingCodec::countText() {
    QFETCH(QString, text);
    QFETCH(int, state);
    QFETCH(int, count);
    const Setting& front = *FindSetting(u"bar.misc.truncate_front");
    QCOMPARE(int(CheckCountText(front, text)), state);
    QCOMPARE(CountOfText(text), count);
    QCOMPARE(HoldsCount(front, count), count <= 15);
}

QTEST_APPLESS_MAIN(TestSettingCodec)
#include "tst_settingcodec.moc"
