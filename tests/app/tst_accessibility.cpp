// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Every window through the accessibility interfaces, as a screen reader uses it: a control's
// Toggle action does what a click does, and every frame is announced by its own title. The
// tables are built by walking the windows' widgets, so a new control or frame is covered too.

#include "appfixture.h"
#include "support/linesettings.h"

#include "app/windowregistry.h"
#include "notation/dlgctrl.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QToolBar>

#include <functional>

using namespace orv;
using namespace orv::test;

namespace {

// Every window of the program, by object name. "MDImain" stands for the main window's own
// controls (its toolbar), with the bar decoder's Interface panel open.
const char* const Windows[] = {"MDImain",       "cfg3",    "cfg4",    "cfg5",        "cfg6",
                               "magcfg3",       "magcfg4", "magcfg6", "frmTransmit", "frmISP",
                               "frmReadMemory", "DDT",     "DlgCtrl", "frmAbout"};

// The first prefix group of the magnetic reader (track 1) and the distance between tracks.
constexpr int MagPrefix = 29;
constexpr int TrackStride = 16;

// The program started with test doubles, and one window open.
struct Rig : AppFixture {
    QWidget* root = nullptr;

    explicit Rig(const QString& name) {
        start();
        // Every insertion group of the magnetic reader holds letters of its own, so the box shows
        // which group it edits.
        for (int i = MagPrefix; i < MagPrefix + 3 * TrackStride; ++i)
            config.CfgData[i] = static_cast<quint8>('A' + i % 26);
        // RS232, so that every option of the link windows is available.
        config.LinkMode = 1;
        root = open(name);
        if (!root)
            qFatal("cannot open %s", qPrintable(name));
    }

    QWidget* open(const QString& name) {
        if (name == QLatin1String("MDImain")) {
            trigger("mnuConfigInterface");
            return window.get();
        }
        // A child window opens by its menu item, as its row in the registry names it.
        for (const WindowRow& row : WindowRegistry()) {
            if (name != QLatin1String(row.info.objectName))
                continue;
            if (row.info.number == PanelReadMemory)
                window->mnuToolsRDM_Click(); // its menu item is greyed out
            else
                trigger(row.info.menuItem);
            return child(row.info.objectName);
        }
        QWidget* dialog = nullptr;
        if (name == QLatin1String("DDT")) {
            // Modal in the program; shown modeless here so that the test goes on.
            WindowFactory factory(config, Services{dialogs, launcher, port, *serialPorts});
            dialog = factory.createTestWindow(window.get());
        } else if (name == QLatin1String("DlgCtrl")) {
            dialog = new DlgCtrl(nullptr, window.get());
        } else if (name == QLatin1String("frmAbout")) {
            trigger("mnuHelpAbout");
            return window->findChild<QWidget*>(QStringLiteral("frmAbout"));
        }
        if (dialog)
            dialog->show();
        return dialog;
    }

    // Where the window's own controls are.
    QWidget* scope() const {
        return root == window.get() ? static_cast<QWidget*>(window->toolbar()) : root;
    }
};

// Controls of Qt's own making (a toolbar's extension button) are not the program's.
bool IsOwnControl(const QObject* o) {
    return !o->objectName().isEmpty() && !o->objectName().startsWith(QLatin1String("qt_"));
}

// The n-th widget of that name and type in the window.
template <typename W> W* Find(const Rig& rig, const QString& name, int occurrence) {
    const QList<W*> all = rig.scope()->findChildren<W*>(name);
    return occurrence < all.size() ? all.at(occurrence) : nullptr;
}

// Rows "window/name" (with "#n" for a name that occurs more than once).
template <typename W>
void AddRows(const std::function<void(const QString& window, const QString& row, W* w,
                                      int occurrence)>& add) {
    for (const char* name : Windows) {
        Rig rig(QString::fromLatin1(name));
        QHash<QString, int> seen;
        for (W* w : rig.scope()->findChildren<W*>()) {
            if (!IsOwnControl(w))
                continue;
            const int occurrence = seen[w->objectName()]++;
            QString row = QString::fromLatin1(name) + QLatin1Char('/') + w->objectName();
            if (occurrence > 0)
                row += QStringLiteral("#%1").arg(occurrence);
            add(QString::fromLatin1(name), row, w, occurrence);
        }
    }
}

QAccessibleActionInterface* Actions(QObject* control) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(control);
    return iface ? iface->actionInterface() : nullptr;
}

