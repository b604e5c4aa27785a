// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "appfixture.h"

#include "app/aboutbox.h"
#include "app/icons.h"
#include "orvproject.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolBar>

using namespace orv;
using namespace orv::test;

namespace {

const QString Title = QStringLiteral("Configuration Setup");

QStringList ItemNames(const QMenu* menu) {
    QStringList names;
    for (const QAction* a : menu->actions())
        names << a->objectName();
    return names;
}

// Closes the modal dialog that the next exec() shows, as soon as it is up.
void CloseNextModal(QString* seenName) {
    QTimer::singleShot(0, [seenName] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            *seenName = w->objectName();
            w->close();
        }
    });
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startUp();
    void portAccessAttempts_data();
    void portAccessAttempts();
    void menuItems_data();
    void menuItems();
    void menuOrder();
    void toolbar();
    void sharpIcons();
    void sameCommandTwiceCloses_data();
    void sameCommandTwiceCloses();
    void panelMarksMenus_data();
    void panelMarksMenus();
    void commandSetOfMenus();
    void magCounterparts_data();
    void magCounterparts();
    void magClosesBarCodesPanel();
    void counterpartsWithRealPanels_data();
    void counterpartsWithRealPanels();
    void toolbarFollowsCommandSet();
    void firmwareWindowClosedByNextCommand();
    void readMemoryRoute();
    void krTestIsModalAndLeavesPanel();
    void setAllDefault_data();
    void setAllDefault();
    void exitQuestion_data();
    void exitQuestion();
    void closingCheck_data();
    void closingCheck();
    void neverMaximised();
    void shortcutsWhilePanelHasFocus_data();
    void shortcutsWhilePanelHasFocus();
    void helpContents_data();
    void helpContents();
    void aboutBox();
    void aboutVersion_data();
    void aboutVersion();
};

void TestMainWindow::startUp() {
    AppFixture f;
    f.start();
    const Image builtIn = Config::BuiltInDefaults();
    QVERIFY(f.config.CfgDefault == builtIn);
    QVERIFY(f.config.CfgData == builtIn);
    QVERIFY(f.config.CfgSaved == builtIn);
    QVERIFY(!f.config.HasUnsavedChanges());
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Orv Configuration: New File"));
    QCOMPARE(f.window->objectName(), QStringLiteral("MDImain"));
    QCOMPARE(f.config.ActivePanel, qint16(0));
    QVERIFY(f.openChildren().isEmpty());
    QVERIFY(!f.action("Toolbar1_mag")->isChecked());
    QVERIFY(f.action("Toolbar1_bar")->isEnabled());
    QCOMPARE(f.window->helpFile(), QStringLiteral("cfg.hlp"));
    QCOMPARE(f.config.SetupDate, Config::DateText(AppFixture::Today()));
    QVERIFY(f.dialogs.shown.isEmpty());
}

void TestMainWindow::portAccessAttempts_data() {
    QTest::addColumn<int>("failing");
    QTest::addColumn<int>("inits");
    QTest::addColumn<int>("shutdowns");
    QTest::addColumn<bool>("warned");
    QTest::newRow("works at once") << 0 << 1 << 0 << false;
    QTest::newRow("works at the tenth attempt") << 9 << 10 << 9 << false;
    QTest::newRow("never works") << -1 << 10 << 10 << true;
}

void TestMainWindow::portAccessAttempts() {
    QFETCH(int, failing);
    QFETCH(int, inits);
    QFETCH(int, shutdowns);
    QFETCH(bool, warned);
    AppFixture f;
    f.port.failingInits = failing;
    f.start();
    QCOMPARE(f.port.initCalls, inits);
    QCOMPARE(f.port.shutdownCalls, shutdowns);
    QCOMPARE(f.dialogs.shown.size(), warned ? 1 : 0);
    if (warned) {
        QCOMPARE(f.dialogs.last().text,
                 QStringLiteral("There is an error for keyboard, you can download and upload CFG "
                                "data only thru RS232!"));
        QCOMPARE(f.dialogs.last().title, Title);
        QCOMPARE(f.dialogs.last().buttons, Dialogs::Buttons::Ok);
    }
    QVERIFY(f.window->isVisible());
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Orv Configuration: New File"));
}

