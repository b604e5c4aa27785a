// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The binding widgets on their own, with tables that are not the bar decoder's: the magnetic
// reader panels use them with codes that differ from element indexes, shifted fields and
// switching insertion groups.

#include "core/config.h"
#include "panels/optiongroup.h"
#include "panels/tabframes.h"
#include "panels/textboxes.h"
#include "support/fakedialogs.h"
#include "support/keyboarddecoder.h"
#include "support/waiting.h"

#include <QAccessible>
#include <QGroupBox>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTabBar>
#include <QTest>
#include <QVBoxLayout>

using namespace orv;
using namespace orv::test;

namespace {

Image RandomImage(QRandomGenerator& rng) {
    Image img;
    for (quint8& b : img)
        b = static_cast<quint8>(rng.bounded(256));
    return img;
}

// Stored as 0, 1, 2, 3, 4, 7; 5 is shown as element 4 and kept, 6 is shown as element 5 and
// rewritten to 7. The field is bits 1..3 of byte 40.
const OptionGroupTable Mapped{"optTest",
                              "fraTest",
                              "Test",
                              {40, 0x0E, 1},
                              {"a", "b", "c", "d", "e", "f"},
                              {{0, 1, 2}, {3, 4, 5}},
                              {0, 1, 2, 3, 4, 7},
                              {{5, 4, false}, {6, 5, true}}};
// Check-digit style: stored as index + 1, and 0 shown by no element.
const OptionGroupTable PlusOne{"optPlus",       nullptr, nullptr,  {7, 0xC0, 6},
                               {"x", "y", "z"}, {},      {1, 2, 3}};

// A window that holds the controls under test, so that clicks reach them.
struct Host {
    QWidget window;
    QVBoxLayout* layout = new QVBoxLayout(&window);
    template <class W> W* add(W* w) {
        layout->addWidget(w);
        return w;
    }
    void show() {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window, GiveUpMsecs));
    }
};

} // namespace

class TestBindings : public QObject {
    Q_OBJECT
private slots:
    void optionShowsAndStores_data();
    void optionShowsAndStores();
    void optionClicksWriteOnlyTheField();
    void checkBoxWritesItsBit();
    void insertionBoxSwitchesGroups();
    void identifierBox();
    void trackCharBox();
    void boxesKeepOutWhatCannotBeStored();
    void insertionBoxKeepsOut255_data();
    void insertionBoxKeepsOut255();
    void countCombo_data();
    void countCombo();
    void tabFrames();
};

void TestBindings::optionShowsAndStores_data() {
    QTest::addColumn<bool>("plusOne");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("element"); // -1: none selected
    QTest::addColumn<int>("stored");
    for (int c : {0, 1, 2, 3, 4})
        QTest::addRow("mapped %d", c) << false << c << c << c;
    QTest::newRow("mapped 7") << false << 7 << 5 << 7;
    QTest::newRow("shown and kept") << false << 5 << 4 << 5;
    QTest::newRow("shown and rewritten") << false << 6 << 5 << 7;
    QTest::newRow("plus one 1") << true << 1 << 0 << 1;
    QTest::newRow("plus one 3") << true << 3 << 2 << 3;
    QTest::newRow("plus one, no element for 0") << true << 0 << -1 << 0;
}

void TestBindings::optionShowsAndStores() {
    QFETCH(bool, plusOne);
    QFETCH(int, code);
    QFETCH(int, element);
    QFETCH(int, stored);
    const OptionGroupTable& table = plusOne ? PlusOne : Mapped;
    QRandomGenerator rng(code * 31 + plusOne);
    Config config;
    OptionGroup group(config, table);
    for (int round = 0; round < 50; ++round) {
        // Start from another selection, so that showing has to change it.
        group.showCode(table.codes.front());
        config.CfgData = RandomImage(rng);
        config.CfgDefault = RandomImage(rng);
        const BitField f = table.field;
        // Showing from either image goes through the same path.
        const bool fromDefault = round % 2;
        Image& source = fromDefault ? config.CfgDefault : config.CfgData;
        source[f.byte] = static_cast<quint8>((source[f.byte] & ~f.mask) | (code << f.shift));
        Image expected = config.CfgData;
        expected[f.byte] = static_cast<quint8>((expected[f.byte] & ~f.mask) | (stored << f.shift));
        group.showFrom(fromDefault ? Source::Default : Source::Data);
        QCOMPARE(group.selected(), element);
        QVERIFY(config.CfgData == expected);
    }
}

