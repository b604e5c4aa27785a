// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/config.h"

#include <QDate>
#include <QLocale>
#include <QRandomGenerator>
#include <QTest>

using namespace orv;

class TestConfig : public QObject {
    Q_OBJECT
private slots:
    void setBitsChangesOnlyTheField_data();
    void setBitsChangesOnlyTheField();
    void documentedBitExamples();
    void builtInDefaults();
    void restoreTouchesOnlyItsRegion();
    void unsavedChanges();
    void startValues();
    void dateText_data();
    void dateText();
};

void TestConfig::setBitsChangesOnlyTheField_data() {
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("shift");
    QTest::newRow("bit 0") << 0x01 << 0;
    QTest::newRow("bits 0-1") << 0x03 << 0;
    QTest::newRow("bits 2-3") << 0x0C << 2;
    QTest::newRow("bits 4-6") << 0x70 << 4;
    QTest::newRow("bit 7") << 0x80 << 7;
    QTest::newRow("bits 4-7") << 0xF0 << 4;
    QTest::newRow("bits 5-7") << 0xE0 << 5;
    QTest::newRow("whole byte") << 0xFF << 0;
}

void TestConfig::setBitsChangesOnlyTheField() {
    QFETCH(int, mask);
    QFETCH(int, shift);
    QRandomGenerator rng(mask * 7919 + shift);
    Config c;
    for (int round = 0; round < 2000; ++round) {
        const int index = rng.bounded(ImageSize);
        const auto before = static_cast<quint8>(rng.bounded(256));
        const int code = rng.bounded((mask >> shift) + 1);
        c.CfgData[index] = before;
        const Image others = c.CfgData;
        c.SetCfgBits(index, mask, code << shift);
        QCOMPARE(c.CfgData[index] & ~mask & 0xFF, before & ~mask & 0xFF);
        QCOMPARE(c.GetCfgBits(index, mask), code << shift);
        for (int i = 0; i < ImageSize; ++i) {
            if (i != index)
                QCOMPARE(c.CfgData[i], others[i]);
        }
        c.CfgDefault[index] = c.CfgData[index];
        QCOMPARE(c.GetDefaultBits(index, mask), code << shift);
    }
}

void TestConfig::documentedBitExamples() {
    Config c;
    c.CfgData[22] = 0x22;
    c.SetCfgBits(22, 3, 2);
    QCOMPARE(c.CfgData[22], quint8(0x22));
    c.SetCfgBits(22, 3, 0);
    QCOMPARE(c.CfgData[22], quint8(0x20));
    c.CfgData[26] = 0x30;
    QCOMPARE(c.GetCfgBits(26, 0xC0), 0);
    c.CfgData[26] = 0x70;
    QCOMPARE(c.GetCfgBits(26, 0xC0), 0x40);
}

void TestConfig::builtInDefaults() {
    // The decoder's factory settings, written out run by run.
    QList<int> expected = {65, 66, 67, 68, 69, 70, 71, 72};
    expected += QList<int>(8, 255);
    expected += {8, 0, 255, 252, 2, 255, 34, 102, 0, 0, 48, 226, 23};
    expected += QList<int>(48, 255);
    expected += {37, 63, 59, 63, 43, 63, 12, 13};
    QCOMPARE(expected.size(), ImageSize);
    Config c;
    c.BuildBarDefaults();
    for (int i = 0; i < ImageSize; ++i)
        QCOMPARE(c.CfgDefault[i], quint8(i <= BarLast ? expected[i] : 0));
    c.BuildMagDefaults();
    for (int i = 0; i < ImageSize; ++i)
        QCOMPARE(c.CfgDefault[i], quint8(expected[i]));
}

void TestConfig::restoreTouchesOnlyItsRegion() {
    QRandomGenerator rng(42);
    for (int round = 0; round < 200; ++round) {
        Config c;
        for (int i = 0; i < ImageSize; ++i) {
            c.CfgData[i] = static_cast<quint8>(rng.bounded(256));
            c.CfgDefault[i] = static_cast<quint8>(rng.bounded(256));
            c.CfgSaved[i] = static_cast<quint8>(rng.bounded(256));
        }
        const Config before = c;
        const bool bar = round % 2 == 0;
        bar ? c.RestoreBarDefaults() : c.RestoreMagDefaults();
        for (int i = 0; i < ImageSize; ++i) {
            const bool inRegion = bar ? i <= BarLast : i >= MagFirst;
            QCOMPARE(c.CfgData[i], inRegion ? before.CfgDefault[i] : before.CfgData[i]);
        }
        QVERIFY(c.CfgSaved == before.CfgSaved);
        QVERIFY(c.CfgDefault == before.CfgDefault);
    }
}

void TestConfig::unsavedChanges() {
    Config c;
    c.InitStartState(QDate(2026, 1, 2));
    c.BuildBarDefaults();
    c.BuildMagDefaults();
    c.CfgData = c.CfgDefault;
    c.MarkSaved();
    QVERIFY(!c.HasUnsavedChanges());
    c.DeviceName = QStringLiteral("Line 4 scanner");
    c.ComPort = 3;
    c.CfgFileName = QStringLiteral("/tmp/x.cfg");
    QVERIFY(!c.HasUnsavedChanges());
    for (int i : {0, 42, 84}) {
        c.CfgData[i] ^= 0x10;
        QVERIFY(c.HasUnsavedChanges());
        c.MarkSaved();
        QVERIFY(!c.HasUnsavedChanges());
    }
}

void TestConfig::startValues() {
    Config c;
    c.CfgData.fill(7); // CfgDefault is still all zero: the working image becomes all zero
    c.ActivePanel = 4;
    c.SaveOption = false;
    c.MagMode = true;
    c.InitStartState(QDate(2026, 12, 8));
    QCOMPARE(c.ActivePanel, qint16(0));
    QVERIFY(c.SaveOption);
    QVERIFY(!c.MagMode);
    QVERIFY(c.CfgData == Image{});
    QCOMPARE(c.DeviceName, QStringLiteral("Device Name"));
    QCOMPARE(c.UserName, QStringLiteral("User's Name"));
    QCOMPARE(c.SetupDate, Config::DateText(QDate(2026, 12, 8)));
    QCOMPARE(c.Description, QStringLiteral("Your description about this configuration file"));
    QCOMPARE(c.CfgFileName, QStringLiteral("New File"));
    QCOMPARE(c.ComPort, qint16(1));
    QCOMPARE(c.LinkMode, qint16(1));
    QCOMPARE(SerialSettingsText(c.LineSettings), QStringLiteral("9600,N,8,1 "));
    c.SetNewFileHeaders(QDate(2026, 12, 9));
    QCOMPARE(c.Description, QStringLiteral("Your Description about this Setup"));
    QCOMPARE(c.SetupDate, Config::DateText(QDate(2026, 12, 9)));
}

void TestConfig::dateText_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::newRow("English (US)") << "en_US"
                                  << "12/8/26";
    QTest::newRow("German") << "de_DE"
                            << "08.12.26";
    QTest::newRow("Arabic digits") << "ar_EG"
                                   << "2026-12-08";
    QTest::newRow("Bengali digits") << "bn_BD"
                                    << "2026-12-08";
}

void TestConfig::dateText() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    // Whatever the locale, the date is text that a configuration file can store.
    QCOMPARE(Config::DateText(QDate(2026, 12, 8), QLocale(locale)), text);
}

QTEST_APPLESS_MAIN(TestConfig)
#include "tst_config.moc"
