// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The window registry against the real main window: every row's menu item, toolbar key, command
// set and counterpart; and CloseActivePanel and SyncModeButtons, which the main window runs.

#include "appfixture.h"

#include "app/windowregistry.h"

#include <QMenu>
#include <QMenuBar>
#include <QSet>

using namespace orv;
using namespace orv::test;

Q_DECLARE_METATYPE(const orv::WindowRow*)

namespace {

// The top-level menu that holds the item.
QString MenuOf(const AppFixture& f, const QString& item) {
    for (const QMenu* menu : f.window->menuBar()->findChildren<QMenu*>()) {
        for (const QAction* a : menu->actions()) {
            if (a->objectName() == item)
                return menu->objectName();
        }
    }
    return {};
}

// Runs the row's menu item; Read Decoder Memory's item is unavailable, so it is made available
// for the moment.
void Choose(AppFixture& f, const char* item) {
    QAction* a = f.action(item);
    const bool enabled = a->isEnabled();
    a->setEnabled(true);
    a->trigger();
    a->setEnabled(enabled);
}

void AddRegistryRows() {
    QTest::addColumn<const WindowRow*>("row");
    for (const WindowRow& r : WindowRegistry())
        QTest::newRow(r.info.objectName) << &r;
}

} // namespace

class TestWindowRegistry : public QObject {
    Q_OBJECT
private slots:
    void rowsAreDistinct();
    void menuItemOpensItsWindow_data();
    void menuItemOpensItsWindow();
    void toolbarKeys_data();
    void toolbarKeys();
    void counterparts_data();
    void counterparts();
    void newClosesImageWindows_data();
    void newClosesImageWindows();
    void closeActivePanel_data();
    void closeActivePanel();
    void syncModeButtons();
};

void TestWindowRegistry::rowsAreDistinct() {
    QSet<int> numbers;
    QSet<QString> names;
    QSet<QString> items;
    for (const WindowRow& r : WindowRegistry()) {
        numbers << r.info.number;
        names << QString::fromLatin1(r.info.objectName);
        items << QString::fromLatin1(r.info.menuItem);
        if (r.magMenuItem)
            items << QString::fromLatin1(r.magMenuItem);
    }
    const qsizetype n = WindowRegistry().size();
    QCOMPARE(n, 10); // panels 1..9 and the firmware update window
    QCOMPARE(numbers.size(), n);
    QCOMPARE(names.size(), n);
    QCOMPARE(items.size(), n + 1); // Transmit is in both menus
    for (int number = PanelCfg3; number <= PanelReadMemory; ++number)
        QCOMPARE(FindWindowRow(number)->info.number, number);
    QCOMPARE(FindWindowRow(NoPanel), nullptr);
    QCOMPARE(FindWindowRow(PanelReadMemory + 1), nullptr);
    QCOMPARE(QString::fromLatin1(FirmwareWindowRow().info.objectName), QStringLiteral("frmISP"));
}

void TestWindowRegistry::menuItemOpensItsWindow_data() {
    AddRegistryRows();
}