// What a screen reader does to check or clear a control.
bool AccessibleToggle(QObject* control) {
    QAccessibleActionInterface* actions = Actions(control);
    if (!actions || !actions->actionNames().contains(QAccessibleActionInterface::toggleAction()))
        return false;
    actions->doAction(QAccessibleActionInterface::toggleAction());
    return true;
}

enum class How { Click, Toggle };

void Act(QAbstractButton* b, How how) {
    if (how == How::Click)
        b->click();
    else
        QVERIFY2(AccessibleToggle(b), qPrintable(b->objectName() + " has no Toggle action"));
}

// Everything a choice can change: the shared state, the open windows, the messages shown, and
// what every widget of the program shows.
QStringList State(const Rig& rig) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const Config& c = rig.config;
    QStringList s;
    s << QByteArray(reinterpret_cast<const char*>(c.CfgData.data()), ImageSize).toHex();
    s << QStringLiteral("link %1, Com %2, %3 %4, save %5, mag %6, active %7")
             .arg(c.LinkMode)
             .arg(c.ComPort)
             .arg(BaudOf(c.LineSettings), FormatOf(c.LineSettings))
             .arg(c.SaveOption)
             .arg(c.MagMode)
             .arg(c.ActivePanel);
    s << QStringLiteral("open: ") + rig.openChildren().join(QLatin1Char(','));
    s << QStringLiteral("messages: ") + rig.dialogs.texts().join(QLatin1Char('|'));
    for (const QAction* a : rig.window->findChildren<QAction*>()) {
        if (!a->objectName().isEmpty())
            s << QStringLiteral("%1 checked %2 enabled %3")
                     .arg(a->objectName())
                     .arg(a->isChecked())
                     .arg(a->isEnabled());
    }
    const QList<QWidget*> widgets = rig.window->findChildren<QWidget*>();
    for (qsizetype i = 0; i < widgets.size(); ++i) {
        const QWidget* w = widgets[i];
        QString d = QStringLiteral("%1 %2 %3 enabled %4 shown %5")
                        .arg(i)
                        .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName())
                        .arg(w->isEnabled())
                        .arg(w->isVisibleTo(w->window()));
        if (const auto* b = qobject_cast<const QAbstractButton*>(w))
            d += QStringLiteral(" checked %1").arg(b->isChecked());
        else if (const auto* e = qobject_cast<const QLineEdit*>(w))
            d += QStringLiteral(" text ") + e->text();
        else if (const auto* p = qobject_cast<const QPlainTextEdit*>(w))
            d += QStringLiteral(" text ") + p->toPlainText();
        else if (const auto* cb = qobject_cast<const QComboBox*>(w))
            d += QStringLiteral(" text ") + cb->currentText();
        else if (const auto* l = qobject_cast<const QLabel*>(w))
            d += QStringLiteral(" text ") + l->text();
        else if (const auto* sb = qobject_cast<const QAbstractSpinBox*>(w))
            d += QStringLiteral(" text ") + sb->text();
        else if (const auto* t = qobject_cast<const QTabBar*>(w))
            d += QStringLiteral(" tab %1").arg(t->currentIndex());
        s << d;
    }
    return s;
}

void CompareStates(const QStringList& clicked, const QStringList& toggled, const char* when) {
    QCOMPARE(toggled.size(), clicked.size());
    for (qsizetype i = 0; i < clicked.size(); ++i) {
        if (toggled[i] != clicked[i]) {
            QFAIL(qPrintable(QStringLiteral("%1: a click gives \"%2\", the Toggle action \"%3\"")
                                 .arg(QLatin1String(when), clicked[i], toggled[i])));
        }
    }
}