void TestMainWindow::menuItems_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("enabled");
    const QKeySequence none;
    auto row = [](const char* name, const char* caption, QKeySequence key, bool enabled = true) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(caption) << key
                            << enabled;
    };
    row("mnuFile", "&File", none);
    row("mnuFileNew", "&New", QKeySequence(Qt::CTRL | Qt::Key_N));
    row("mnuFileOpen", "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O));
    row("mnuFileSave", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S));
    row("mnuFileSaveAs", "Save &As...", QKeySequence(Qt::CTRL | Qt::Key_A));
    row("mnuFileDefault", "Save As &Default", none);
    row("mnuFileExit", "E&xit", QKeySequence(Qt::CTRL | Qt::Key_X));
    row("mnuConfig", "&Bar_Decoder", none);
    row("mnuConfigInterface", "&Interface", QKeySequence(Qt::CTRL | Qt::Key_F3));
    row("mnuConfigComm", "&Communication", QKeySequence(Qt::CTRL | Qt::Key_F4));
    row("mnuConfigBar", "&Bar Codes and Others", QKeySequence(Qt::CTRL | Qt::Key_F5));
    row("mnuConfigMisc", "&Miscellaneous", QKeySequence(Qt::CTRL | Qt::Key_F6));
    row("mnuConfigDefault", "&Set All Default", none);
    row("mnuConfigTransmit", "Transmit", none);
    row("mnuMag", "&Magnic_Reader", none);
    row("mnuMagInterface", "&Interface", none);
    row("mnuMagComm", "&Communication", none);
    row("mnuMagMisc", "&Miscellaneous", none);
    row("mnuMagDefault", "&Set All Default", none);
    row("mnuMagTransmit", "Transmit", none);
    row("mnuTools", "&Tools", none);
    row("mnuToolsISP", "&ISP", none);
    row("mnuToolsKRtest", "&KR Test", none);
    row("mnuToolsRDM", "&Read Decoder Memory", none, false);
    row("mnuHelp", "&Help", none);
    row("mnuHelpContents", "&Contents", none);
    row("mnuHelpAbout", "&About", none);
}

void TestMainWindow::menuItems() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    QFETCH(bool, enabled);
    AppFixture f;
    f.start();
    QAction* a = f.window->action(name);
    QVERIFY(a);
    QCOMPARE(a->text(), caption);
    QCOMPARE(a->shortcut(), shortcut);
    QCOMPARE(a->isEnabled(), enabled);
    QVERIFY(!a->isChecked());
}

void TestMainWindow::menuOrder() {
    AppFixture f;
    f.start();
    QStringList top;
    for (QAction* a : f.window->menuBar()->actions())
        top << a->objectName();
    QCOMPARE(top, (QStringList{"mnuFile", "mnuConfig", "mnuMag", "mnuTools", "mnuHelp"}));
    auto menu = [&f](const char* name) {
        return f.window->menuBar()->findChild<QMenu*>(QString::fromLatin1(name));
    };
    QCOMPARE(ItemNames(menu("mnuFile")),
             (QStringList{"mnuFileNew", "mnuFileOpen", "mnuFileSave", "mnuFileSaveAs",
                          "mnuFileDefault", "mnuMinus", "mnuFileExit"}));
    QCOMPARE(ItemNames(menu("mnuConfig")),
             (QStringList{"mnuConfigInterface", "mnuConfigComm", "mnuConfigBar", "mnuConfigMisc",
                          "mnuMinus1", "mnuConfigDefault", "mnuMinus2", "mnuConfigTransmit"}));
    QCOMPARE(ItemNames(menu("mnuMag")),
             (QStringList{"mnuMagInterface", "mnuMagComm", "mnuMagMisc", "mnuMagMinus1",
                          "mnuMagDefault", "mnuMagMinus2", "mnuMagTransmit"}));
    QCOMPARE(ItemNames(menu("mnuTools")),
             (QStringList{"mnuToolsISP", "mnuToolsKRtest", "mnuToolsRDM"}));
    QCOMPARE(ItemNames(menu("mnuHelp")), (QStringList{"mnuHelpContents", "mnuHelpAbout"}));
    for (const char* sep : {"mnuMinus", "mnuMinus1", "mnuMinus2", "mnuMagMinus1", "mnuMagMinus2"})
        QVERIFY(f.action(sep)->isSeparator());
}

void TestMainWindow::toolbar() {
    AppFixture f;
    f.start();
    const QList<QAction*> items = f.window->toolbar()->actions();
    QCOMPARE(items.size(), 13);
    const QStringList keys = {"new", "open",     "save", "",    "irm", "com",   "bar",
                              "mis", "transmit", "",     "mag", "",    "krtest"};
    const QStringList tips = {"New File",
                              "Open File",
                              "Save File",
                              "",
                              "Interface and Reading Mode",
                              "Communication Parameters",
                              "Bar Codes and Others",
                              "Miscellaneous Parameters",
                              "Transmit",
                              "",
                              "Magnet Reader",
                              "",
                              "Keyboard & RS232 Test"};
    for (int i = 0; i < 13; ++i) {
        QAction* a = items[i];
        if (keys[i].isEmpty()) {
            QVERIFY2(a->isSeparator(), qPrintable(QString::number(i + 1)));
            continue;
        }
        QCOMPARE(a->objectName(), QStringLiteral("Toolbar1_") + keys[i]);
        QCOMPARE(a->data().toString(), keys[i]);
        QCOMPARE(a->toolTip(), tips[i]);
        QVERIFY(!a->icon().isNull());
        QCOMPARE(a->isCheckable(), keys[i] == QLatin1String("mag"));
    }
    QCOMPARE(f.window->toolbar()->toolButtonStyle(), Qt::ToolButtonIconOnly);
}