void TestBindings::optionClicksWriteOnlyTheField() {
    Config config;
    Host host;
    OptionGroup* group = host.add(new OptionGroup(config, Mapped));
    OptionGroup* plus = host.add(new OptionGroup(config, PlusOne));
    host.show();
    QCOMPARE(group->findChild<QGroupBox*>(QStringLiteral("fraTest"))->title(),
             QStringLiteral("Test"));
    QRandomGenerator rng(7);
    for (int round = 0; round < 40; ++round) {
        config.CfgData = RandomImage(rng);
        for (OptionGroup* g : {group, plus}) {
            const BitField f = g->table().field;
            g->showFrom(Source::Data);
            for (int e = 0; e < g->count(); ++e) {
                const int pick = rng.bounded(g->count());
                Image expected = config.CfgData;
                expected[f.byte] = static_cast<quint8>((expected[f.byte] & ~f.mask) |
                                                       (g->codeOf(pick) << f.shift));
                QTest::mouseClick(g->button(pick), Qt::LeftButton);
                QCOMPARE(g->selected(), pick);
                QVERIFY(config.CfgData == expected);
            }
        }
    }
    // Clicking the element that shows a code it does not store stores its own code.
    config.CfgData[7] = 0x05;
    plus->showFrom(Source::Data);
    QCOMPARE(plus->selected(), -1);
    QTest::mouseClick(plus->button(0), Qt::LeftButton);
    QCOMPARE(config.CfgData[7], quint8(0x45));
    config.CfgData[40] = 0x0C; // code 6: element 5, rewritten to 7
    group->showFrom(Source::Data);
    QCOMPARE(config.CfgData[40], quint8(0x0E));
}

void TestBindings::checkBoxWritesItsBit() {
    Config config;
    Host host;
    BitCheckBox* box = host.add(
        new BitCheckBox(config, QStringLiteral("chkTest"), QStringLiteral("On"), {30, 0x20, 5}));
    host.show();
    QRandomGenerator rng(11);
    for (int round = 0; round < 100; ++round) {
        config.CfgData = RandomImage(rng);
        config.CfgDefault = RandomImage(rng);
        const Image before = config.CfgData;
        box->showFrom(Source::Data);
        QVERIFY(config.CfgData == before);
        QCOMPARE(box->isChecked(), bool(before[30] & 0x20));
        QTest::mouseClick(box, Qt::LeftButton);
        Image expected = before;
        expected[30] ^= 0x20;
        QVERIFY(config.CfgData == expected);
        box->showFrom(Source::Default);
        expected[30] = static_cast<quint8>((expected[30] & ~0x20) | (config.CfgDefault[30] & 0x20));
        QVERIFY(config.CfgData == expected);
        QCOMPARE(box->isChecked(), bool(config.CfgDefault[30] & 0x20));
    }
}

void TestBindings::insertionBoxSwitchesGroups() {
    Config config;
    config.CfgData = Config::BuiltInDefaults();
    config.CfgData[29] = 'A';
    config.CfgData[30] = 13;
    Host host;
    InsertionBox* box = host.add(new InsertionBox(config, 29, 8, QStringLiteral("txt694")));
    host.show();
    box->showFrom(Source::Data);
    QCOMPARE(box->text(), QStringLiteral("A{CR}"));
    const Image before = config.CfgData;

    box->setGroupStart(45);
    QCOMPARE(box->text(), QString());
    QTest::keyClicks(box, QStringLiteral("{STX}"));
    Image expected = before;
    expected[45] = 2;
    QVERIFY(config.CfgData == expected);

    // Ten characters: the first eight are stored, all stay visible.
    box->clearGroup();
    QTest::keyClicks(box, QStringLiteral("0123456789"));
    QCOMPARE(box->text(), QStringLiteral("0123456789"));
    for (int i = 0; i < 8; ++i)
        expected[45 + i] = static_cast<quint8>('0' + i);
    QVERIFY(config.CfgData == expected);

    box->clearGroup();
    QVERIFY(box->text().isEmpty());
    QVERIFY(config.CfgData == before);
    box->setGroupStart(29);
    QCOMPARE(box->text(), QStringLiteral("A{CR}"));
    QVERIFY(config.CfgData == before);
}

