// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What each bar decoder panel does beyond its bit fields and captions: header strings,
// "Clear All" buttons, identifier and truncation boxes, prefix and suffix boxes with the Control
// Key dialog, and panels closed by New and Open.

#include "barpaneltables.h"

#include "core/cfgformat.h"
#include "notation/dlgctrl.h"
#include "support/waiting.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace orv;
using namespace orv::test;

namespace {

using D = PanelDriver;

// Types into a box as the user would: click into it, then the keys.
void Type(const ChildWindow* w, QLineEdit* box, const QString& text) {
    D::Reveal(w, box);
    box->setFocus();
    QTest::keyClicks(box, text);
}

} // namespace

class TestBarPanels : public QObject {
    Q_OBJECT
private slots:
    void headerStringsAreEditedLive();
    void readMemoryFollowsSetDefaultOnly();
    void clearAllBarcodes();
    void identifierBoxes();
    void truncation();
    void prefixAndSuffix();
    void controlKeys_data();
    void controlKeys();
    void newAndOpenClosePanels_data();
    void newAndOpenClosePanels();
};

void TestBarPanels::headerStringsAreEditedLive() {
    D d;
    ChildWindow* w = d.open(QStringLiteral("cfg3"));
    const char* boxes[4][2] = {{"txtDeviceName", "Device Name: "},
                               {"txtUserName", "User's Name: "},
                               {"txtDate", "Building Date:"},
                               {"txtDescription", "Description:"}};
    for (const auto& [name, label] : boxes) {
        QLineEdit* box = Box(w, QString::fromLatin1(name));
        bool labelled = false;
        for (QLabel* l : w->findChildren<QLabel*>())
            labelled |= l->buddy() == box && l->text() == QLatin1String(label);
        QVERIFY2(labelled, name);
    }
    QLineEdit* device = Box(w, QStringLiteral("txtDeviceName"));
    QCOMPARE(device->text(), QStringLiteral("Device Name"));
    device->selectAll();
    Type(w, device, QStringLiteral("Scanner 7"));
    QCOMPARE(d.f.config.DeviceName, QStringLiteral("Scanner 7"));
    // Line breaks and characters the file cannot store stay out.
    Box(w, QStringLiteral("txtDescription"))->insert(QString::fromUtf8("\r\nline\u2028\u20ac"));
    QCOMPARE(d.f.config.Description,
             QStringLiteral("Your description about this configuration fileline"));
    QVERIFY(!d.f.config.HasUnsavedChanges());
    d.close(QStringLiteral("cfg3"));
    w = d.open(QStringLiteral("cfg3"));
    QCOMPARE(Box(w, QStringLiteral("txtDeviceName"))->text(), QStringLiteral("Scanner 7"));
}

void TestBarPanels::readMemoryFollowsSetDefaultOnly() {
    D d;
    d.f.config.CfgData[24] = 0xFE;
    d.f.config.CfgDefault[24] = 0x01;
    ChildWindow* w = d.open(QStringLiteral("cfg3"));
    auto* read = D::Find<QCheckBox>(w, QStringLiteral("ChkRead"));
    QVERIFY(!read->isChecked());
    D::Click(w, QStringLiteral("ChkRead"));
    QCOMPARE(d.f.config.CfgData[24], quint8(0xFE));
    D::Click(w, QStringLiteral("cmdDefault31_2"));
    QVERIFY(read->isChecked());
    QCOMPARE(d.f.config.CfgData[24], quint8(0xFF));
}

void TestBarPanels::clearAllBarcodes() {
    D d;
    ChildWindow* w = d.open(QStringLiteral("cfg5"));
    const Image before = d.f.config.CfgData;
    QCOMPARE(before[21], quint8(0xFF));
    D::Click(w, QStringLiteral("Command1"));
    Image expected = before;
    expected[21] = 0;
    QVERIFY(d.f.config.CfgData == expected);
    for (int i = 0; i < 8; ++i)
        QVERIFY(!D::Find<QCheckBox>(w, QStringLiteral("chk51(%1)").arg(i))->isChecked());
    D::Click(w, QStringLiteral("cmdSetAll"));
    QVERIFY(d.f.config.CfgData == before);
}