void TestMainWindow::sharpIcons() {
    AppFixture f;
    // At a device pixel ratio of 2 a 24-pixel button asks its icon for 48 pixels, which only an
    // icon drawn from its SVG source has (the SVG icon engine is a plugin of libqt6svg6).
    auto sharp = [](const QIcon& icon, int size) {
        return icon.pixmap(QSize(size, size)).size() == QSize(size, size);
    };
    auto sharpButtons = [&] {
        for (QAction* a : f.window->toolbar()->actions()) {
            if (!a->isSeparator() && !sharp(a->icon(), 48))
                return false;
        }
        return true;
    };
    QVERIFY(sharp(ProgramIcon(), 256));
    QVERIFY(sharp(ToolbarIcon(QStringLiteral("bar")), 48));
    // This screen has a ratio of 1: the window is first drawn with the PNGs, which are exact
    // at 24 pixels; once it has been drawn the SVG icons take their place.
    QCOMPARE(StartUpIconSource(), IconSource::Png);
    QVERIFY(!sharpButtons());
    f.start();
    QTRY_VERIFY_WITH_TIMEOUT(sharpButtons(), GiveUpMsecs);
    QVERIFY(sharp(QApplication::windowIcon(), 256));
    // Where the SVG cannot be drawn, the PNG made from it.
    const QIcon fallback = IconFromSources(QStringLiteral(":/icons/src/missing.svg"),
                                           QStringLiteral(":/icons/new.png"), 24);
    QVERIFY(!fallback.isNull());
    QCOMPARE(fallback.pixmap(QSize(48, 48)).size(), QSize(24, 24));
}

void TestMainWindow::sameCommandTwiceCloses_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("number");
    QTest::newRow("bar interface") << "mnuConfigInterface"
                                   << "cfg3" << 1;
    QTest::newRow("bar communication") << "mnuConfigComm"
                                       << "cfg4" << 2;
    QTest::newRow("bar codes") << "mnuConfigBar"
                               << "cfg5" << 3;
    QTest::newRow("bar miscellaneous") << "mnuConfigMisc"
                                       << "cfg6" << 4;
    QTest::newRow("bar transmit") << "mnuConfigTransmit"
                                  << "frmTransmit" << 5;
    QTest::newRow("mag communication") << "mnuMagComm"
                                       << "magcfg4" << 6;
    QTest::newRow("mag miscellaneous") << "mnuMagMisc"
                                       << "magcfg6" << 7;
    QTest::newRow("mag interface") << "mnuMagInterface"
                                   << "magcfg3" << 8;
    QTest::newRow("mag transmit") << "mnuMagTransmit"
                                  << "frmTransmit" << 5;
    QTest::newRow("toolbar irm") << "Toolbar1_irm"
                                 << "cfg3" << 1;
    QTest::newRow("toolbar com") << "Toolbar1_com"
                                 << "cfg4" << 2;
    QTest::newRow("toolbar bar") << "Toolbar1_bar"
                                 << "cfg5" << 3;
    QTest::newRow("toolbar mis") << "Toolbar1_mis"
                                 << "cfg6" << 4;
    QTest::newRow("toolbar transmit") << "Toolbar1_transmit"
                                      << "frmTransmit" << 5;
}

void TestMainWindow::sameCommandTwiceCloses() {
    QFETCH(QString, command);
    QFETCH(QString, window);
    QFETCH(int, number);
    AppFixture f;
    f.start();
    f.window->action(command)->trigger();
    QCOMPARE(f.openChildren(), QStringList{window});
    QCOMPARE(f.config.ActivePanel, qint16(number));
    QVERIFY(f.child(qPrintable(window))->isVisible());
    f.window->action(command)->trigger();
    QVERIFY(f.openChildren().isEmpty());
    QCOMPARE(f.config.ActivePanel, qint16(0));
    f.window->action(command)->trigger();
    QCOMPARE(f.openChildren(), QStringList{window});
}

