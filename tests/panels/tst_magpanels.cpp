// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What each magnetic reader panel does beyond its bit fields and captions: shared header
// strings, the card standard's enabling rule, the separator box, track switching of the prefix
// and suffix boxes, the start and end characters, and the Control Key dialog's target.

#include "magpaneltables.h"

#include "core/codepage.h"
#include "core/notation.h"
#include "notation/dlgctrl.h"
#include "support/waiting.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <span>

using namespace orv;
using namespace orv::test;

namespace {

using D = PanelDriver;

// The image with bytes first.. set to `bytes` and the rest of the n-byte group to 255.
Image WithGroup(Image img, int first, int n, const QList<int>& bytes) {
    for (int i = 0; i < n; ++i)
        img[first + i] = static_cast<quint8>(i < bytes.size() ? bytes[i] : 255);
    return img;
}

QString GroupText(const Image& img, int first) {
    return RenderInsertionGroup(std::span(img).subspan(first, 8));
}

// A driver whose main window is active, so that focus moves as it does for a user.
struct ActiveDriver : D {
    ActiveDriver() {
        f.window->activateWindow();
        if (!QTest::qWaitForWindowActive(f.window.get(), GiveUpMsecs))
            qFatal("main window not active");
    }
};

// Replaces the text of a box by typing, as the user would: click into it, select all, type.
// Characters beyond ASCII arrive as key events that carry the character, as from a keyboard
// layout that has it.
void Retype(const ChildWindow* w, QLineEdit* box, const QString& text) {
    D::Reveal(w, box);
    box->setFocus();
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    for (QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClicks(box, QString(c));
        } else {
            QTest::sendKeyEvent(QTest::Press, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

// The separator box: byte 84 when the panel opens, what the user does, byte 84 and the box's
// text afterwards, and the box's text when the panel opens again.
struct SeparatorCase {
    const char* name;
    int stored;
    QString action; // "pick" a list name, "down" arrow, "type" a text, "default" to a code
    QString argument;
    int byte;
    QString text;
    QString again;
};

} // namespace

Q_DECLARE_METATYPE(SeparatorCase)

class TestMagPanels : public QObject {
    Q_OBJECT
private slots:
    void headerStringsAreShared();
    void standardEnabling_data();
    void standardEnabling();
    void separator_data();
    void separator();
    void terminatorDefaultSevenStoresSix();
    void tracks_data();
    void tracks();
    void startAndEndCharacters();
    void controlKeys_data();
    void controlKeys();
};

void TestMagPanels::headerStringsAreShared() {
    D d;
    ChildWindow* w = d.open(QStringLiteral("magcfg3"));
    QLineEdit* user = Box(w, QStringLiteral("txtUserName"));
    QCOMPARE(user->text(), QStringLiteral("User's Name"));
    Retype(w, user, QStringLiteral("Card desk"));
    QCOMPARE(d.f.config.UserName, QStringLiteral("Card desk"));
    w = d.open(QStringLiteral("cfg3")); // closes magcfg3
    QCOMPARE(Box(w, QStringLiteral("txtUserName"))->text(), QStringLiteral("Card desk"));
    Retype(w, Box(w, QStringLiteral("txtDescription")), QStringLiteral("Typed in cfg3"));
    w = d.open(QStringLiteral("magcfg3"));
    QCOMPARE(Box(w, QStringLiteral("txtDescription"))->text(), QStringLiteral("Typed in cfg3"));
    QVERIFY(!d.f.config.HasUnsavedChanges());
}

void TestMagPanels::standardEnabling_data() {
    QTest::addColumn<int>("stored"); // byte 25 bit 0 when the panel opens
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("argument"); // the element clicked, or the default standard
    QTest::addColumn<bool>("iso");     // the standard afterwards
    QTest::newRow("opened on ISO") << 0 << "" << 0 << true;
    QTest::newRow("opened on JIS2") << 1 << "" << 0 << false;
    QTest::newRow("JIS2 clicked") << 0 << "click" << 1 << false;
    QTest::newRow("ISO clicked") << 1 << "click" << 0 << true;
    QTest::newRow("JIS2 clicked twice") << 1 << "click" << 1 << false;
    QTest::newRow("Set Default to JIS2") << 0 << "default" << 1 << false;
    QTest::newRow("Set Default to ISO") << 1 << "default" << 0 << true;
}

void TestMagPanels::standardEnabling() {
    QFETCH(int, stored);
    QFETCH(QString, action);
    QFETCH(int, argument);
    QFETCH(bool, iso);
    D d;
    QRandomGenerator rng(stored * 7 + argument + action.size());
    Image img = WritableMagImage(rng);
    SetField(img, 25, 0x01, stored);
    d.f.config.CfgData = img;
    // A default image that differs from the working one in the standard alone.
    d.f.config.CfgDefault = img;
    SetField(d.f.config.CfgDefault, 25, 0x01, argument);
    ChildWindow* w = d.open(QStringLiteral("magcfg4"));
    if (action == QLatin1String("click"))
        D::Click(w, QStringLiteral("OptISO(%1)").arg(argument));
    else if (action == QLatin1String("default"))
        D::Click(w, QStringLiteral("cmdDefault45"));
    D::Reveal(w, D::Find(w, QStringLiteral("OptISO(0)")));

    // Only the standard changed: the track, account number and separator keep their values.
    SetField(img, 25, 0x01, iso ? 0 : 1);
    QVERIFY(d.f.config.CfgData == img);
    QCOMPARE(D::Find<QRadioButton>(w, QStringLiteral("OptISO(1)"))->isChecked(), !iso);
    QStringList isoOnly{"fraCfg45A", "chkCfg45C", "cbo45D", "Label5", "Label6"};
    for (int i = 0; i < 16; ++i)
        isoOnly << Element(QStringLiteral("optCfg45A"), i);
    for (const QString& name : isoOnly)
        QVERIFY2(D::Find(w, name)->isEnabled() == iso, qPrintable(name));
    for (const char* name :
         {"chkCfg45B", "Label4", "Label1", "OptISO(0)", "OptISO(1)", "cmdDefault45"})
        QVERIFY2(D::Find(w, QString::fromLatin1(name))->isEnabled(), name);
}

void TestMagPanels::separator_data() {
    QTest::addColumn<SeparatorCase>("c");
    const QString e(QChar(0xE8));
    const QString y(QChar(0xFF));
    const QString euro = QString::fromUtf8("\u20ac");
    // clang-format off
    const SeparatorCase rows[] = {
        {"load CR", 13, "", "", 13, "CR", "CR"},
        {"load NUL", 0, "", "", 0, "NUL", "NUL"},
        {"load US", 31, "", "", 31, "US", "US"},
        {"load comma", 44, "", "", 44, ",", ","},
        {"load blank", 32, "", "", 32, " ", " "},
        {"load 232", 232, "", "", 232, e, e},
        {"load 255", 255, "", "", 255, y, y},
        {"pick US", 13, "pick", "US", 31, "US", "US"},
        {"pick NUL over a character", 44, "pick", "NUL", 0, "NUL", "NUL"},
        {"pick the shown entry", 13, "pick", "CR", 13, "CR", "CR"},
        {"arrow down", 13, "down", "", 14, "SO", "SO"},
        {"type comma", 13, "type", ",", 44, ",", ","},
        {"type a name", 44, "type", "CR", 67, "CR", "C"},
        {"type a name in lower case", 44, "type", "us", 117, "us", "u"},
        {"type 232", 13, "type", e, 232, e, e},
        {"type without a single-byte code", 13, "type", euro, 13, "", "CR"},
        {"type with a character before", 13, "type", euro + ",", 44, ",", ","},
        {"empty a character", 44, "type", "", 44, "", ","},
        {"empty a list entry", 27, "type", "", 27, "", "ESC"},
        {"Set Default to CR", 44, "default", "13", 13, "CR", "CR"},
        {"Set Default to comma", 13, "default", "44", 44, ",", ","},
    };
    // clang-format on
    for (const SeparatorCase& r : rows)
        QTest::newRow(r.name) << r;
}

void TestMagPanels::separator() {
    QFETCH(SeparatorCase, c);
    ActiveDriver d;
    QRandomGenerator rng(c.stored + c.byte);
    Image img = WritableMagImage(rng);
    SetField(img, 25, 0x01, 0); // ISO: the box is enabled
    img[84] = static_cast<quint8>(c.stored);
    d.f.config.CfgData = img;
    d.f.config.CfgDefault = img;
    ChildWindow* w = d.open(QStringLiteral("magcfg4"));
    auto* box = D::Find<QComboBox>(w, QStringLiteral("cbo45D"));
    D::Reveal(w, box);
    QCOMPARE(D::Find<QLabel>(w, QStringLiteral("Label6"))->buddy(), box);
    QCOMPARE(box->count(), ControlCount);
    for (int code = 0; code < ControlCount; ++code)
        QCOMPARE(box->itemText(code), ControlName(code));
    QVERIFY(box->isEditable());

    if (c.action == QLatin1String("pick")) {
        box->showPopup();
        QAbstractItemView* list = box->view();
        const QModelIndex entry = list->model()->index(box->findText(c.argument), 0);
        list->scrollTo(entry);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(entry).center());
    } else if (c.action == QLatin1String("down")) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Down);
    } else if (c.action == QLatin1String("type")) {
        Retype(w, box->lineEdit(), c.argument);
        // Ending the edit keeps typed text as typed, even when it spells a list name.
        QTest::keyClick(box, Qt::Key_Return);
        D::Find(w, QStringLiteral("cmdDefault45"))->setFocus();
        QTRY_VERIFY_WITH_TIMEOUT(!box->hasFocus(), GiveUpMsecs);
    } else if (c.action == QLatin1String("default")) {
        Retype(w, box->lineEdit(), QStringLiteral("x"));
        d.f.config.CfgDefault[84] = static_cast<quint8>(c.argument.toInt());
        D::Click(w, QStringLiteral("cmdDefault45"));
    }
    img[84] = static_cast<quint8>(c.byte);
    QVERIFY(d.f.config.CfgData == img);
    QCOMPARE(box->currentText(), c.text);
    if (c.byte < ControlCount && c.action != QLatin1String("type"))
        QCOMPARE(box->currentIndex(), c.byte);