void TestBarPanels::identifierBoxes() {
    D d;
    d.f.config.CfgData[4] = 9; // a control character: shown, then stored as 0
    d.f.config.CfgData[5] = 0; // none: an empty box
    d.f.config.CfgData[22] |= 0x04;
    ChildWindow* w = d.open(QStringLiteral("cfg6"));
    QCOMPARE(Box(w, QStringLiteral("txt62(4)"))->text(), QStringLiteral("\t"));
    QCOMPARE(d.f.config.CfgData[4], quint8(0));
    QCOMPARE(Box(w, QStringLiteral("txt62(5)"))->text(), QString());
    QCOMPARE(Box(w, QStringLiteral("txt62(0)"))->text(), QStringLiteral("A"));

    QLineEdit* upcA = Box(w, QStringLiteral("txt62(0)"));
    upcA->selectAll();
    Type(w, upcA, QStringLiteral("Z"));
    QCOMPARE(d.f.config.CfgData[0], quint8('Z'));
    QVERIFY(d.f.dialogs.shown.isEmpty());
    QTest::keyClicks(upcA, QStringLiteral("B"));
    QCOMPARE(d.f.dialogs.texts(), QStringList{QStringLiteral("Allow only one character.")});
    QCOMPARE(d.f.dialogs.last().title, QStringLiteral("Decoder Configuration Setup"));
    QVERIFY(upcA->text().isEmpty());
    QCOMPARE(d.f.config.CfgData[0], quint8(0));

    D::Click(w, QStringLiteral("cmdDefault62"));
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(Box(w, QStringLiteral("txt62(%1)").arg(i))->text(), QString(QChar(u'A' + i)));
        QCOMPARE(d.f.config.CfgData[i], quint8('A' + i));
    }
    QVERIFY(!D::Find<QCheckBox>(w, QStringLiteral("chk62"))->isChecked());
    QCOMPARE(d.f.config.CfgData[22], quint8(0x22));
}

void TestBarPanels::truncation() {
    D d;
    ChildWindow* w = d.open(QStringLiteral("cfg6"));
    auto* front = D::Find<QComboBox>(w, QStringLiteral("cboTruncate1"));
    auto* end = D::Find<QComboBox>(w, QStringLiteral("CboTruncate2"));
    QCOMPARE(front->count(), 10);
    QCOMPARE(front->itemText(9), QStringLiteral("9"));
    QCOMPARE(front->currentText(), QStringLiteral(" 0"));
    D::Reveal(w, front);
    front->lineEdit()->selectAll();
    QTest::keyClicks(front, QStringLiteral("3"));
    end->lineEdit()->selectAll();
    QTest::keyClicks(end, QStringLiteral("5"));
    QCOMPARE(d.f.config.CfgData[17], quint8(0x35));
    // Choosing from the list.
    end->showPopup();
    QAbstractItemView* list = end->view();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(6, 0)).center());
    QCOMPARE(end->currentText(), QStringLiteral("6"));
    QCOMPARE(d.f.config.CfgData[17], quint8(0x36));
    d.close(QStringLiteral("cfg6"));
    w = d.open(QStringLiteral("cfg6"));
    front = D::Find<QComboBox>(w, QStringLiteral("cboTruncate1"));
    QCOMPARE(front->currentText(), QStringLiteral(" 3"));
    QCOMPARE(d.f.config.CfgData[17], quint8(0x36));
    // The arrow keys step on from the count shown.
    D::Reveal(w, front);
    QTest::keyClick(front, Qt::Key_Down);
    QCOMPARE(front->currentText(), QStringLiteral("4"));
    QCOMPARE(d.f.config.CfgData[17], quint8(0x46));
    D::Click(w, QStringLiteral("Command1"));
    QCOMPARE(d.f.config.CfgData[17], quint8(0x00));
    QCOMPARE(D::Find<QComboBox>(w, QStringLiteral("CboTruncate2"))->currentText(),
             QStringLiteral("0"));
}

void TestBarPanels::prefixAndSuffix() {
    D d;
    const QList<int> prefixBytes{123, 67, 82, 125};
    for (int i = 0; i < 4; ++i)
        d.f.config.CfgData[8 + i] = static_cast<quint8>(prefixBytes[i]);
    ChildWindow* w = d.open(QStringLiteral("cfg6"));
    // "{", "C", "R", "}" read as the token {CR}, and loading stores it as such.
    QCOMPARE(Box(w, QStringLiteral("txt694"))->text(), QStringLiteral("{CR}"));
    QCOMPARE(Bytes(d.f.config.CfgData, 8, 4), (QList<int>{13, 255, 255, 255}));

    QLineEdit* suffix = Box(w, QStringLiteral("txt693"));
    Type(w, suffix, QStringLiteral("{STX}AB{ETX}"));
    QCOMPARE(Bytes(d.f.config.CfgData, 12, 4), (QList<int>{2, 65, 66, 3}));
    suffix->clear();
    Type(w, suffix, QStringLiteral("ABCDEF"));
    QCOMPARE(suffix->text(), QStringLiteral("ABCDEF"));
    QCOMPARE(Bytes(d.f.config.CfgData, 12, 4), (QList<int>{65, 66, 67, 68}));

    const Image before = d.f.config.CfgData;
    D::Click(w, QStringLiteral("cmd68_69"));
    QVERIFY(Box(w, QStringLiteral("txt694"))->text().isEmpty());
    Image expected = before;
    for (int i = 8; i < 12; ++i)
        expected[i] = 255;
    QVERIFY(d.f.config.CfgData == expected);
    D::Click(w, QStringLiteral("Command4"));
    for (int i = 12; i < 16; ++i)
        expected[i] = 255;
    QVERIFY(d.f.config.CfgData == expected);
    QVERIFY(suffix->text().isEmpty());
}