void TestMainWindow::panelMarksMenus_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("disabled");
    QTest::newRow("cfg3") << "mnuConfigInterface"
                          << "mnuConfigInterface"
                          << "mnuConfigDefault";
    QTest::newRow("cfg4") << "mnuConfigComm"
                          << "mnuConfigComm"
                          << "mnuConfigDefault";
    QTest::newRow("cfg5") << "mnuConfigBar"
                          << "mnuConfigBar"
                          << "mnuConfigDefault";
    QTest::newRow("cfg6") << "mnuConfigMisc"
                          << "mnuConfigMisc"
                          << "mnuConfigDefault";
    QTest::newRow("magcfg3") << "mnuMagInterface"
                             << "mnuMagInterface"
                             << "mnuMagDefault";
    QTest::newRow("magcfg4") << "mnuMagComm"
                             << "mnuMagComm"
                             << "mnuMagDefault";
    QTest::newRow("magcfg6") << "mnuMagMisc"
                             << "mnuMagMisc"
                             << "mnuMagDefault";
    QTest::newRow("frmTransmit from mag") << "mnuMagTransmit"
                                          << ""
                                          << "mnuConfigDefault";
}

void TestMainWindow::panelMarksMenus() {
    QFETCH(QString, command);
    QFETCH(QString, checked);
    QFETCH(QString, disabled);
    AppFixture f;
    f.start();
    const QStringList items = {"mnuConfigInterface", "mnuConfigComm",    "mnuConfigBar",
                               "mnuConfigMisc",      "mnuMagInterface",  "mnuMagComm",
                               "mnuMagMisc",         "mnuConfigDefault", "mnuMagDefault"};
    auto verifyMarks = [&](bool open) {
        for (const QString& item : items) {
            QAction* a = f.window->action(item);
            QCOMPARE(a->isChecked(), open && item == checked);
            QCOMPARE(a->isEnabled(), !(open && item == disabled));
        }
    };
    f.window->action(command)->trigger();
    verifyMarks(true);
    // Closing the window by its own close button undoes the marks.
    ChildWindow* w = f.window->openWindow(f.config.ActivePanel);
    QVERIFY(w);
    w->close();
    QCOMPARE(f.config.ActivePanel, qint16(0));
    verifyMarks(false);
    // The command again opens it; a different command then moves the marks.
    f.window->action(command)->trigger();
    verifyMarks(true);
    f.trigger("mnuToolsISP");
    verifyMarks(false);
}

void TestMainWindow::commandSetOfMenus() {
    AppFixture f;
    f.start();
    f.trigger("mnuMagComm");
    QVERIFY(f.config.MagMode);
    QVERIFY(f.action("Toolbar1_mag")->isChecked());
    QVERIFY(!f.action("Toolbar1_bar")->isEnabled());
    // Transmit, Tools and File commands leave the command set alone.
    f.trigger("mnuConfigTransmit");
    QVERIFY(f.config.MagMode);
    f.trigger("mnuToolsISP");
    QVERIFY(f.config.MagMode);
    f.trigger("mnuConfigInterface");
    QVERIFY(!f.config.MagMode);
    QVERIFY(!f.action("Toolbar1_mag")->isChecked());
    QVERIFY(f.action("Toolbar1_bar")->isEnabled());
    // With the magnetic reader set current, the toolbar's panel buttons open its panels and
    // "bar" does nothing.
    f.trigger("mnuMagInterface");
    f.trigger("Toolbar1_com");
    QCOMPARE(f.openChildren(), QStringList{"magcfg4"});
    f.window->Toolbar1_ButtonClick(QStringLiteral("bar"));
    QCOMPARE(f.openChildren(), QStringList{"magcfg4"});
    f.trigger("Toolbar1_mis");
    QCOMPARE(f.openChildren(), QStringList{"magcfg6"});
    // A key that is not a button's key does nothing.
    f.window->Toolbar1_ButtonClick(QStringLiteral("MIS"));
    QCOMPARE(f.openChildren(), QStringList{"magcfg6"});
}

void TestMainWindow::magCounterparts_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("opens");
    QTest::addColumn<bool>("magAfter");
    QTest::newRow("cfg3") << "mnuConfigInterface"
                          << "magcfg3" << true;
    QTest::newRow("cfg4") << "mnuConfigComm"
                          << "magcfg4" << true;
    QTest::newRow("cfg5") << "mnuConfigBar"
                          << "" << true;
    QTest::newRow("cfg6") << "mnuConfigMisc"
                          << "magcfg6" << true;
    QTest::newRow("frmTransmit") << "mnuConfigTransmit"
                                 << "frmTransmit" << true;
    QTest::newRow("magcfg4") << "mnuMagComm"
                             << "cfg4" << false;
    QTest::newRow("magcfg6") << "mnuMagMisc"
                             << "cfg6" << false;
    QTest::newRow("magcfg3") << "mnuMagInterface"
                             << "cfg3" << false;
    QTest::newRow("frmReadMemory") << "mnuToolsRDM"
                                   << "" << true;
    QTest::newRow("nothing open") << ""
                                  << "" << true;
    QTest::newRow("firmware window") << "mnuToolsISP"
                                     << "" << true;
}

