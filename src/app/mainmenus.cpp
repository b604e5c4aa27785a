// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The menu bar and the toolbar of the main window, built from the window registry's rows and the
// main window's own commands, and the toolbar's dispatch on a button's key.

#include "mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QToolBar>

#include <algorithm>

namespace orv {

const MainWindow::CommandButton MainWindow::CommandButtons[] = {
    {.button = {.key = "new",
                .tooltip = QT_TRANSLATE_NOOP("orv::MainWindow", "New File"),
                .themeIcon = "document-new"},
     .group = ToolbarGroup::File,
     .command = &MainWindow::mnuFileNew_Click},
    {.button = {.key = "open",
                .tooltip = QT_TRANSLATE_NOOP("orv::MainWindow", "Open File"),
                .themeIcon = "document-open"},
     .group = ToolbarGroup::File,
     .command = &MainWindow::mnuFileOpen_Click},
    {.button = {.key = "save",
                .tooltip = QT_TRANSLATE_NOOP("orv::MainWindow", "Save File"),
                .themeIcon = "document-save"},
     .group = ToolbarGroup::File,
     .command = &MainWindow::mnuFileSave_Click},
    {.button = {.key = "mag",
                .tooltip = QT_TRANSLATE_NOOP("orv::MainWindow", "Magnet Reader"),
                .themeIcon = "media-flash"},
     .group = ToolbarGroup::Switch,
     .command = &MainWindow::toggleCommandSet},
    {.button = {.key = "krtest",
                .tooltip = QT_TRANSLATE_NOOP("orv::MainWindow", "Keyboard & RS232 Test"),
                .themeIcon = "utilities-terminal"},
     .group = ToolbarGroup::Test,
     .command = &MainWindow::mnuToolsKRtest_Click},
};

std::vector<const ToolbarButton*> MainWindow::ToolbarLayout() {
    std::vector<const ToolbarButton*> layout;
    auto hasKey = [&layout](const char* key) {
        return std::any_of(layout.begin(), layout.end(), [key](const ToolbarButton* b) {
            return b && qstrcmp(b->key, key) == 0;
        });
    };
    for (const ToolbarGroup group :
         {ToolbarGroup::File, ToolbarGroup::Windows, ToolbarGroup::Switch, ToolbarGroup::Test}) {
        if (!layout.empty())
            layout.push_back(nullptr);
        for (const CommandButton& b : CommandButtons) {
            if (b.group == group)
                layout.push_back(&b.button);
        }
        if (group != ToolbarGroup::Windows)
            continue;
        // The panels of both command sets share their buttons: each button once, where its
        // first window stands in the registry.
        for (const WindowRow& row : WindowRegistry()) {
            if (row.toolbar.key && !hasKey(row.toolbar.key))
                layout.push_back(&row.toolbar);
        }
    }
    return layout;
}

// ----- Menus -----

QAction* MainWindow::addMenuItem(QMenu* menu, const char* name, const char* caption,
                                 const QKeySequence& shortcut, void (MainWindow::*slot)()) {
    auto* a = menu->addAction(tr(caption));
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    // A menu item is checkable only while its window is open and shows the check mark (see
    // setMenuChecked); the window's closing removes the mark, never the click itself.
    connect(a, &QAction::triggered, this, [this, a, slot] {
        if (a->isCheckable())
            a->setChecked(true);
        (this->*slot)();
    });
    actions_.insert(a->objectName(), a);
    return a;
}

QAction* MainWindow::addWindowItem(QMenu* menu, const WindowRow& row, const char* name) {
    auto* a = menu->addAction(RegistryText(row.menuCaption));
    a->setObjectName(QString::fromLatin1(name));
    if (row.shortcut)
        a->setShortcut(QKeySequence(row.shortcut));
    // As addMenuItem: the check mark stays while the window is open.
    connect(a, &QAction::triggered, this, [this, a, &row] {
        if (a->isCheckable())
            a->setChecked(true);
        openWindowCommand(row);
    });
    actions_.insert(a->objectName(), a);
    return a;
}

QMenu* MainWindow::addTopMenu(const char* name, const char* caption) {
    QMenu* menu = menuBar()->addMenu(tr(caption));
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    actions_.insert(menu->objectName(), menu->menuAction());
    return menu;
}

void MainWindow::addSeparator(QMenu* menu, const char* name) {
    QAction* separator = menu->addSeparator();
    separator->setObjectName(QString::fromLatin1(name));
    actions_.insert(separator->objectName(), separator);
}

void MainWindow::createMenus() {
    menuBar()->setObjectName(QStringLiteral("menuBar"));
    createFileMenu();
    createCommandSetMenu(CommandSet::Bar);
    createCommandSetMenu(CommandSet::Mag);
    createToolsAndHelpMenus();
}

void MainWindow::createFileMenu() {
    using K = QKeySequence;
    QMenu* file = addTopMenu("mnuFile", QT_TR_NOOP("&File"));
    addMenuItem(file, "mnuFileNew", QT_TR_NOOP("&New"), K(Qt::CTRL | Qt::Key_N),
                &MainWindow::mnuFileNew_Click);
    addMenuItem(file, "mnuFileOpen", QT_TR_NOOP("&Open..."), K(Qt::CTRL | Qt::Key_O),
                &MainWindow::mnuFileOpen_Click);
    addMenuItem(file, "mnuFileSave", QT_TR_NOOP("&Save"), K(Qt::CTRL | Qt::Key_S),
                &MainWindow::mnuFileSave_Click);
    addMenuItem(file, "mnuFileSaveAs", QT_TR_NOOP("Save &As..."), K(Qt::CTRL | Qt::Key_A),
                &MainWindow::mnuFileSaveAs_Click);
    addMenuItem(file, "mnuFileDefault", QT_TR_NOOP("Save As &Default"), K(),
                &MainWindow::mnuFileDefault_Click);
    addSeparator(file, "mnuMinus");
    addMenuItem(file, "mnuFileExit", QT_TR_NOOP("E&xit"), K(Qt::CTRL | Qt::Key_X),
                &MainWindow::mnuFileExit_Click);
}

void MainWindow::createCommandSetMenu(CommandSet set) {
    const bool mag = set == CommandSet::Mag;
    QMenu* menu = mag ? addTopMenu("mnuMag", QT_TR_NOOP("&Magnic_Reader"))
                      : addTopMenu("mnuConfig", QT_TR_NOOP("&Bar_Decoder"));
    for (const WindowRow& row : WindowRegistry()) {
        if (row.commandSet == set)
            addWindowItem(menu, row, row.info.menuItem);
    }
    addSeparator(menu, mag ? "mnuMagMinus1" : "mnuMinus1");
    addMenuItem(menu, mag ? "mnuMagDefault" : "mnuConfigDefault", QT_TR_NOOP("&Set All Default"),
                QKeySequence(),
                mag ? &MainWindow::mnuMagDefault_Click : &MainWindow::mnuConfigDefault_Click);
    addSeparator(menu, mag ? "mnuMagMinus2" : "mnuMinus2");
    for (const WindowRow& row : WindowRegistry()) {
        if (row.magMenuItem)
            addWindowItem(menu, row, mag ? row.magMenuItem : row.info.menuItem);
    }
}

void MainWindow::createToolsAndHelpMenus() {
    QMenu* tools = addTopMenu("mnuTools", QT_TR_NOOP("&Tools"));
    addWindowItem(tools, FirmwareWindowRow(), FirmwareWindowRow().info.menuItem);
    addMenuItem(tools, "mnuToolsKRtest", QT_TR_NOOP("&KR Test"), QKeySequence(),
                &MainWindow::mnuToolsKRtest_Click);
    // Read Decoder Memory is created unavailable and nothing makes it available; it is shown
    // greyed out so that users see the command exists.
    const WindowRow& memory = *FindWindowRow(PanelReadMemory);
    addWindowItem(tools, memory, memory.info.menuItem)->setEnabled(false);

    QMenu* help = addTopMenu("mnuHelp", QT_TR_NOOP("&Help"));
    addMenuItem(help, "mnuHelpContents", QT_TR_NOOP("&Contents"), QKeySequence(),
                &MainWindow::mnuHelpContents_Click);
    addMenuItem(help, "mnuHelpAbout", QT_TR_NOOP("&About"), QKeySequence(),
                &MainWindow::mnuHelpAbout_Click);
    // F1 reaches the same help as Help > Contents.
    auto* helpKey = new QAction(this);
    helpKey->setObjectName(QStringLiteral("helpKey"));
    helpKey->setShortcut(QKeySequence::HelpContents);
    connect(helpKey, &QAction::triggered, this, &MainWindow::mnuHelpContents_Click);
    addAction(helpKey);
}

// ----- Toolbar -----

void MainWindow::createToolbar() {
    toolbar_ = addToolBar(QStringLiteral("Toolbar1"));
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolbar_->setIconSize(QSize(24, 24));
    startUpIcons_ = StartUpIconSource();
    int separators = 0;
    for (const ToolbarButton* button : ToolbarLayout()) {
        if (button)
            addToolbarButton(*button);
        else
            toolbar_->addSeparator()->setObjectName(
                QStringLiteral("Toolbar1_separator%1").arg(++separators));
    }
}

void MainWindow::addToolbarButton(const ToolbarButton& button) {
    const QString key = QString::fromLatin1(button.key);
    const QString tooltip = tr(button.tooltip);
    auto* a = toolbar_->addAction(ToolbarIcon(key, startUpIcons_), tooltip);
    a->setObjectName(QStringLiteral("Toolbar1_") + key);
    a->setToolTip(tooltip);
    a->setData(key);
    if (key == QLatin1String("mag")) {
        // The two-state button switches the command set whenever its state changes: by a
        // click, or by an accessibility client's Toggle action, which changes the state
        // without triggering. showModeButtons() sets the state without a switch.
        a->setCheckable(true);
        connect(a, &QAction::toggled, this, [this, key] {
            if (!syncingModeButtons_)
                Toolbar1_ButtonClick(key);
        });
    } else {
        connect(a, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    }
    actions_.insert(a->objectName(), a);
    // Icon-only buttons carry their tooltip as accessible name and description.
    if (QWidget* w = toolbar_->widgetForAction(a)) {
        w->setObjectName(a->objectName() + QStringLiteral("_button"));
        w->setAccessibleName(tooltip);
        w->setAccessibleDescription(tooltip);
    }
}

void MainWindow::applyLateIcons() {
    // Where the window was first drawn with the PNGs, the SVG sources take over now, so that
    // the icons stay sharp on a screen of any scale.
    const bool svgNow = startUpIcons_ == IconSource::Png;
    if (svgNow)
        QApplication::setWindowIcon(ProgramIcon());
    for (const ToolbarButton* button : ToolbarLayout()) {
        QAction* a =
            button ? action(QStringLiteral("Toolbar1_") + QLatin1String(button->key)) : nullptr;
        if (!a)
            continue;
        const QString themeName = QString::fromLatin1(button->themeIcon);
        if (QIcon::hasThemeIcon(themeName))
            a->setIcon(QIcon::fromTheme(themeName));
        else if (svgNow)
            a->setIcon(ToolbarIcon(QString::fromLatin1(button->key)));
    }
}

void MainWindow::Toolbar1_ButtonClick(const QString& key) {
    // The key is compared as exact text. A window's button opens the window of its key in the
    // current command set ("bar" opens none while the magnetic reader's is current).
    const auto command =
        std::find_if(std::begin(CommandButtons), std::end(CommandButtons),
                     [&key](const CommandButton& b) { return key == QLatin1String(b.button.key); });
    if (command != std::end(CommandButtons))
        (this->*command->command)();
    else if (const WindowRow* row = ToolbarWindowRow(key, config_.MagMode))
        openWindowCommand(*row);
    // The "mag" button shows the command set whatever the click did to it.
    showModeButtons(config_.MagMode);
}

} // namespace orv