void TestBindings::identifierBox() {
    Config config;
    FakeDialogs dialogs;
    Host host;
    SingleCharBox* box = host.add(new SingleCharBox(
        config, &dialogs, SettingOf("bar.misc.code_id.ean_8"), QStringLiteral("txt62(3)")));
    host.show();
    config.CfgData[3] = 9;
    box->showFrom(Source::Data);
    QCOMPARE(box->text(), QStringLiteral("\t"));
    QCOMPARE(config.CfgData[3], quint8(0)); // a control character is stored as 0

    box->clear();
    QTest::keyClicks(box, QStringLiteral("A"));
    QCOMPARE(config.CfgData[3], quint8('A'));
    QVERIFY(dialogs.shown.isEmpty());
    QTest::keyClicks(box, QStringLiteral("B"));
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Allow only one character.")});
    QCOMPARE(dialogs.last().title, QStringLiteral("Decoder Configuration Setup"));
    QCOMPARE(dialogs.last().buttons, Dialogs::Buttons::Ok);
    QVERIFY(box->text().isEmpty());
    QCOMPARE(config.CfgData[3], quint8(0));
}

void TestBindings::trackCharBox() {
    Config config;
    config.CfgData = Config::BuiltInDefaults();
    Host host;
    SingleCharBox* box = host.add(new SingleCharBox(
        config, nullptr, SettingOf("mag.misc.track2.end_char"), QStringLiteral("txtChar(3)")));
    host.show();
    box->showFrom(Source::Data);
    QCOMPARE(box->text(), QStringLiteral("?"));
    box->clear(); // an emptied box leaves the byte alone
    QCOMPARE(config.CfgData[80], quint8('?'));
    QTest::keyClicks(box, QStringLiteral("AB"));
    QCOMPARE(box->text(), QStringLiteral("A"));
    QCOMPARE(config.CfgData[80], quint8('A'));
    config.CfgDefault = Config::BuiltInDefaults();
    box->showFrom(Source::Default);
    QCOMPARE(config.CfgData[80], quint8('?'));
}

void TestBindings::boxesKeepOutWhatCannotBeStored() {
    Config config;
    config.CfgData = Config::BuiltInDefaults();
    Host host;
    HeaderBox* header =
        host.add(new HeaderBox(config, &Config::UserName, QStringLiteral("txtUserName")));
    InsertionBox* insertion = host.add(new InsertionBox(config, 8, 4, QStringLiteral("txt694")));
    host.show();
    header->insert(QString::fromUtf8("a\r\nb\u20acc"));
    QCOMPARE(header->text(), QStringLiteral("abc"));
    QCOMPARE(config.UserName, QStringLiteral("abc"));
    insertion->insert(QString::fromUtf8("\u20acA\u4e2dB"));
    QCOMPARE(insertion->text(), QStringLiteral("AB"));
    QCOMPARE(config.CfgData[8], quint8('A'));
    QCOMPARE(config.CfgData[9], quint8('B'));
    QCOMPARE(config.CfgData[10], quint8(255));
}

void TestBindings::insertionBoxKeepsOut255_data() {
    QTest::addColumn<QString>("way");
    for (const char* way :
         {"typed", "pasted", "accessible value", "accessible insert", "accessible replace"})
        QTest::newRow(way) << QString::fromLatin1(way);
}