void TestMainWindow::magCounterparts() {
    QFETCH(QString, command);
    QFETCH(QString, opens);
    QFETCH(bool, magAfter);
    AppFixture f;
    f.start();
    if (command == QLatin1String("mnuToolsRDM"))
        f.window->mnuToolsRDM_Click(); // the menu item itself is unavailable
    else if (!command.isEmpty())
        f.window->action(command)->trigger();
    f.trigger("Toolbar1_mag");
    QCOMPARE(f.config.MagMode, magAfter);
    QCOMPARE(f.action("Toolbar1_mag")->isChecked(), magAfter);
    QCOMPARE(f.action("Toolbar1_bar")->isEnabled(), !magAfter);
    QCOMPARE(f.openChildren(), opens.isEmpty() ? QStringList{} : QStringList{opens});
    // The window that opens sets ActivePanel itself.
    if (opens.isEmpty()) {
        QCOMPARE(f.config.ActivePanel, qint16(0));
    } else {
        ChildWindow* w = f.window->openWindow(f.config.ActivePanel);
        QVERIFY(w);
        QCOMPARE(w->objectName(), opens);
    }
}

void TestMainWindow::magClosesBarCodesPanel() {
    AppFixture f;
    f.start();
    f.trigger("mnuConfigComm");
    f.trigger("Toolbar1_mag");
    QCOMPARE(f.openChildren(), QStringList{"magcfg4"});
    QCOMPARE(f.config.ActivePanel, qint16(PanelMagCfg4));
    f.trigger("Toolbar1_mag");
    QCOMPARE(f.openChildren(), QStringList{"cfg4"});
    QCOMPARE(f.config.ActivePanel, qint16(PanelCfg4));
    QVERIFY(f.action("mnuConfigComm")->isChecked());
    QVERIFY(!f.action("mnuMagComm")->isChecked());
    // With magcfg3 open, "irm" closes it and opens nothing.
    f.trigger("mnuMagInterface");
    f.trigger("Toolbar1_irm");
    QVERIFY(f.openChildren().isEmpty());
    QCOMPARE(f.config.ActivePanel, qint16(0));
}

void TestMainWindow::counterpartsWithRealPanels_data() {
    // The menu item that opens each panel, the panel, its number, and an option that shows the
    // image the test sets up.
    QTest::addColumn<QStringList>("from");
    QTest::addColumn<QStringList>("to");
    const QStringList cfg3{"mnuConfigInterface", "cfg3", "1", "optCFG3_1(1)"};
    const QStringList magcfg3{"mnuMagInterface", "magcfg3", "8", "OptCfg3_1(2)"};
    const QStringList cfg4{"mnuConfigComm", "cfg4", "2", "optCfg41A(3)"};
    const QStringList magcfg4{"mnuMagComm", "magcfg4", "6", "optCfg41A(4)"};
    const QStringList cfg6{"mnuConfigMisc", "cfg6", "4", "opt61(5)"};
    const QStringList magcfg6{"mnuMagMisc", "magcfg6", "7", "opt61(9)"};
    QTest::newRow("cfg3 to magcfg3") << cfg3 << magcfg3;
    QTest::newRow("magcfg3 to cfg3") << magcfg3 << cfg3;
    QTest::newRow("cfg4 to magcfg4") << cfg4 << magcfg4;
    QTest::newRow("magcfg4 to cfg4") << magcfg4 << cfg4;
    QTest::newRow("cfg6 to magcfg6") << cfg6 << magcfg6;
    QTest::newRow("magcfg6 to cfg6") << magcfg6 << cfg6;
}

void TestMainWindow::counterpartsWithRealPanels() {
    QFETCH(QStringList, from);
    QFETCH(QStringList, to);
    AppFixture f;
    f.start();
    Image img = f.config.CfgData;
    img[16] = 0x5C; // bar decoder: German, 19200
    img[22] = 0x21; // bar decoder: USB
    img[26] = 0xB0; // magnetic reader: RS232
    img[28] = 0x14; // magnetic reader: 19200
    img[83] = 0x9C; // magnetic reader: Japanese
    f.config.CfgData = img;

    // The panel open is the real one, showing the image; its marks and the command set agree.
    auto verifyOpen = [&](const QStringList& open, const QStringList& closed) {
        const bool mag = open[1].startsWith(QLatin1String("mag"));
        QCOMPARE(f.openChildren(), QStringList{open[1]});
        QCOMPARE(f.config.ActivePanel, qint16(open[2].toInt()));
        const auto* shown = f.child(qPrintable(open[1]))->findChild<QRadioButton*>(open[3]);
        QVERIFY2(shown && shown->isChecked(), qPrintable(open[3]));
        QVERIFY(f.action(qPrintable(open[0]))->isChecked());
        QVERIFY(!f.action(qPrintable(closed[0]))->isChecked());
        QCOMPARE(f.action("mnuConfigDefault")->isEnabled(), mag);
        QCOMPARE(f.action("mnuMagDefault")->isEnabled(), !mag);
        QCOMPARE(f.config.MagMode, mag);
        QCOMPARE(f.action("Toolbar1_mag")->isChecked(), mag);
        QVERIFY(f.config.CfgData == img);
    };
    f.trigger(qPrintable(from[0]));
    verifyOpen(from, to);
    f.trigger("Toolbar1_mag");
    verifyOpen(to, from);
    f.trigger("Toolbar1_mag");
    verifyOpen(from, to);
    f.trigger(qPrintable(from[0])); // its own command closes it
    QVERIFY(f.openChildren().isEmpty());
    QCOMPARE(f.config.ActivePanel, qint16(0));
    QVERIFY(!f.action(qPrintable(from[0]))->isChecked());
    QVERIFY(f.action("mnuConfigDefault")->isEnabled() && f.action("mnuMagDefault")->isEnabled());
}