void TestWindowRegistry::menuItemOpensItsWindow() {
    QFETCH(const WindowRow*, row);
    AppFixture f;
    f.start();
    // Start from the other command set, so that the item has to switch it.
    const bool otherSet = row->commandSet == CommandSet::Bar;
    f.config.MagMode = otherSet;
    f.window->showModeButtons(otherSet);

    QStringList items{QString::fromLatin1(row->info.menuItem)};
    if (row->magMenuItem)
        items << QString::fromLatin1(row->magMenuItem);
    for (const QString& item : items) {
        QAction* a = f.window->action(item);
        QVERIFY2(a, qPrintable(item));
        QCOMPARE(a->text(), QString::fromLatin1(row->menuCaption));
        QCOMPARE(a->shortcut(), QKeySequence(row->shortcut));
    }
    // Each command set's panels are in its own menu; the other windows are not in either.
    const QString menu = MenuOf(f, items.first());
    switch (row->commandSet) {
    case CommandSet::Bar:
        QCOMPARE(menu, QStringLiteral("mnuConfig"));
        break;
    case CommandSet::Mag:
        QCOMPARE(menu, QStringLiteral("mnuMag"));
        break;
    case CommandSet::None:
        if (row->magMenuItem) {
            QCOMPARE(menu, QStringLiteral("mnuConfig"));
            QCOMPARE(MenuOf(f, items.last()), QStringLiteral("mnuMag"));
        } else {
            QCOMPARE(menu, QStringLiteral("mnuTools"));
        }
        break;
    }

    for (const QString& item : items) {
        Choose(f, qPrintable(item));
        ChildWindow* w = f.child(row->info.objectName);
        QVERIFY2(w, qPrintable(item));
        QCOMPARE(f.openChildren(), QStringList{QString::fromLatin1(row->info.objectName)});
        QCOMPARE(w->windowTitle(), QString::fromLatin1(row->info.caption));
        QCOMPARE(w->isMaximized(), row->info.maximized);
        QCOMPARE(int(f.config.ActivePanel), row->info.number);
        QCOMPARE(f.config.MagMode, row->commandSet == CommandSet::None
                                       ? otherSet
                                       : row->commandSet == CommandSet::Mag);
        QCOMPARE(f.action(row->info.menuItem)->isChecked(), row->info.checksMenuItem);
        for (const char* setAll : {"mnuConfigDefault", "mnuMagDefault"})
            QCOMPARE(f.action(setAll)->isEnabled(),
                     !row->info.defaultItem || qstrcmp(row->info.defaultItem, setAll) != 0);
        // The item of the open window closes it; the firmware update window has no number, and
        // its item brings it to the front instead.
        Choose(f, qPrintable(item));
        if (row->info.number == NoPanel) {
            QCOMPARE(f.openChildren(), QStringList{QString::fromLatin1(row->info.objectName)});
            f.window->closeFirmwareWindow();
        }
        QVERIFY(f.openChildren().isEmpty());
        QVERIFY(!f.action(row->info.menuItem)->isChecked());
        QVERIFY(f.action("mnuConfigDefault")->isEnabled());
        QVERIFY(f.action("mnuMagDefault")->isEnabled());
    }
}

void TestWindowRegistry::toolbarKeys_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("magMode");
    QTest::addColumn<QString>("opens");
    QTest::newRow("irm bar") << "irm" << false << "cfg3";
    QTest::newRow("irm mag") << "irm" << true << "magcfg3";
    QTest::newRow("com bar") << "com" << false << "cfg4";
    QTest::newRow("com mag") << "com" << true << "magcfg4";
    QTest::newRow("bar bar") << "bar" << false << "cfg5";
    QTest::newRow("bar mag") << "bar" << true << "";
    QTest::newRow("mis bar") << "mis" << false << "cfg6";
    QTest::newRow("mis mag") << "mis" << true << "magcfg6";
    QTest::newRow("transmit bar") << "transmit" << false << "frmTransmit";
    QTest::newRow("transmit mag") << "transmit" << true << "frmTransmit";
    // Keys are compared as exact text.
    QTest::newRow("IRM") << "IRM" << false << "";
    QTest::newRow("irm and a blank") << "irm " << false << "";
}

void TestWindowRegistry::toolbarKeys() {
    QFETCH(QString, key);
    QFETCH(bool, magMode);
    QFETCH(QString, opens);
    const WindowRow* row = ToolbarWindowRow(key, magMode);
    QCOMPARE(row ? QString::fromLatin1(row->info.objectName) : QString(), opens);

    AppFixture f;
    f.start();
    f.config.MagMode = magMode;
    f.window->showModeButtons(magMode);
    f.window->Toolbar1_ButtonClick(key);
    QCOMPARE(f.openChildren(), opens.isEmpty() ? QStringList{} : QStringList{opens});
    QCOMPARE(f.config.MagMode, magMode);
    QCOMPARE(f.action("Toolbar1_mag")->isChecked(), magMode);
    if (opens.isEmpty())
        return;
    // The button does what the row's menu item does: the same key again closes the window.
    QCOMPARE(int(f.config.ActivePanel), row->info.number);
    f.window->Toolbar1_ButtonClick(key);
    QVERIFY(f.openChildren().isEmpty());
}

void TestWindowRegistry::counterparts_data() {
    AddRegistryRows();
}

