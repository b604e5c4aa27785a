// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The serial line settings: their text, as the window writes it and orvctl reads it, and which
// of them a port can take.

#include "core/serialsettings.h"

#include <QTest>

using namespace orv;

Q_DECLARE_METATYPE(orv::Parity)
Q_DECLARE_METATYPE(orv::SerialSettings)

class TestSerialSettings : public QObject {
    Q_OBJECT
private slots:
    void settingsText_data();
    void settingsText();
    void usable_data();
    void usable();
};

void TestSerialSettings::settingsText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("baud");
    QTest::addColumn<Parity>("parity");
    QTest::addColumn<int>("data");
    QTest::addColumn<int>("stop");
    QTest::newRow("start values") << "9600,N,8,1 " << true << 9600 << Parity::None << 8 << 1;
    QTest::newRow("even 7 2") << "1200,E,7,2 " << true << 1200 << Parity::Even << 7 << 2;
    QTest::newRow("odd") << "19200,O,8,1 " << true << 19200 << Parity::Odd << 8 << 1;
    QTest::newRow("mark") << "4800,M,8,1 " << true << 4800 << Parity::Mark << 8 << 1;
    QTest::newRow("space, lower case") << "600,s,7,1" << true << 600 << Parity::Space << 7 << 1;
    QTest::newRow("firmware") << "19200,N,8,1" << true << 19200 << Parity::None << 8 << 1;
    QTest::newRow("parity letter X") << "9600,X,8,1 " << false << 0 << Parity::None << 8 << 1;
    QTest::newRow("6 data bits") << "9600,N,6,1 " << false << 0 << Parity::None << 8 << 1;
    QTest::newRow("1.5 stop bits") << "9600,N,8,1.5" << false << 0 << Parity::None << 8 << 1;
    QTest::newRow("no baud") << ",N,8,1 " << false << 0 << Parity::None << 8 << 1;
    QTest::newRow("baud with a sign") << "+9600,N,8,1 " << false << 0 << Parity::None << 8 << 1;
    QTest::newRow("baud 0") << "0,N,8,1 " << false << 0 << Parity::None << 8 << 1;
    QTest::newRow("three parts") << "9600,N,8" << false << 0 << Parity::None << 8 << 1;
    QTest::newRow("five parts") << "9600,N,8,1,1" << false << 0 << Parity::None << 8 << 1;
}

void TestSerialSettings::settingsText() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const auto s = ParseSerialSettings(text);
    QCOMPARE(s.has_value(), valid);
    if (!valid)
        return;
    QFETCH(int, baud);
    QFETCH(Parity, parity);
    QFETCH(int, data);
    QFETCH(int, stop);
    QCOMPARE(s->baudRate, baud);
    QCOMPARE(s->parity, parity);
    QCOMPARE(s->dataBits, data);
    QCOMPARE(s->stopBits, stop);
    // Written as the window writes them, they read back the same.
    QVERIFY(ParseSerialSettings(SerialSettingsText(*s)) == s);
    QVERIFY(IsUsable(*s));
}

void TestSerialSettings::usable_data() {
    QTest::addColumn<SerialSettings>("settings");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<QString>("text");
    QTest::newRow("start values") << SerialSettings() << true << "9600,N,8,1 ";
    QTest::newRow("7 data bits, 2 stop bits, space")
        << SerialSettings{1200, Parity::Space, 7, 2} << true << "1200,S,7,2 ";
    QTest::newRow("baud 0") << SerialSettings{0, Parity::None, 8, 1} << false << "0,N,8,1 ";
    QTest::newRow("6 data bits") << SerialSettings{9600, Parity::Even, 6, 1} << false
                                 << "9600,E,6,1 ";
    QTest::newRow("9 data bits") << SerialSettings{9600, Parity::Odd, 9, 1} << false
                                 << "9600,O,9,1 ";
    QTest::newRow("no stop bit") << SerialSettings{9600, Parity::Mark, 8, 0} << false
                                 << "9600,M,8,0 ";
    QTest::newRow("3 stop bits") << SerialSettings{9600, Parity::None, 8, 3} << false
                                 << "9600,N,8,3 ";
}

void TestSerialSettings::usable() {
    QFETCH(SerialSettings, settings);
    QFETCH(bool, usable);
    QFETCH(QString, text);
    QCOMPARE(IsUsable(settings), usable);
    QCOMPARE(SerialSettingsText(settings), text);
}

QTEST_APPLESS_MAIN(TestSerialSettings)
#include "tst_serialsettings.moc"
