// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The shared link option groups: how clicks rewrite the link settings, and what the layouts of
// the three link windows carry.

#include "link/serial/serialport.h"
#include "link/windows/linkoptions.h"
#include "support/linesettings.h"

#include "core/config.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QTest>

using namespace orv;
using namespace orv::test;

namespace {

LinkOptionsLayout TransmitLayout() {
    LinkOptionsLayout l;
    l.modeCaptions = {QStringLiteral("Keyboard"), QStringLiteral("RS232")};
    l.ports = 6;
    l.parity = true;
    return l;
}

LinkOptionsLayout MemoryLayout() {
    LinkOptionsLayout l;
    l.modeCaptions = {QStringLiteral("By Keyboard"), QStringLiteral("By RS232")};
    l.ports = 4;
    return l;
}

LinkOptionsLayout FirmwareLayout() {
    LinkOptionsLayout l;
    l.ports = 4;
    l.baud600 = true;
    l.framingHidden = true;
    return l;
}

struct Options {
    Config config;
    NoSerialPorts ports;
    LinkOptions widget;
    explicit Options(const LinkOptionsLayout& layout = TransmitLayout())
        : widget(config, ports, layout) {
        widget.show(); // laid out, so that a click lands on the option it aims at
    }
    QAbstractButton* option(const QString& group, int i) { return widget.option(group, i); }
    // Runs clicks written as "group:index group:index ...".
    void click(const QString& steps) {
        for (const QString& step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QStringList parts = step.split(QLatin1Char(':'));
            QAbstractButton* b = option(parts[0], parts[1].toInt());
            if (!b)
                qFatal("no option %s", qPrintable(step));
            QTest::mouseClick(b, Qt::LeftButton);
        }
    }
};

} // namespace

class TestLinkOptions : public QObject {
    Q_OBJECT
private slots:
    void rewriting_data();
    void rewriting();
    void modeEnablesFrames();
    void layouts();
    void portOutsideTheOptions();
    void parityChosenSignal();
};

void TestLinkOptions::rewriting_data() {
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("baud");
    QTest::addColumn<int>("port");
    QTest::newRow("nothing") << ""
                             << "N,8,1 "
                             << "9600" << 1;
    QTest::newRow("7 data bits after 2 stop bits") << "optStopbits:1 optDatabits:0"
                                                   << "N,7,2 "
                                                   << "9600" << 1;
    QTest::newRow("then 1 stop bit") << "optStopbits:1 optDatabits:0 optStopbits:0"
                                     << "N,7,1 "
                                     << "9600" << 1;
    QTest::newRow("even, then 8 data bits resets the parity") << "Option2:1 optDatabits:1"
                                                              << "N,8,1 "
                                                              << "9600" << 1;
    QTest::newRow("odd, 2 stop bits keeps the parity") << "Option2:2 optStopbits:1"
                                                       << "O,8,2 "
                                                       << "9600" << 1;
    QTest::newRow("mark") << "Option2:3"
                          << "M,8,1 "
                          << "9600" << 1;
    QTest::newRow("space") << "Option2:4"
                           << "S,8,1 "
                           << "9600" << 1;
    QTest::newRow("space after 7 data, 2 stop") << "optDatabits:0 optStopbits:1 Option2:4"
                                                << "S,7,2 "
                                                << "9600" << 1;
    QTest::newRow("none after even") << "Option2:1 Option2:0"
                                     << "N,8,1 "
                                     << "9600" << 1;
    QTest::newRow("1200") << "optBaud:0"
                          << "N,8,1 "
                          << "1200" << 1;
    QTest::newRow("2400") << "optBaud:1"
                          << "N,8,1 "
                          << "2400" << 1;
    QTest::newRow("4800") << "optBaud:2"
                          << "N,8,1 "
                          << "4800" << 1;
    QTest::newRow("19200 then 9600") << "optBaud:4 optBaud:3"
                                     << "N,8,1 "
                                     << "9600" << 1;
    QTest::newRow("19200") << "optBaud:4"
                           << "N,8,1 "
                           << "19200" << 1;
    QTest::newRow("Com 5") << "OptPort:4"
                           << "N,8,1 "
                           << "9600" << 5;
    QTest::newRow("Com 6 then Com 2") << "OptPort:5 OptPort:1"
                                      << "N,8,1 "
                                      << "9600" << 2;
}