void TestBarPanels::controlKeys_data() {
    QTest::addColumn<bool>("prefix");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");  // caret, or start of the selection
    QTest::addColumn<int>("length"); // selection length
    QTest::addColumn<QString>("result");
    QTest::addColumn<QList<int>>("bytes");
    QTest::newRow("prefix at the caret")
        << true << "AB" << 1 << 0 << "A{CR}{LF}B" << QList<int>{65, 13, 10, 66};
    QTest::newRow("prefix over a selection")
        << true << "ABCD" << 1 << 2 << "A{CR}{LF}D" << QList<int>{65, 13, 10, 68};
    QTest::newRow("suffix at the caret")
        << false << "AB" << 2 << 0 << "AB{CR}{LF}" << QList<int>{65, 66, 13, 10};
    QTest::newRow("suffix over a selection")
        << false << "XYZ" << 0 << 3 << "{CR}{LF}" << QList<int>{13, 10, 255, 255};
}

void TestBarPanels::controlKeys() {
    QFETCH(bool, prefix);
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, result);
    QFETCH(QList<int>, bytes);
    D d;
    // An active window, so that focus moves as it does for a user.
    d.f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(d.f.window.get(), GiveUpMsecs));
    ChildWindow* w = d.open(QStringLiteral("cfg6"));
    QLineEdit* box = Box(w, prefix ? QStringLiteral("txt694") : QStringLiteral("txt693"));
    QLineEdit* other = Box(w, prefix ? QStringLiteral("txt693") : QStringLiteral("txt694"));
    Type(w, box, text);
    if (length)
        box->setSelection(start, length);
    else
        box->setCursorPosition(start);

    // The dialog is modal: drive it once it is up, inserting two keys one after the other.
    QString seen;
    QLineEdit* served = nullptr;
    QTimer::singleShot(0, [&seen, &served] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        seen = dialog->objectName();
        if (auto* keys = qobject_cast<DlgCtrl*>(dialog))
            served = keys->targetBox();
        for (int code : {13, 10}) {
            QTest::mouseClick(D::Find<QPushButton>(dialog, QStringLiteral("btnCtrl(%1)").arg(code)),
                              Qt::LeftButton);
            QTest::mouseClick(D::Find<QPushButton>(dialog, QStringLiteral("Command1")),
                              Qt::LeftButton);
        }
        QTest::mouseClick(D::Find<QPushButton>(dialog, QStringLiteral("Command2")), Qt::LeftButton);
    });
    D::Click(w, prefix ? QStringLiteral("Command3") : QStringLiteral("Command2"));
    QCOMPARE(seen, QStringLiteral("DlgCtrl"));
    QCOMPARE(served, box); // the panel gives the dialog the box whose button was clicked
    QCOMPARE(box->text(), result);
    QVERIFY(other->text().isEmpty());
    QCOMPARE(Bytes(d.f.config.CfgData, prefix ? 8 : 12, 4), bytes);
    QCOMPARE(Bytes(d.f.config.CfgData, prefix ? 12 : 8, 4), (QList<int>{255, 255, 255, 255}));
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), box, GiveUpMsecs);
}

void TestBarPanels::newAndOpenClosePanels_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("command");
    for (const char* w : {"cfg3", "cfg4", "cfg5", "cfg6"}) {
        QTest::addRow("%s New", w) << w << "mnuFileNew";
        QTest::addRow("%s Open", w) << w << "mnuFileOpen";
    }
}

void TestBarPanels::newAndOpenClosePanels() {
    QFETCH(QString, window);
    QFETCH(QString, command);
    D d;
    // A file whose bar decoder bytes all differ from the defaults' fields.
    CfgContents file = ContentsOf(d.f.config);
    file.data[16] = 0x93; // Japanese, 19200, PC/XT
    file.data[21] = 0x0F;
    file.data[22] = 0x7D;
    const QString path = d.f.dir.filePath(QStringLiteral("other.cfg"));
    AppFixture::WriteFile(path, *WriteCfgFile(file));
    d.f.dialogs.openResults << path;

    d.open(window);
    const char* item = OpenCommand(window);
    QVERIFY(d.f.action(item)->isChecked());
    QVERIFY(!d.f.action("mnuConfigDefault")->isEnabled());
    d.f.trigger(qPrintable(command));
    QVERIFY(d.f.openChildren().isEmpty());
    QCOMPARE(d.f.config.ActivePanel, qint16(0));
    QVERIFY(!d.f.action(item)->isChecked());
    QVERIFY(d.f.action("mnuConfigDefault")->isEnabled());
    // Opened again, the panel shows the new image and leaves it as it is.
    const Image now = d.f.config.CfgData;
    QCOMPARE(now[16] == 0x93, command == QLatin1String("mnuFileOpen"));
    d.open(window);
    QVERIFY(d.f.config.CfgData == now);
    QVERIFY(!d.f.config.HasUnsavedChanges());
}

QTEST_MAIN(TestBarPanels)
#include "tst_barpanels.moc"