void TestMainWindow::toolbarFollowsCommandSet() {
    AppFixture f;
    f.start();
    // Each click of "mag" flips the set, whatever state the click itself gave the button.
    for (int i = 0; i < 4; ++i) {
        f.trigger("Toolbar1_mag");
        QCOMPARE(f.action("Toolbar1_mag")->isChecked(), i % 2 == 0);
        QCOMPARE(f.config.MagMode, i % 2 == 0);
    }
}

void TestMainWindow::firmwareWindowClosedByNextCommand() {
    AppFixture f;
    f.start();
    f.trigger("mnuConfigMisc");
    f.trigger("mnuToolsISP");
    QCOMPARE(f.openChildren(), QStringList{"frmISP"});
    QCOMPARE(f.config.ActivePanel, qint16(0));
    // ISP again keeps the one window.
    f.trigger("mnuToolsISP");
    QCOMPARE(f.openChildren(), QStringList{"frmISP"});
    const char* commands[] = {"mnuConfigInterface", "mnuMagComm", "mnuConfigTransmit",
                              "Toolbar1_mis"};
    for (const char* c : commands) {
        f.trigger("mnuToolsISP");
        QCOMPARE(f.openChildren(), QStringList{"frmISP"});
        f.trigger(c);
        QCOMPARE(f.openChildren().size(), 1);
        QVERIFY(!f.openChildren().contains(QStringLiteral("frmISP")));
    }
    // New and Open leave the firmware window open.
    f.trigger("mnuToolsISP");
    f.trigger("mnuFileNew");
    QCOMPARE(f.openChildren(), QStringList{"frmISP"});
}

void TestMainWindow::readMemoryRoute() {
    AppFixture f;
    f.start();
    f.trigger("mnuConfigComm");
    f.window->mnuToolsRDM_Click();
    QCOMPARE(f.openChildren(), QStringList{"frmReadMemory"});
    QCOMPARE(f.config.ActivePanel, qint16(PanelReadMemory));
    QVERIFY(!f.config.MagMode);
    QVERIFY(f.child("frmReadMemory")->isMaximized());
    f.window->mnuToolsRDM_Click();
    QVERIFY(f.openChildren().isEmpty());
}

void TestMainWindow::krTestIsModalAndLeavesPanel() {
    AppFixture f;
    f.start();
    f.trigger("mnuConfigBar");
    QString seen;
    CloseNextModal(&seen);
    f.trigger("mnuToolsKRtest");
    QCOMPARE(seen, QStringLiteral("DDT"));
    QCOMPARE(f.openChildren(), QStringList{"cfg5"});
    QCOMPARE(f.config.ActivePanel, qint16(PanelCfg5));
    seen.clear();
    CloseNextModal(&seen);
    f.trigger("Toolbar1_krtest");
    QCOMPARE(seen, QStringLiteral("DDT"));
}

void TestMainWindow::setAllDefault_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("yes");
    const char* bar = "Are you sure to set all to default values for Bar Decoder?";
    const char* mag = "Are you sure to set all to default values for Magnet Reader?";
    QTest::newRow("bar yes") << "mnuConfigDefault" << bar << true;
    QTest::newRow("bar no") << "mnuConfigDefault" << bar << false;
    QTest::newRow("mag yes") << "mnuMagDefault" << mag << true;
    QTest::newRow("mag no") << "mnuMagDefault" << mag << false;
}

