// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "notation/dlgctrl.h"

#include "core/notation.h"
#include "support/waiting.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

using namespace orv;
using orv::test::GiveUpMsecs;

namespace {

// Stands in for a miscellaneous panel: a window with the prefix and suffix boxes.
struct FakePanel {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QLineEdit* prefix = new QLineEdit;
    QLineEdit* suffix = new QLineEdit;

    explicit FakePanel(const char* name) {
        window->setObjectName(QString::fromLatin1(name));
        prefix->setObjectName(QStringLiteral("txt694"));
        suffix->setObjectName(QStringLiteral("txt693"));
        auto* v = new QVBoxLayout(window.get());
        v->addWidget(prefix);
        v->addWidget(suffix);
        window->show();
    }
};

QPushButton* Button(const QWidget* dialog, const QString& name) {
    auto* b = dialog->findChild<QPushButton*>(name);
    if (!b)
        qFatal("no button %s", qPrintable(name));
    return b;
}

void ClickKey(const QWidget* dialog, int code) {
    QTest::mouseClick(Button(dialog, QStringLiteral("btnCtrl(%1)").arg(code)), Qt::LeftButton);
}

void ClickInsert(const QWidget* dialog) {
    QTest::mouseClick(Button(dialog, QStringLiteral("Command1")), Qt::LeftButton);
}

} // namespace

class TestDlgCtrl : public QObject {
    Q_OBJECT
private slots:
    void layout();
    void insertsIntoTheTarget_data();
    void insertsIntoTheTarget();
    void replacesTheSelection();
    void typedNameAndEmptyBox();
    void exitGivesTheFocusToTheTarget();
    void targetGone();
};

void TestDlgCtrl::layout() {
    DlgCtrl dialog(nullptr);
    QCOMPARE(dialog.objectName(), QStringLiteral("DlgCtrl"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Control Key"));
    for (int i = 0; i < ControlCount; ++i) {
        QPushButton* b = Button(&dialog, QStringLiteral("btnCtrl(%1)").arg(i));
        QCOMPARE(b->text(), ControlName(i));
        QCOMPARE(b->isEnabled(), i != 0);
    }
    QCOMPARE(Button(&dialog, QStringLiteral("Command1"))->text(),
             QStringLiteral("Insert Control Key"));
    QCOMPARE(Button(&dialog, QStringLiteral("Command2"))->text(), QStringLiteral("Exit"));
    QVERIFY(dialog.findChild<QLineEdit*>(QStringLiteral("txtCtrl")));
}

void TestDlgCtrl::insertsIntoTheTarget_data() {
    QTest::addColumn<bool>("magMode");
    QTest::addColumn<bool>("toPrefix");
    QTest::newRow("bar prefix") << false << true;
    QTest::newRow("bar suffix") << false << false;
    QTest::newRow("magnetic prefix") << true << true;
    QTest::newRow("magnetic suffix") << true << false;
}

void TestDlgCtrl::insertsIntoTheTarget() {
    QFETCH(bool, magMode);
    QFETCH(bool, toPrefix);
    FakePanel bar("cfg6");
    FakePanel mag("magcfg6");
    const QList<QLineEdit*> boxes{bar.prefix, bar.suffix, mag.prefix, mag.suffix};
    for (QLineEdit* box : boxes)
        box->setText(QStringLiteral("AB"));
    QLineEdit* target =
        magMode ? (toPrefix ? mag.prefix : mag.suffix) : (toPrefix ? bar.prefix : bar.suffix);
    target->setCursorPosition(1);

    DlgCtrl dialog(target);
    dialog.show();
    QCOMPARE(dialog.targetBox(), target);
    auto* txtCtrl = dialog.findChild<QLineEdit*>(QStringLiteral("txtCtrl"));

    ClickKey(&dialog, 13);
    QCOMPARE(txtCtrl->text(), QStringLiteral("CR"));
    ClickInsert(&dialog);
    QCOMPARE(target->text(), QStringLiteral("A{CR}B"));
    QVERIFY(txtCtrl->text().isEmpty());
    QVERIFY(dialog.isVisible());
    // The next key follows the first one.
    ClickKey(&dialog, 10);
    ClickInsert(&dialog);
    QCOMPARE(target->text(), QStringLiteral("A{CR}{LF}B"));
    for (QLineEdit* box : boxes) {
        if (box != target)
            QCOMPARE(box->text(), QStringLiteral("AB"));
    }
}

void TestDlgCtrl::replacesTheSelection() {
    FakePanel bar("cfg6");
    bar.suffix->setText(QStringLiteral("ABCD"));
    bar.suffix->setSelection(1, 2);
    DlgCtrl dialog(bar.suffix);
    dialog.show();
    ClickKey(&dialog, 27);
    ClickInsert(&dialog);
    QCOMPARE(bar.suffix->text(), QStringLiteral("A{ESC}D"));
    QCOMPARE(bar.suffix->cursorPosition(), 6);
}

void TestDlgCtrl::typedNameAndEmptyBox() {
    FakePanel bar("cfg6");
    DlgCtrl dialog(bar.prefix);
    dialog.show();
    ClickInsert(&dialog); // nothing to insert
    QCOMPARE(bar.prefix->text(), QString());
    auto* txtCtrl = dialog.findChild<QLineEdit*>(QStringLiteral("txtCtrl"));
    QTest::keyClicks(txtCtrl, QStringLiteral("nul"));
    ClickInsert(&dialog);
    QCOMPARE(bar.prefix->text(), QStringLiteral("{nul}"));
}

void TestDlgCtrl::exitGivesTheFocusToTheTarget() {
    FakePanel bar("cfg6");
    DlgCtrl dialog(bar.suffix, bar.window.get());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog, GiveUpMsecs));
    QTest::mouseClick(Button(&dialog, QStringLiteral("Command2")), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), bar.suffix, GiveUpMsecs);
}

void TestDlgCtrl::targetGone() {
    // The panel's box goes away while the dialog is open: the keys go nowhere, and Exit still
    // closes the dialog.
    auto bar = std::make_unique<FakePanel>("cfg6");
    DlgCtrl dialog(bar->prefix);
    dialog.show();
    bar.reset();
    QCOMPARE(dialog.targetBox(), nullptr);
    ClickKey(&dialog, 13);
    ClickInsert(&dialog);
    QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("txtCtrl"))->text(), QStringLiteral("CR"));
    QTest::mouseClick(Button(&dialog, QStringLiteral("Command2")), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestDlgCtrl)
#include "tst_dlgctrl.moc"