    d.close(QStringLiteral("magcfg4"));
    w = d.open(QStringLiteral("magcfg4"));
    QCOMPARE(D::Find<QComboBox>(w, QStringLiteral("cbo45D"))->currentText(), c.again);
    QVERIFY(d.f.config.CfgData == img);
}

void TestMagPanels::terminatorDefaultSevenStoresSix() {
    D d;
    d.f.config.CfgDefault[27] = 0xE7; // parity None, terminator 7
    ChildWindow* w = d.open(QStringLiteral("magcfg4"));
    QCOMPARE(d.f.config.CfgData[27], quint8(0xE2));
    D::Click(w, QStringLiteral("cmdDefault43"));
    QVERIFY(D::Find<QRadioButton>(w, QStringLiteral("optCfg43A(6)"))->isChecked());
    QCOMPARE(d.f.config.CfgData[27], quint8(0xE6));
}

void TestMagPanels::tracks_data() {
    QTest::addColumn<int>("prefix"); // the tracks chosen in the two frames
    QTest::addColumn<int>("suffix");
    for (int p = 0; p < 3; ++p) {
        for (int s = 0; s < 3; ++s)
            QTest::addRow("prefix track %d, suffix track %d", p + 1, s + 1) << p << s;
    }
}

void TestMagPanels::tracks() {
    QFETCH(int, prefix);
    QFETCH(int, suffix);
    D d;
    QRandomGenerator rng(prefix * 3 + suffix);
    Image img = WritableMagImage(rng);
    ChildWindow* w = nullptr;
    QVERIFY(d.openWith(QStringLiteral("magcfg6"), img, &w));
    QLineEdit* pre = Box(w, QStringLiteral("txt694"));
    QLineEdit* suf = Box(w, QStringLiteral("txt693"));
    // Track 1 in both frames at load.
    QVERIFY(D::Find<QRadioButton>(w, QStringLiteral("Opt1Track(0)"))->isChecked());
    QVERIFY(D::Find<QRadioButton>(w, QStringLiteral("Opt2Track(0)"))->isChecked());
    QCOMPARE(pre->text(), GroupText(img, PrefixGroup(0)));
    QCOMPARE(suf->text(), GroupText(img, SuffixGroup(0)));

    // Each frame shows the group of its own track, and switching changes nothing.
    D::Click(w, Element(QStringLiteral("Opt1Track"), prefix));
    D::Click(w, Element(QStringLiteral("Opt2Track"), suffix));
    QCOMPARE(pre->text(), GroupText(img, PrefixGroup(prefix)));
    QCOMPARE(suf->text(), GroupText(img, SuffixGroup(suffix)));
    QVERIFY(d.f.config.CfgData == img);

    // "Clear All Insetion" and typing edit the shown track's group only.
    D::Click(w, QStringLiteral("cmd68_69"));
    QVERIFY(pre->text().isEmpty());
    img = WithGroup(img, PrefixGroup(prefix), 8, {});
    QVERIFY(d.f.config.CfgData == img);
    Retype(w, pre, QStringLiteral("{STX}"));
    img = WithGroup(img, PrefixGroup(prefix), 8, {2});
    QVERIFY(d.f.config.CfgData == img);

    D::Click(w, QStringLiteral("Command4"));
    QVERIFY(suf->text().isEmpty());
    img = WithGroup(img, SuffixGroup(suffix), 8, {});
    QVERIFY(d.f.config.CfgData == img);
    Retype(w, suf, QStringLiteral("0123456789")); // the first eight are stored
    QCOMPARE(suf->text(), QStringLiteral("0123456789"));
    img = WithGroup(img, SuffixGroup(suffix), 8, {'0', '1', '2', '3', '4', '5', '6', '7'});
    QVERIFY(d.f.config.CfgData == img);

    // Another prefix track leaves the suffix frame alone; coming back shows what was typed.
    const int other = (prefix + 1) % 3;
    D::Click(w, Element(QStringLiteral("Opt1Track"), other));
    QCOMPARE(pre->text(), GroupText(img, PrefixGroup(other)));
    QVERIFY(D::Find<QRadioButton>(w, Element(QStringLiteral("Opt2Track"), suffix))->isChecked());
    QCOMPARE(suf->text(), QStringLiteral("0123456789"));
    D::Click(w, Element(QStringLiteral("Opt1Track"), prefix));
    QCOMPARE(pre->text(), QStringLiteral("{STX}"));
    QVERIFY(d.f.config.CfgData == img);
}