void TestMainWindow::setAllDefault() {
    QFETCH(QString, command);
    QFETCH(QString, text);
    QFETCH(bool, yes);
    AppFixture f;
    f.start();
    for (int i = 0; i < ImageSize; ++i)
        f.config.CfgData[i] = static_cast<quint8>(i * 5 + 1);
    f.config.MarkSaved();
    const Image before = f.config.CfgData;
    f.dialogs.answers = {yes ? Dialogs::Answer::Yes : Dialogs::Answer::No};
    f.window->action(command)->trigger();
    QCOMPARE(f.dialogs.shown.size(), 1);
    const Dialogs::Message& m = f.dialogs.last();
    QCOMPARE(m.text, text);
    QCOMPARE(m.title, Title);
    QCOMPARE(m.buttons, Dialogs::Buttons::YesNo);
    QCOMPARE(m.icon, Dialogs::Icon::Exclamation);
    QCOMPARE(m.defaultButton, std::optional(Dialogs::Answer::No));
    const bool bar = command == QLatin1String("mnuConfigDefault");
    for (int i = 0; i < ImageSize; ++i) {
        const bool restored = yes && (bar ? i <= BarLast : i >= MagFirst);
        QCOMPARE(f.config.CfgData[i], restored ? f.config.CfgDefault[i] : before[i]);
    }
    QVERIFY(f.config.CfgSaved == before);
    QCOMPARE(f.config.HasUnsavedChanges(), yes);
}

void TestMainWindow::exitQuestion_data() {
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QList<Dialogs::Answer>>("answers");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("closed");
    using A = Dialogs::Answer;
    QTest::newRow("no changes, Cancel") << false << QList<A>{A::Cancel} << 1 << false;
    QTest::newRow("no changes, No") << false << QList<A>{A::No} << 1 << true;
    QTest::newRow("changes, No then Cancel") << true << QList<A>{A::No, A::Cancel} << 2 << false;
    QTest::newRow("changes, No then No") << true << QList<A>{A::No, A::No} << 2 << true;
    // Yes saves first: with no file yet that is Save As, which the test cancels; the closing
    // check then asks again.
    QTest::newRow("changes, Yes, dialog cancelled, No")
        << true << QList<A>{A::Yes, A::No} << 2 << true;
}

void TestMainWindow::exitQuestion() {
    QFETCH(bool, changed);
    QFETCH(QList<Dialogs::Answer>, answers);
    QFETCH(int, questions);
    QFETCH(bool, closed);
    AppFixture f;
    f.start();
    if (changed)
        f.config.CfgData[3] ^= 1;
    f.dialogs.answers = answers;
    f.trigger("mnuFileExit");
    QCOMPARE(f.dialogs.shown.size(), questions);
    QCOMPARE(f.dialogs.shown[0].message.text, QStringLiteral("Do you want to save your file?"));
    QCOMPARE(f.dialogs.shown[0].message.buttons, Dialogs::Buttons::YesNoCancel);
    QCOMPARE(f.dialogs.shown[0].message.title, Title);
    if (questions > 1) {
        QCOMPARE(f.dialogs.shown[1].message.text,
                 QStringLiteral("Configuration had been changed,do you want to save your file?"));
    }
    QCOMPARE(f.window->isVisible(), !closed);
    QCOMPARE(f.port.shutdownCalls, closed ? 1 : 0);
}

void TestMainWindow::closingCheck_data() {
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QList<Dialogs::Answer>>("answers");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");
    using A = Dialogs::Answer;
    QTest::newRow("no changes") << false << QList<A>{} << true << false;
    QTest::newRow("Cancel") << true << QList<A>{A::Cancel} << false << false;
    QTest::newRow("No") << true << QList<A>{A::No} << true << false;
    QTest::newRow("Yes") << true << QList<A>{A::Yes} << true << true;
}

void TestMainWindow::closingCheck() {
    QFETCH(bool, changed);
    QFETCH(QList<Dialogs::Answer>, answers);
    QFETCH(bool, closed);
    QFETCH(bool, saved);
    AppFixture f;
    f.start();
    const QString path = f.dir.filePath(QStringLiteral("closing.cfg"));
    f.config.CfgFileName = path;
    f.trigger("mnuConfigBar");
    if (changed)
        f.config.CfgData[40] ^= 0x20;
    f.dialogs.answers = answers;
    QCOMPARE(f.window->close(), closed);
    QCOMPARE(f.dialogs.shown.size(), changed ? 1 : 0);
    QCOMPARE(f.window->isVisible(), !closed);
    QCOMPARE(QFile::exists(path), saved);
    // The open panel closes first, whatever the answer.
    QVERIFY(f.openChildren().isEmpty());
    QCOMPARE(f.port.shutdownCalls, closed ? 1 : 0);
}

void TestMainWindow::neverMaximised() {
    AppFixture f;
    f.start();
    f.window->showMaximized();
    QTRY_VERIFY_WITH_TIMEOUT(!f.window->isMaximized(), GiveUpMsecs);
    QVERIFY(f.window->isVisible());
    f.window->showMinimized();
    QTest::qWait(20);
    QVERIFY(f.window->isMinimized());
}