// An option already selected cannot be toggled on: another option of its group is selected
// first, in both windows alike.
void SelectAnother(QAbstractButton* b) {
    if (!b->isChecked() || !b->group() || !b->group()->exclusive())
        return;
    for (QAbstractButton* other : b->group()->buttons()) {
        if (other != b && other->isEnabled()) {
            other->click();
            return;
        }
    }
}

// The spoken form of a title: an access-key "&" is not read.
QString Spoken(QString title) {
    title.replace(QLatin1String("&&"), QLatin1String("\x01"));
    title.remove(QLatin1Char('&'));
    title.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return title;
}

using Effect = std::function<void(Rig&)>;

} // namespace

Q_DECLARE_METATYPE(Effect)

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void toggleDoesWhatClickDoes_data();
    void toggleDoesWhatClickDoes();
    void toggleTakesEffect_data();
    void toggleTakesEffect();
    void oneRunPerChoice_data();
    void oneRunPerChoice();
    void syncingModeButtonDoesNotSwitch();
    void framesAnnouncedByOwnTitle_data();
    void framesAnnouncedByOwnTitle();
};

void TestAccessibility::toggleDoesWhatClickDoes_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("occurrence");
    int rows = 0;
    AddRows<QAbstractButton>(
        [&rows](const QString& window, const QString& row, QAbstractButton* b, int occurrence) {
            // A control disabled for good (a shown but unavailable check box) takes neither.
            if (!b->isCheckable() || !b->isEnabled())
                return;
            QTest::newRow(qPrintable(row)) << window << b->objectName() << occurrence;
            ++rows;
        });
    // The walk finds the option groups of the panels and the link windows, the track choice,
    // the check boxes and the toolbar's "mag" button.
    QVERIFY2(rows > 200, qPrintable(QString::number(rows)));
}

void TestAccessibility::toggleDoesWhatClickDoes() {
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(int, occurrence);
    Rig clicked(window);
    Rig toggled(window);
    QAbstractButton* c = Find<QAbstractButton>(clicked, control, occurrence);
    QAbstractButton* t = Find<QAbstractButton>(toggled, control, occurrence);
    QVERIFY(c && t);
    SelectAnother(c);
    SelectAnother(t);
    const bool wasChecked = t->isChecked();
    // Twice: a check box is checked and cleared; an option is chosen, then chosen again.
    for (const char* when : {"first", "second"}) {
        Act(c, How::Click);
        Act(t, How::Toggle);
        if (QTest::currentTestFailed())
            return;
        CompareStates(State(clicked), State(toggled), when);
        if (QTest::currentTestFailed())
            return;
        if (qstrcmp(when, "first") == 0)
            QVERIFY(t->isChecked() != wasChecked);
    }
}