void TestMagPanels::startAndEndCharacters() {
    D d;
    d.f.config.CfgData[79] = 9;   // a control character is shown and kept
    d.f.config.CfgData[82] = 200; // so is any other byte
    const Image before = d.f.config.CfgData;
    ChildWindow* w = d.open(QStringLiteral("magcfg6"));
    QCOMPARE(Box(w, QStringLiteral("txtChar(0)"))->text(), QStringLiteral("%"));
    QCOMPARE(Box(w, QStringLiteral("txtChar(2)"))->text(), QStringLiteral("\t"));
    QCOMPARE(Box(w, QStringLiteral("txtChar(5)"))->text(), QString(QChar(200)));
    QVERIFY(d.f.config.CfgData == before);

    // Two characters: the box keeps the first, which is stored; no message.
    Image expected = before;
    Retype(w, Box(w, QStringLiteral("txtChar(0)")), QStringLiteral("AB"));
    QCOMPARE(Box(w, QStringLiteral("txtChar(0)"))->text(), QStringLiteral("A"));
    expected[77] = 'A';
    QVERIFY(d.f.config.CfgData == expected);
    QVERIFY(d.f.dialogs.shown.isEmpty());
    // An emptied box keeps its byte; a character with no single-byte code is kept out.
    Retype(w, Box(w, QStringLiteral("txtChar(3)")), QString());
    QVERIFY(Box(w, QStringLiteral("txtChar(3)"))->text().isEmpty());
    Retype(w, Box(w, QStringLiteral("txtChar(4)")), QString::fromUtf8("\u20ac"));
    QVERIFY(d.f.config.CfgData == expected);
    Retype(w, Box(w, QStringLiteral("txtChar(1)")), QStringLiteral("*"));
    expected[78] = '*';
    QVERIFY(d.f.config.CfgData == expected);

    d.close(QStringLiteral("magcfg6"));
    w = d.open(QStringLiteral("magcfg6"));
    QCOMPARE(Box(w, QStringLiteral("txtChar(3)"))->text(), QStringLiteral("?"));
    QCOMPARE(Box(w, QStringLiteral("txtChar(4)"))->text(), QStringLiteral("+"));
    QVERIFY(d.f.config.CfgData == expected);

    // "Set All Default" restores bytes 77..82 only.
    D::Click(w, QStringLiteral("CmdDefault"));
    QCOMPARE(Bytes(d.f.config.CfgData, 77, 6), (QList<int>{37, 63, 59, 63, 43, 63}));
    const QStringList shown{"%", "?", ";", "?", "+", "?"};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(Box(w, Element(QStringLiteral("txtChar"), i))->text(), shown[i]);
    expected = before;
    for (int i = 77; i <= 82; ++i)
        expected[i] = d.f.config.CfgDefault[i];
    QVERIFY(d.f.config.CfgData == expected);
}

