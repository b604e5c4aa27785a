// Every bit field of the four bar decoder panels, driven through the main window as a user
// drives it: loading, clicking every element, and every "Set Default" button, over many
// random images.

#include "barpaneltables.h"
#include "panelchecks.h"

using namespace orv;
using namespace orv::test;

class TestBarFields : public QObject {
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

void TestBarFields::optionGroups_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < OptionFields().size(); ++i)
        QTest::newRow(OptionFields()[i].group) << i;
}

void TestBarFields::optionGroups() {
    QFETCH(int, index);
    VerifyOptionGroup(BarTables(), OptionFields()[index], index + 100);
}

void TestBarFields::checkBoxes_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < CheckFields().size(); ++i)
        QTest::newRow(qPrintable(CheckFields()[i].name)) << i;
}

void TestBarFields::checkBoxes() {
    QFETCH(int, index);
    VerifyCheckBox(BarTables(), CheckFields()[index], index + 200);
}

void TestBarFields::setDefault_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("button");
    QTest::newRow("cfg3") << "cfg3"
                          << "cmdDefault31_2";
    for (const char* b : {"cmdDefault41", "cmdDefault42", "cmdDefault43"})
        QTest::newRow(b) << "cfg4" << b;
    for (const char* b : {"cmdSetAll", "cmdDefault52C", "cmdDefault53", "cmdDefault54",
                          "cmdDefault55", "cmdDefault58"})
        QTest::newRow(b) << "cfg5" << b;
    for (const char* b : {"cmdDefault61", "cmdDefault62"})
        QTest::newRow(b) << "cfg6" << b;
}

void TestBarFields::setDefault() {
    QFETCH(QString, window);
    QFETCH(QString, button);
    VerifySetDefault(BarTables(), window, button, qHash(button));
}

void TestBarFields::openAndCloseKeepTheImage_data() {
    QTest::addColumn<QString>("window");
    for (const char* w : {"cfg3", "cfg4", "cfg5", "cfg6"})
        QTest::newRow(w) << w;
}

void TestBarFields::openAndCloseKeepTheImage() {
    QFETCH(QString, window);
    VerifyOpenAndClose(BarTables(), window, qHash(window));
}

void TestBarFields::codesWithoutAnOption_data() {
    // A code from a file or the decoder that no option stores is shown as the element given
    // (or none) and kept until the user chooses an element.
    QTest::addColumn<CodeWithoutAnOption>("c");
    const CodeWithoutAnOption rows[] = {
        {"cfg3", "optCFG3_1", 22, 0x03, 3, -1, 3, 0}, {"cfg4", "optCfg41D", 19, 0x70, 4, 4, 4, 0},
        {"cfg4", "optCfg41D", 19, 0x70, 5, -1, 5, 0}, {"cfg4", "optCfg41D", 19, 0x70, 6, -1, 6, 0},
        {"cfg4", "optCfg43A", 20, 0x07, 7, -1, 7, 0}, {"cfg5", "opt53B", 23, 0xC0, 0, 0, 0, 1},
        {"cfg5", "opt54A", 23, 0x30, 0, 0, 0, 1},     {"cfg5", "opt55A", 23, 0x0C, 0, 0, 0, 1},
    };
    for (const CodeWithoutAnOption& r : rows)
        QTest::addRow("%s %d", qPrintable(r.group), r.code) << r;
}

void TestBarFields::codesWithoutAnOption() {
    QFETCH(CodeWithoutAnOption, c);
    VerifyCodeWithoutAnOption(BarTables(), c);
}

QTEST_MAIN(TestBarFields)
#include "tst_barfields.moc"