void TestLinkOptions::rewriting() {
    QFETCH(QString, clicks);
    QFETCH(QString, format);
    QFETCH(QString, baud);
    QFETCH(int, port);
    Options o;
    o.widget.showValues();
    o.click(clicks);
    QCOMPARE(FormatOf(o.config.LineSettings), format);
    QCOMPARE(FormatOf(o.config.LineSettings).size(), 6);
    QCOMPARE(BaudOf(o.config.LineSettings), baud);
    QCOMPARE(o.config.ComPort, qint16(port));
    QCOMPARE(SerialSettingsText(o.config.LineSettings), baud + QLatin1Char(',') + format);
}

void TestLinkOptions::modeEnablesFrames() {
    Options o;
    o.widget.showValues();
    auto serialFrames = [&o] {
        QList<bool> on;
        for (const char* f : {"FraPort", "Frame2", "Frame3", "Frame4"})
            on << o.widget.frame(QString::fromLatin1(f))->isEnabled();
        return on;
    };
    const QList<bool> all = {true, true, true, true};
    const QList<bool> none = {false, false, false, false};
    QCOMPARE(serialFrames(), all);
    o.click("OptMode:0");
    QCOMPARE(o.config.LinkMode, qint16(0));
    QCOMPARE(serialFrames(), none);
    QVERIFY(o.widget.frame("Frame1")->isEnabled());
    QVERIFY(o.widget.frame("Frame6")->isEnabled());
    o.click("OptMode:1");
    QCOMPARE(o.config.LinkMode, qint16(1));
    QCOMPARE(serialFrames(), all);
}

void TestLinkOptions::layouts() {
    Options memory(MemoryLayout());
    QCOMPARE(memory.option("OptMode", 0)->text(), QStringLiteral("By Keyboard"));
    QCOMPARE(memory.option("OptMode", 1)->text(), QStringLiteral("By RS232"));
    QVERIFY(memory.option("OptPort", 3));
    QVERIFY(!memory.option("OptPort", 4));
    QVERIFY(!memory.option("Option2", 0));
    QVERIFY(!memory.widget.frame("Frame6"));

    Options isp(FirmwareLayout());
    QVERIFY(!isp.option("OptMode", 0));
    QCOMPARE(isp.option("optBaud", 5)->text(), QStringLiteral("600"));
    isp.widget.showValues();
    for (const char* f : {"Frame2", "Frame3", "Frame4"})
        QVERIFY(isp.widget.frame(QString::fromLatin1(f))->isHidden());
    QVERIFY(!isp.widget.frame("FraPort")->isHidden());
    QVERIFY(isp.widget.frame("FraPort")->isEnabled());
    isp.option("optBaud", 5)->click(); // hidden: not reachable by the mouse

    QCOMPARE(BaudOf(isp.config.LineSettings), QStringLiteral("600"));
}

void TestLinkOptions::portOutsideTheOptions() {
    // A port the window does not offer: no option shows it, and it stays as chosen elsewhere.
    Options memory(MemoryLayout());
    memory.config.ComPort = 6;
    memory.widget.showValues();
    for (int i = 0; i < 4; ++i)
        QVERIFY(!memory.option("OptPort", i)->isChecked());
    QCOMPARE(memory.config.ComPort, qint16(6));
    memory.click("OptPort:2");
    QCOMPARE(memory.config.ComPort, qint16(3));
    QVERIFY(memory.option("OptPort", 2)->isChecked());
}

void TestLinkOptions::parityChosenSignal() {
    Options o;
    QList<int> chosen;
    connect(&o.widget, &LinkOptions::parityChosen, [&chosen](int i) { chosen << i; });
    o.widget.showValues();
    o.click("Option2:2 Option2:2 Option2:3");
    QCOMPARE(chosen, (QList<int>{0, 2, 2, 3}));
}

QTEST_MAIN(TestLinkOptions)
#include "tst_linkoptions.moc"