void TestAccessibility::toggleTakesEffect_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<Effect>("effect");
    auto link = [](const char* window, const char* control, Effect effect) {
        QTest::newRow(qPrintable(QStringLiteral("%1/%2").arg(window, control)))
            << QString::fromLatin1(window) << QString::fromLatin1(control) << effect;
    };
    link("frmTransmit", "OptMode(0)", [](Rig& r) { QCOMPARE(r.config.LinkMode, qint16(0)); });
    link("frmTransmit", "OptPort(1)", [](Rig& r) { QCOMPARE(r.config.ComPort, qint16(2)); });
    link("frmTransmit", "OptPort(5)", [](Rig& r) { QCOMPARE(r.config.ComPort, qint16(6)); });
    link("frmTransmit", "optBaud(0)",
         [](Rig& r) { QCOMPARE(BaudOf(r.config.LineSettings), "1200"); });
    link("frmTransmit", "optDatabits(0)",
         [](Rig& r) { QCOMPARE(FormatOf(r.config.LineSettings), QStringLiteral("N,7,1 ")); });
    link("frmTransmit", "optStopbits(1)",
         [](Rig& r) { QCOMPARE(FormatOf(r.config.LineSettings), QStringLiteral("N,8,2 ")); });
    link("frmTransmit", "Option2(1)",
         [](Rig& r) { QCOMPARE(FormatOf(r.config.LineSettings), QStringLiteral("E,8,1 ")); });
    link("frmTransmit", "Option1(0)", [](Rig& r) { QCOMPARE(r.config.SaveOption, false); });
    link("frmReadMemory", "OptPort(2)", [](Rig& r) { QCOMPARE(r.config.ComPort, qint16(3)); });
    link("frmReadMemory", "optBaud(4)",
         [](Rig& r) { QCOMPARE(BaudOf(r.config.LineSettings), "19200"); });
    link("frmISP", "OptPort(3)", [](Rig& r) { QCOMPARE(r.config.ComPort, qint16(4)); });
    // Track 2: the prefix box shows and edits the track 2 group.
    link("magcfg6", "Opt1Track(1)", [](Rig& r) {
        auto* box = r.root->findChild<QLineEdit*>(QStringLiteral("txt694"));
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("TUVWXYZA")); // bytes 45..52
        const quint8 track1 = r.config.CfgData[MagPrefix];
        box->setText(QStringLiteral("z"));
        QCOMPARE(r.config.CfgData[MagPrefix + TrackStride], quint8('z'));
        QCOMPARE(r.config.CfgData[MagPrefix], track1);
    });
    link("magcfg6", "Opt2Track(2)", [](Rig& r) {
        auto* box = r.root->findChild<QLineEdit*>(QStringLiteral("txt693"));
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("RSTUVWXY")); // bytes 69..76
    });
    // The command set switches: the bar decoder's Interface panel gives way to the magnetic
    // reader's, and "Bar Codes and Others" is unavailable.
    link("MDImain", "Toolbar1_mag_button", [](Rig& r) {
        QCOMPARE(r.config.MagMode, true);
        QCOMPARE(r.openChildren(), QStringList{"magcfg3"});
        QVERIFY(!r.action("Toolbar1_bar")->isEnabled());
        QVERIFY(r.action("Toolbar1_mag")->isChecked());
    });
    link("magcfg4", "OptISO(1)", [](Rig& r) {
        QCOMPARE(r.config.CfgData[25] & 0x01, 1);
        QVERIFY(!r.root->findChild<QWidget*>(QStringLiteral("fraCfg45A"))->isEnabled());
    });
    link("DDT", "Check1", [](Rig& r) {
        QVERIFY(r.root->findChild<QAbstractButton*>(QStringLiteral("Check1"))->isChecked());
    });
}

void TestAccessibility::toggleTakesEffect() {
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(Effect, effect);
    Rig rig(window);
    QAbstractButton* b = Find<QAbstractButton>(rig, control, 0);
    QVERIFY(b);
    QVERIFY(!b->isChecked());
    QVERIFY(AccessibleToggle(b));
    QVERIFY(b->isChecked());
    effect(rig);
}

void TestAccessibility::oneRunPerChoice_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("emitter");
    QTest::addColumn<QByteArray>("signal");
    QTest::addColumn<bool>("viaToggle");
    QTest::addColumn<bool>("alreadyChosen");
    const QByteArray stored = SIGNAL(stored(int));
    const QByteArray parity = SIGNAL(parityChosen(int));
    // clang-format off
    QTest::newRow("panel option, click") << "magcfg4" << "OptISO(1)" << "OptISO" << stored << false << false;
    QTest::newRow("panel option, toggle") << "magcfg4" << "OptISO(1)" << "OptISO" << stored << true << false;
    QTest::newRow("panel option, click on the chosen one") << "magcfg4" << "OptISO(1)" << "OptISO" << stored << false << true;
    QTest::newRow("link option, click") << "frmTransmit" << "Option2(2)" << "LinkOptions" << parity << false << false;
    QTest::newRow("link option, toggle") << "frmTransmit" << "Option2(2)" << "LinkOptions" << parity << true << false;
    QTest::newRow("link option, click on the chosen one") << "frmTransmit" << "Option2(2)" << "LinkOptions" << parity << false << true;
    // clang-format on
}

