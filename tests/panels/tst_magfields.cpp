// Every bit field of the three magnetic reader panels, driven through the main window as a user
// drives it: loading, clicking every element, and every "Set Default" button, over many random
// images.

#include "magpaneltables.h"
#include "panelchecks.h"

using namespace orv;
using namespace orv::test;

class TestMagFields : public QObject {
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

void TestMagFields::optionGroups_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < MagOptionFields().size(); ++i)
        QTest::newRow(MagOptionFields()[i].group) << i;
}

void TestMagFields::optionGroups() {
    QFETCH(int, index);
    VerifyOptionGroup(MagTables(), MagOptionFields()[index], index + 300);
}

void TestMagFields::checkBoxes_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < MagCheckFields().size(); ++i)
        QTest::newRow(qPrintable(MagCheckFields()[i].name)) << i;
}

void TestMagFields::checkBoxes() {
    QFETCH(int, index);
    VerifyCheckBox(MagTables(), MagCheckFields()[index], index + 400);
}

void TestMagFields::setDefault_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("button");
    QTest::newRow("magcfg3") << "magcfg3"
                             << "cmdDefault31_2";
    for (const char* b : {"cmdDefault41", "cmdDefault42", "cmdDefault43", "cmdDefault45"})
        QTest::newRow(b) << "magcfg4" << b;
    for (const char* b : {"cmdDefault61", "CmdDefault"})
        QTest::newRow(b) << "magcfg6" << b;
}

void TestMagFields::setDefault() {
    QFETCH(QString, window);
    QFETCH(QString, button);
    VerifySetDefault(MagTables(), window, button, qHash(button) + 1);
}

void TestMagFields::openAndCloseKeepTheImage_data() {
    QTest::addColumn<QString>("window");
    for (const char* w : {"magcfg3", "magcfg4", "magcfg6"})
        QTest::newRow(w) << w;
}

void TestMagFields::openAndCloseKeepTheImage() {
    QFETCH(QString, window);
    VerifyOpenAndClose(MagTables(), window, qHash(window) + 1);
}

void TestMagFields::codesWithoutAnOption_data() {
    // Codes from a file or the decoder that no option stores. A stored interface 3 shows
    // "USB Mode", baud rate 5 "9600" and parity 4 "None"; they are kept until the user chooses.
    // A terminator 7 shows "None", which stores 6 as the panel loads.
    QTest::addColumn<CodeWithoutAnOption>("c");
    const CodeWithoutAnOption rows[] = {
        {"magcfg3", "OptCfg3_1", 26, 0xC0, 3, 1, 3, 0},
        {"magcfg4", "optCfg41A", 28, 0x07, 5, 5, 5, 0},
        {"magcfg4", "optCfg41A", 28, 0x07, 6, -1, 6, 0},
        {"magcfg4", "optCfg41D", 27, 0xE0, 4, 4, 4, 0},
        {"magcfg4", "optCfg41D", 27, 0xE0, 5, -1, 5, 0},
        {"magcfg4", "optCfg41D", 27, 0xE0, 6, -1, 6, 0},
        {"magcfg4", "optCfg43A", 27, 0x07, 7, 6, 6, 0},
    };
    for (const CodeWithoutAnOption& r : rows)
        QTest::addRow("%s %d", qPrintable(r.group), r.code) << r;
}

void TestMagFields::codesWithoutAnOption() {
    QFETCH(CodeWithoutAnOption, c);
    VerifyCodeWithoutAnOption(MagTables(), c);
}

QTEST_MAIN(TestMagFields)
#include "tst_magfields.moc"