void TestWindowRegistry::counterparts() {
    QFETCH(const WindowRow*, row);
    if (row->counterpart != NoPanel) {
        const WindowRow* other = FindWindowRow(row->counterpart);
        QVERIFY(other);
        QCOMPARE(other->counterpart, row->info.number);
        if (other == row) {
            QCOMPARE(row->commandSet, CommandSet::None);
        } else {
            // A panel's counterpart is the same panel of the other command set.
            QVERIFY(row->commandSet != CommandSet::None);
            QVERIFY(other->commandSet != CommandSet::None);
            QVERIFY(other->commandSet != row->commandSet);
            QCOMPARE(QString::fromLatin1(other->toolbar.key),
                     QString::fromLatin1(row->toolbar.key));
        }
    }

    // The "mag" switch opens the counterpart of the open window, and nothing where there is none.
    AppFixture f;
    f.start();
    Choose(f, row->info.menuItem);
    QVERIFY(f.child(row->info.objectName));
    const bool magBefore = f.config.MagMode;
    f.trigger("Toolbar1_mag");
    QCOMPARE(f.config.MagMode, !magBefore);
    const WindowRow* opened = FindWindowRow(row->counterpart);
    QCOMPARE(f.openChildren(),
             opened ? QStringList{QString::fromLatin1(opened->info.objectName)} : QStringList{});
    QCOMPARE(int(f.config.ActivePanel), opened ? opened->info.number : int(NoPanel));
}

void TestWindowRegistry::newClosesImageWindows_data() {
    QTest::addColumn<const WindowRow*>("row");
    QTest::addColumn<bool>("closes");
    for (const WindowRow& r : WindowRegistry()) {
        // The memory and firmware windows do not show the image.
        const bool closes = r.info.number != PanelReadMemory && r.info.number != NoPanel;
        QTest::newRow(r.info.objectName) << &r << closes;
    }
}

void TestWindowRegistry::newClosesImageWindows() {
    QFETCH(const WindowRow*, row);
    QFETCH(bool, closes);
    QCOMPARE(row->showsImage, closes);
    AppFixture f;
    f.start();
    Choose(f, row->info.menuItem);
    QVERIFY(f.child(row->info.objectName));
    f.trigger("mnuFileNew");
    QCOMPARE(f.child(row->info.objectName) == nullptr, closes);
}

void TestWindowRegistry::closeActivePanel_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("active");
    QTest::addColumn<QString>("closed");
    QTest::newRow("none") << "mnuToolsISP" << 0 << "frmISP";
    QTest::newRow("cfg3") << "mnuConfigInterface" << 1 << "cfg3";
    QTest::newRow("frmTransmit") << "mnuConfigTransmit" << 5 << "frmTransmit";
    QTest::newRow("frmReadMemory") << "mnuToolsRDM" << 9 << "frmReadMemory";
    QTest::newRow("out of range") << "mnuToolsISP" << 10 << "frmISP";
}

void TestWindowRegistry::closeActivePanel() {
    QFETCH(QString, command);
    QFETCH(int, active);
    QFETCH(QString, closed);
    AppFixture f;
    f.start();
    Choose(f, qPrintable(command));
    QCOMPARE(f.openChildren(), QStringList{closed});
    f.config.ActivePanel = static_cast<qint16>(active);
    QCOMPARE(f.window->CloseActivePanel(), active);
    // The window the number names closes, and the firmware update window always does.
    QVERIFY(f.openChildren().isEmpty());
    QCOMPARE(f.window->firmwareWindow(), nullptr);
}

void TestWindowRegistry::syncModeButtons() {
    AppFixture f;
    f.start();
    f.trigger("mnuConfigBar");
    QVERIFY(f.child("cfg5"));
    f.config.MagMode = true;
    f.window->SyncModeButtons();
    QVERIFY(f.action("Toolbar1_mag")->isChecked());
    QVERIFY(!f.action("Toolbar1_bar")->isEnabled());
    QVERIFY(!f.child("cfg5"));
    QCOMPARE(f.config.ActivePanel, qint16(NoPanel));
    // Back to the bar decoder's set: the buttons follow, and no window opens or closes.
    f.trigger("mnuMagComm");
    f.config.MagMode = false;
    f.window->SyncModeButtons();
    QVERIFY(!f.action("Toolbar1_mag")->isChecked());
    QVERIFY(f.action("Toolbar1_bar")->isEnabled());
    QCOMPARE(f.openChildren(), QStringList{"magcfg4"});
}

QTEST_MAIN(TestWindowRegistry)
#include "tst_windowregistry.moc"
