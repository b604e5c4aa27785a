// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Every bit field of the seven settings panels, driven through the main window as a user drives
// it: loading, clicking every element and check box, every "Set Default" button, and opening and
// closing with no change, over many random images.

#include "barpaneltables.h"
#include "magpaneltables.h"
#include "panelchecks.h"

using namespace orv;
using namespace orv::test;

namespace {

const PanelTables& TablesOf(const QString& window) {
    static const PanelTables bar = BarTables();
    static const PanelTables mag = MagTables();
    return window.startsWith(QLatin1String("mag")) ? mag : bar;
}

const QStringList Windows{"cfg3", "cfg4", "cfg5", "cfg6", "magcfg3", "magcfg4", "magcfg6"};

} // namespace

class TestPanelFields : public QObject {
    Q_OBJECT
private slots:
    void optionGroups_data();
    void optionGroups();
    void checkBoxes_data();
    void checkBoxes();
    void setDefault_data();
    void setDefault();
    void openAndCloseKeepTheImage_data();
    void openAndCloseKeepTheImage();
    void codesWithoutAnOption_data();
    void codesWithoutAnOption();
};

void TestPanelFields::optionGroups_data() {
    QTest::addColumn<OptionField>("field");
    for (const char* w : {"cfg3", "magcfg3"}) {
        for (const OptionField& f : TablesOf(QString::fromLatin1(w)).options)
            QTest::addRow("%s %s", f.window, f.group) << f;
    }
}

void TestPanelFields::optionGroups() {
    QFETCH(OptionField, field);
    VerifyOptionGroup(TablesOf(field.window), field,
                      qHash(QLatin1String(field.group)) + field.byte);
}

void TestPanelFields::checkBoxes_data() {
    QTest::addColumn<CheckField>("field");
    for (const char* w : {"cfg3", "magcfg3"}) {
        for (const CheckField& f : TablesOf(QString::fromLatin1(w)).checks)
            QTest::addRow("%s %s", f.window, qPrintable(f.name)) << f;
    }
}

void TestPanelFields::checkBoxes() {
    QFETCH(CheckField, field);
    VerifyCheckBox(TablesOf(field.window), field, qHash(field.name) + field.byte);
}

void TestPanelFields::setDefault_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("button");
    const char* rows[][2] = {
        {"cfg3", "cmdDefault31_2"},    {"cfg4", "cmdDefault41"},    {"cfg4", "cmdDefault42"},
        {"cfg4", "cmdDefault43"},      {"cfg5", "cmdSetAll"},       {"cfg5", "cmdDefault52C"},
        {"cfg5", "cmdDefault53"},      {"cfg5", "cmdDefault54"},    {"cfg5", "cmdDefault55"},
        {"cfg5", "cmdDefault58"},      {"cfg6", "cmdDefault61"},    {"cfg6", "cmdDefault62"},
        {"magcfg3", "cmdDefault31_2"}, {"magcfg4", "cmdDefault41"}, {"magcfg4", "cmdDefault42"},
        {"magcfg4", "cmdDefault43"},   {"magcfg4", "cmdDefault45"}, {"magcfg6", "cmdDefault61"},
        {"magcfg6", "CmdDefault"},
    };
    for (const auto& r : rows)
        QTest::addRow("%s %s", r[0], r[1]) << r[0] << r[1];
}

void TestPanelFields::setDefault() {
    QFETCH(QString, window);
    QFETCH(QString, button);
    VerifySetDefault(TablesOf(window), window, button, qHash(window + button));
}

void TestPanelFields::openAndCloseKeepTheImage_data() {
    QTest::addColumn<QString>("window");
    for (const QString& w : Windows)
        QTest::newRow(qPrintable(w)) << w;
}

void TestPanelFields::openAndCloseKeepTheImage() {
    QFETCH(QString, window);
    VerifyOpenAndClose(TablesOf(window), window, qHash(window));
}

void TestPanelFields::codesWithoutAnOption_data() {
    // A code from a file or the decoder that no option stores is shown as the element given (or
    // none) and kept until the user chooses an element, except the magnetic reader's terminator
    // 7, which shows "None" and so becomes 6 as the panel loads.
    QTest::addColumn<CodeWithoutAnOption>("c");
    const CodeWithoutAnOption rows[] = {
        {"cfg3", "optCFG3_1", 22, 0x03, 3, -1, 3, 0},
        {"cfg4", "optCfg41D", 19, 0x70, 4, 4, 4, 0},
        {"cfg4", "optCfg41D", 19, 0x70, 5, -1, 5, 0},
        {"cfg4", "optCfg41D", 19, 0x70, 6, -1, 6, 0},
        {"cfg4", "optCfg43A", 20, 0x07, 7, -1, 7, 0},
        {"cfg5", "opt53B", 23, 0xC0, 0, 0, 0, 1},
        {"cfg5", "opt54A", 23, 0x30, 0, 0, 0, 1},
        {"cfg5", "opt55A", 23, 0x0C, 0, 0, 0, 1},
        {"magcfg3", "OptCfg3_1", 26, 0xC0, 3, 1, 3, 0},
        {"magcfg4", "optCfg41A", 28, 0x07, 5, 5, 5, 0},
        {"magcfg4", "optCfg41A", 28, 0x07, 6, -1, 6, 0},
        {"magcfg4", "optCfg41D", 27, 0xE0, 4, 4, 4, 0},
        {"magcfg4", "optCfg41D", 27, 0xE0, 5, -1, 5, 0},
        {"magcfg4", "optCfg41D", 27, 0xE0, 6, -1, 6, 0},
        {"magcfg4", "optCfg43A", 27, 0x07, 7, 6, 6, 0},
    };
    for (const CodeWithoutAnOption& r : rows)
        QTest::addRow("%s %s %d", qPrintable(r.window), qPrintable(r.group), r.code) << r;
}

void TestPanelFields::codesWithoutAnOption() {
    QFETCH(CodeWithoutAnOption, c);
    VerifyCodeWithoutAnOption(TablesOf(c.window), c);
}

QTEST_MAIN(TestPanelFields)
#include "tst_panelfields.moc"