void TestAccessibility::oneRunPerChoice() {
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, emitter);
    QFETCH(QByteArray, signal);
    QFETCH(bool, viaToggle);
    QFETCH(bool, alreadyChosen);
    Rig rig(window);
    QAbstractButton* b = Find<QAbstractButton>(rig, control, 0);
    QObject* source = rig.root->findChild<QObject*>(emitter);
    QVERIFY(b && source);
    if (alreadyChosen)
        b->click();
    QVERIFY(b->isChecked() == alreadyChosen);
    QSignalSpy spy(source, signal.constData());
    Act(b, viaToggle ? How::Toggle : How::Click);
    QCOMPARE(spy.size(), 1);
}

void TestAccessibility::syncingModeButtonDoesNotSwitch() {
    Rig rig(QStringLiteral("MDImain"));
    QAction* mag = rig.action("Toolbar1_mag");
    // Opening a magnetic panel from the menu shows the magnetic command set on the button...
    rig.trigger("mnuMagComm");
    QCOMPARE(rig.config.MagMode, true);
    QVERIFY(mag->isChecked());
    QCOMPARE(rig.openChildren(), QStringList{"magcfg4"});
    // ... and so does a bar panel, without a switch of its own.
    rig.trigger("mnuConfigComm");
    QCOMPARE(rig.config.MagMode, false);
    QVERIFY(!mag->isChecked());
    QCOMPARE(rig.openChildren(), QStringList{"cfg4"});
    // The button's own toggle switches once, each way.
    QVERIFY(AccessibleToggle(rig.window->findChild<QWidget*>("Toolbar1_mag_button")));
    QCOMPARE(rig.config.MagMode, true);
    QCOMPARE(rig.openChildren(), QStringList{"magcfg4"});
    QVERIFY(AccessibleToggle(rig.window->findChild<QWidget*>("Toolbar1_mag_button")));
    QCOMPARE(rig.config.MagMode, false);
    QCOMPARE(rig.openChildren(), QStringList{"cfg4"});
    QVERIFY(!mag->isChecked());
}

void TestAccessibility::framesAnnouncedByOwnTitle_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<int>("occurrence");
    QTest::addColumn<QString>("title");
    // Frames inside a tab's frame, written out.
    QTest::newRow("Codabar start") << "cfg5"
                                   << "fra58B1" << 0 << "Transmission Type of Start";
    QTest::newRow("Codabar stop") << "cfg5"
                                  << "fra58B2" << 0 << "Transmission Type of Stop";
    QTest::newRow("UPC reading type") << "cfg5"
                                      << "fraCfg52A" << 0 << "Reading Type";
    QTest::newRow("magnetic prefix") << "magcfg6"
                                     << "fra69" << 0 << "Prefix";
    QTest::newRow("magnetic suffix") << "magcfg6"
                                     << "Frame1" << 0 << "Sufix";
    QTest::newRow("bar prefix") << "cfg6"
                                << "fra69" << 0 << "Prefix";
    QTest::newRow("transmit port") << "frmTransmit"
                                   << "FraPort" << 0 << "Port";
    int rows = 0;
    AddRows<QGroupBox>(
        [&rows](const QString& window, const QString& row, QGroupBox* box, int occurrence) {
            QTest::newRow(qPrintable(row))
                << window << box->objectName() << occurrence << Spoken(box->title());
            ++rows;
        });
    QVERIFY2(rows > 50, qPrintable(QString::number(rows)));
}

void TestAccessibility::framesAnnouncedByOwnTitle() {
    QFETCH(QString, window);
    QFETCH(QString, frame);
    QFETCH(int, occurrence);
    QFETCH(QString, title);
    Rig rig(window);
    QGroupBox* box = Find<QGroupBox>(rig, frame, occurrence);
    QVERIFY(box);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(box);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Grouping);
    QCOMPARE(iface->text(QAccessible::Name), title);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