void TestMagPanels::controlKeys_data() {
    QTest::addColumn<QString>("command"); // how the panel is opened
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("magMode");
    QTest::addColumn<bool>("prefix");
    QTest::addColumn<int>("track"); // track chosen in the target's frame (the other frame: next)
    QTest::addColumn<int>("first"); // the group the dialog's key lands in
    QTest::addColumn<int>("size");
    QTest::newRow("bar prefix") << "mnuConfigMisc"
                                << "cfg6" << false << true << 0 << 8 << 4;
    QTest::newRow("bar suffix") << "mnuConfigMisc"
                                << "cfg6" << false << false << 0 << 12 << 4;
    for (int t = 0; t < 3; ++t) {
        QTest::addRow("magnetic prefix, track %d", t + 1)
            << "mnuMagMisc"
            << "magcfg6" << true << true << t << PrefixGroup(t) << 8;
        QTest::addRow("magnetic suffix, track %d", t + 1)
            << "mnuMagMisc"
            << "magcfg6" << true << false << t << SuffixGroup(t) << 8;
    }
    QTest::newRow("magnetic suffix after the mag button")
        << "Toolbar1_mag"
        << "magcfg6" << true << false << 1 << SuffixGroup(1) << 8;
}

void TestMagPanels::controlKeys() {
    QFETCH(QString, command);
    QFETCH(QString, window);
    QFETCH(bool, magMode);
    QFETCH(bool, prefix);
    QFETCH(int, track);
    QFETCH(int, first);
    QFETCH(int, size);
    ActiveDriver d;
    if (command == QLatin1String("Toolbar1_mag"))
        d.f.trigger("mnuConfigMisc"); // cfg6, whose counterpart the button opens
    d.f.trigger(qPrintable(command));
    ChildWindow* w = d.f.child(qPrintable(window));
    QVERIFY(w);
    QCOMPARE(d.f.config.MagMode, magMode);
    const QString target = prefix ? QStringLiteral("txt694") : QStringLiteral("txt693");
    if (magMode) {
        const QString own = prefix ? QStringLiteral("Opt1Track") : QStringLiteral("Opt2Track");
        const QString other = prefix ? QStringLiteral("Opt2Track") : QStringLiteral("Opt1Track");
        D::Click(w, Element(own, track));
        D::Click(w, Element(other, (track + 1) % 3));
    }
    QLineEdit* box = Box(w, target);
    Retype(w, box, QStringLiteral("AB"));
    box->setCursorPosition(1);
    const Image before = d.f.config.CfgData;

    QString seen;
    QLineEdit* served = nullptr;
    QTimer::singleShot(0, [&seen, &served] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        seen = dialog->objectName();
        if (auto* keys = qobject_cast<DlgCtrl*>(dialog))
            served = keys->targetBox();
        QTest::mouseClick(D::Find<QPushButton>(dialog, QStringLiteral("btnCtrl(13)")),
                          Qt::LeftButton);
        QTest::mouseClick(D::Find<QPushButton>(dialog, QStringLiteral("Command1")), Qt::LeftButton);
        QTest::mouseClick(D::Find<QPushButton>(dialog, QStringLiteral("Command2")), Qt::LeftButton);
    });
    D::Click(w, prefix ? QStringLiteral("Command3") : QStringLiteral("Command2"));
    QCOMPARE(seen, QStringLiteral("DlgCtrl"));
    QCOMPARE(served, box); // the panel gives the dialog the box whose button was clicked
    QCOMPARE(box->text(), QStringLiteral("A{CR}B"));
    QVERIFY(d.f.config.CfgData == WithGroup(before, first, size, {'A', 13, 'B'}));
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), box, GiveUpMsecs);
}

QTEST_MAIN(TestMagPanels)
#include "tst_magpanels.moc"