// "\u00ff" would be stored as 255, which ends the group: the box keeps it out however it comes,
// like a character without a single-byte code, and a name split by one is still read.
void TestBindings::insertionBoxKeepsOut255() {
    QFETCH(QString, way);
    Config config;
    config.CfgData = Config::BuiltInDefaults();
    Host host;
    InsertionBox* box = host.add(new InsertionBox(config, 29, 8, QStringLiteral("txt694")));
    host.show();
    box->setFocus();
    const QString text = QString::fromUtf8("A\u00ffB{C\u20acR}");
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(box);
    QVERIFY(a && a->editableTextInterface());
    if (way == QLatin1String("typed"))
        TypeKeys(box, text);
    else if (way == QLatin1String("pasted"))
        box->insert(text);
    else if (way == QLatin1String("accessible value"))
        a->setText(QAccessible::Value, text);
    else if (way == QLatin1String("accessible insert"))
        a->editableTextInterface()->insertText(0, text);
    else
        a->editableTextInterface()->replaceText(0, 0, text);
    QCOMPARE(box->text(), QStringLiteral("AB{CR}"));
    const Image& d = config.CfgData;
    QCOMPARE(std::vector<quint8>(d.begin() + 29, d.begin() + 37),
             (std::vector<quint8>{'A', 'B', 13, 255, 255, 255, 255, 255}));
}

void TestBindings::countCombo_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("count");
    QTest::newRow("one digit") << "7"
                               << "7" << 7;
    QTest::newRow("two digits up to 15") << "12"
                                         << "12" << 12;
    QTest::newRow("above 15 refused") << "16"
                                      << "1" << 1;
    QTest::newRow("three digits refused") << "100"
                                          << "10" << 10;
    QTest::newRow("letters refused") << "x5"
                                     << "5" << 5;
    QTest::newRow("leading blank") << " 3"
                                   << " 3" << 3;
}

void TestBindings::countCombo() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, count);
    Config config;
    config.CfgData[17] = 0xA5;
    Host host;
    CountCombo* front = host.add(
        new CountCombo(config, SettingOf("bar.misc.truncate_front"), QStringLiteral("front")));
    host.show();
    front->showFrom(Source::Data);
    QCOMPARE(front->currentText(), QStringLiteral(" 10"));
    QCOMPARE(config.CfgData[17], quint8(0xA5));
    front->clearEditText();
    QCOMPARE(config.CfgData[17], quint8(0x05)); // no digits: 0
    QTest::keyClicks(front, typed);
    QCOMPARE(front->currentText(), shown);
    QCOMPARE(config.CfgData[17], quint8(count << 4 | 0x05));
    // Choosing from the list.
    front->setCurrentIndex(9);
    QCOMPARE(config.CfgData[17], quint8(0x95));
}

void TestBindings::tabFrames() {
    TabFrames tabs(QStringLiteral("TabTest"), QStringLiteral("fraTest"));
    QGroupBox* f0 = tabs.addTab(QStringLiteral("&One"), QStringLiteral("first"));
    QGroupBox* f1 =
        tabs.addTab(QStringLiteral("&Two"), QStringLiteral("second"), QStringLiteral("Frame two"));
    QGroupBox* f2 = tabs.addTab(QStringLiteral("T&hree"), QStringLiteral("third"));
    tabs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tabs, GiveUpMsecs));
    QCOMPARE(f1->objectName(), QStringLiteral("fraTest(1)"));
    QCOMPARE(f1->title(), QStringLiteral("Frame two"));
    QCOMPARE(tabs.tabBar()->objectName(), QStringLiteral("TabTest"));
    QCOMPARE(tabs.tabBar()->tabToolTip(2), QStringLiteral("third"));
    QCOMPARE(tabs.CurrentFrame(), 0);
    QVERIFY(f0->isVisible() && !f1->isVisible() && !f2->isVisible());
    QTabBar* bar = tabs.tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    QCOMPARE(tabs.CurrentFrame(), 2);
    QVERIFY(!f0->isVisible() && !f1->isVisible() && f2->isVisible());
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    QCOMPARE(tabs.CurrentFrame(), 2);
    QVERIFY(f2->isVisible());
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    QCOMPARE(tabs.CurrentFrame(), 1);
    QVERIFY(!f0->isVisible() && f1->isVisible() && !f2->isVisible());
}

QTEST_MAIN(TestBindings)
#include "tst_bindings.moc"