void TestMainWindow::shortcutsWhilePanelHasFocus_data() {
    QTest::addColumn<QString>("open");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("opens");
    QTest::newRow("Ctrl+F3") << "mnuConfigMisc" << int(Qt::Key_F3) << "cfg3";
    QTest::newRow("Ctrl+F4") << "mnuConfigInterface" << int(Qt::Key_F4) << "cfg4";
    QTest::newRow("Ctrl+F4 from a magnetic panel") << "mnuMagMisc" << int(Qt::Key_F4) << "cfg4";
    QTest::newRow("Ctrl+F5") << "mnuConfigComm" << int(Qt::Key_F5) << "cfg5";
    QTest::newRow("Ctrl+F6") << "mnuConfigBar" << int(Qt::Key_F6) << "cfg6";
    QTest::newRow("Ctrl+F4 closes its own panel") << "mnuConfigComm" << int(Qt::Key_F4) << "";
}

void TestMainWindow::shortcutsWhilePanelHasFocus() {
    QFETCH(QString, open);
    QFETCH(int, key);
    QFETCH(QString, opens);
    AppFixture f;
    f.start();
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get(), GiveUpMsecs));
    f.window->action(open)->trigger();
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QVERIFY(f.window->openWindow(f.config.ActivePanel)->isAncestorOf(focus) ||
            focus == f.window->openWindow(f.config.ActivePanel));
    QTest::keyClick(focus, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(f.openChildren(), opens.isEmpty() ? QStringList{} : QStringList{opens});
}

void TestMainWindow::helpContents_data() {
    QTest::addColumn<bool>("viewerStarts");
    QTest::addColumn<bool>("manualOpens");
    QTest::newRow("help viewer") << true << true;
    QTest::newRow("manual") << false << true;
    QTest::newRow("nothing") << false << false;
}

void TestMainWindow::helpContents() {
    QFETCH(bool, viewerStarts);
    QFETCH(bool, manualOpens);
    AppFixture f;
    f.start();
    f.launcher.startResult = viewerStarts;
    f.launcher.openResult = manualOpens;
    f.trigger("mnuHelpContents");
    QCOMPARE(f.launcher.started, (QList<QStringList>{{"hh", "orvcfg.chm"}}));
    QCOMPARE(f.launcher.opened, viewerStarts ? QStringList{} : QStringList{f.paths.manualPath});
    const bool message = !viewerStarts && !manualOpens;
    QCOMPARE(f.dialogs.shown.size(), message ? 1 : 0);
    if (message)
        QVERIFY(f.dialogs.last().text.contains(f.paths.manualPath));
}

void TestMainWindow::aboutBox() {
    AppFixture f;
    f.start();
    f.trigger("mnuConfigComm");
    f.trigger("mnuHelpAbout");
    auto* about = f.window->findChild<AboutBox*>(QStringLiteral("frmAbout"));
    QVERIFY(about);
    QVERIFY(about->isVisible());
    QVERIFY(!about->isModal());
    QCOMPARE(f.openChildren(), QStringList{"cfg4"}); // the About box closes nothing
    QCOMPARE(about->windowTitle(), QStringLiteral("About This Software"));
    auto label = [about](const char* name) {
        return about->findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    // The project's version, in the box's form (3.45.1 reads "V3.45.01").
    QCOMPARE(label("Label1"),
             QStringLiteral("Orv Configuration Setup V") +
                 AboutBox::DisplayVersion(ORV_VERSION_MAJOR, ORV_VERSION_MINOR, ORV_VERSION_PATCH));
    QCOMPARE(label("Label3"), QStringLiteral("For Bar Code and Magnetic Card Decoder"));
    QVERIFY(!label("Label2").isEmpty());
    auto* sysInfo = about->findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
    auto* ok = about->findChild<QPushButton*>(QStringLiteral("cmdOK"));
    QCOMPARE(sysInfo->text(), QStringLiteral("System Info..."));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    sysInfo->click();
    QCOMPARE(f.dialogs.texts(), QStringList{"System Information Is Unavailable At This Time"});
    QVERIFY(about->isVisible());
    // Help > About again brings up the same box.
    f.trigger("mnuHelpAbout");
    QCOMPARE(f.window->findChildren<AboutBox*>().size(), 1);
    ok->click();
    QTRY_VERIFY_WITH_TIMEOUT(!f.window->findChild<AboutBox*>(), GiveUpMsecs);
}

void TestMainWindow::aboutVersion_data() {
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("patch");
    QTest::addColumn<QString>("shown");
    QTest::newRow("3.45.1") << 3 << 45 << 1 << "3.45.01";
    QTest::newRow("4.0.12") << 4 << 0 << 12 << "4.00.12";
    QTest::newRow("10.100.7") << 10 << 100 << 7 << "10.100.07";
}

void TestMainWindow::aboutVersion() {
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, patch);
    QFETCH(QString, shown);
    QCOMPARE(AboutBox::DisplayVersion(major, minor, patch), shown);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
