// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow.h"

#include "aboutbox.h"
#include "windowfactory.h"
#include "windowplace.h"
#include "windowregistry.h"

#include "core/dialogs.h"
#include "core/filename.h"
#include "core/launcher.h"
#include "link/portaccess/portaccess.h"
#include "ui/childwindow.h"
#include "ui/programtitle.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMdiArea>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

namespace orv {

namespace {

// Where the window's size and position are kept in the settings file.
const QString GeometryKey = QStringLiteral("MainWindow/geometry");

} // namespace

const MainWindow::ToolButton MainWindow::ToolButtons[] = {
    {"new", QT_TRANSLATE_NOOP("orv::MainWindow", "New File"), "document-new",
     &MainWindow::mnuFileNew_Click},
    {"open", QT_TRANSLATE_NOOP("orv::MainWindow", "Open File"), "document-open",
     &MainWindow::mnuFileOpen_Click},
    {"save", QT_TRANSLATE_NOOP("orv::MainWindow", "Save File"), "document-save",
     &MainWindow::mnuFileSave_Click},
    {nullptr, nullptr, nullptr, nullptr},
    {"irm", QT_TRANSLATE_NOOP("orv::MainWindow", "Interface and Reading Mode"), "input-keyboard",
     nullptr},
    {"com", QT_TRANSLATE_NOOP("orv::MainWindow", "Communication Parameters"), "network-wired",
     nullptr},
    {"bar", QT_TRANSLATE_NOOP("orv::MainWindow", "Bar Codes and Others"), "format-justify-fill",
     nullptr},
    {"mis", QT_TRANSLATE_NOOP("orv::MainWindow", "Miscellaneous Parameters"), "preferences-system",
     nullptr},
    {"transmit", QT_TRANSLATE_NOOP("orv::MainWindow", "Transmit"), "network-transmit-receive",
     nullptr},
    {nullptr, nullptr, nullptr, nullptr},
    {"mag", QT_TRANSLATE_NOOP("orv::MainWindow", "Magnet Reader"), "media-flash",
     &MainWindow::toggleCommandSet},
    {nullptr, nullptr, nullptr, nullptr},
    {"krtest", QT_TRANSLATE_NOOP("orv::MainWindow", "Keyboard & RS232 Test"), "utilities-terminal",
     &MainWindow::mnuToolsKRtest_Click},
};

MainWindow::MainWindow(Config& config, const Services& services, const AppPaths& paths,
                       QWidget* parent)
    : QMainWindow(parent), config_(config), services_(services), paths_(paths),
      factory_(std::make_unique<WindowFactory>(config, services)) {
    setObjectName(QStringLiteral("MDImain"));
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("MDIClient"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    createMenus();
    createToolbar();
    resize(800, 600);
}

MainWindow::~MainWindow() = default;

void MainWindow::setWindowFactory(std::unique_ptr<WindowFactory> factory) {
    factory_ = std::move(factory);
}

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

void MainWindow::createMenus() {
    auto separator = [this](QMenu* menu, const char* name) {
        QAction* s = menu->addSeparator();
        s->setObjectName(QString::fromLatin1(name));
        actions_.insert(s->objectName(), s);
    };
    auto topMenu = [this](const char* name, const char* caption) {
        QMenu* m = menuBar()->addMenu(tr(caption));
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        actions_.insert(m->objectName(), m->menuAction());
        return m;
    };
    using K = QKeySequence;
    menuBar()->setObjectName(QStringLiteral("menuBar"));

    QMenu* file = topMenu("mnuFile", QT_TR_NOOP("&File"));
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
    separator(file, "mnuMinus");
    addMenuItem(file, "mnuFileExit", QT_TR_NOOP("E&xit"), K(Qt::CTRL | Qt::Key_X),
                &MainWindow::mnuFileExit_Click);

    // Each command set's menu: its panels, Set All Default, then the windows both menus open.
    auto commandSetMenu = [&](const char* name, const char* caption, CommandSet set,
                              const char* firstSeparator, const char* defaultItem,
                              void (MainWindow::*setAllDefault)(), const char* lastSeparator) {
        QMenu* menu = topMenu(name, caption);
        for (const WindowRow& row : WindowRegistry()) {
            if (row.commandSet == set)
                addWindowItem(menu, row, row.menuItem);
        }
        separator(menu, firstSeparator);
        addMenuItem(menu, defaultItem, QT_TR_NOOP("&Set All Default"), K(), setAllDefault);
        separator(menu, lastSeparator);
        for (const WindowRow& row : WindowRegistry()) {
            if (row.magMenuItem)
                addWindowItem(menu, row, set == CommandSet::Mag ? row.magMenuItem : row.menuItem);
        }
    };
    commandSetMenu("mnuConfig", QT_TR_NOOP("&Bar_Decoder"), CommandSet::Bar, "mnuMinus1",
                   "mnuConfigDefault", &MainWindow::mnuConfigDefault_Click, "mnuMinus2");
    commandSetMenu("mnuMag", QT_TR_NOOP("&Magnic_Reader"), CommandSet::Mag, "mnuMagMinus1",
                   "mnuMagDefault", &MainWindow::mnuMagDefault_Click, "mnuMagMinus2");

    QMenu* tools = topMenu("mnuTools", QT_TR_NOOP("&Tools"));
    addWindowItem(tools, FirmwareWindowRow(), FirmwareWindowRow().menuItem);
    addMenuItem(tools, "mnuToolsKRtest", QT_TR_NOOP("&KR Test"), K(),
                &MainWindow::mnuToolsKRtest_Click);
    // Read Decoder Memory is created unavailable and nothing makes it available; it is shown
    // greyed out so that users see the command exists.
    const WindowRow& memory = *FindWindowRow(PanelReadMemory);
    addWindowItem(tools, memory, memory.menuItem)->setEnabled(false);

    QMenu* help = topMenu("mnuHelp", QT_TR_NOOP("&Help"));
    addMenuItem(help, "mnuHelpContents", QT_TR_NOOP("&Contents"), K(),
                &MainWindow::mnuHelpContents_Click);
    addMenuItem(help, "mnuHelpAbout", QT_TR_NOOP("&About"), K(), &MainWindow::mnuHelpAbout_Click);
    // F1 reaches the same help as Help > Contents.
    auto* f1 = new QAction(this);
    f1->setObjectName(QStringLiteral("helpKey"));
    f1->setShortcut(QKeySequence::HelpContents);
    connect(f1, &QAction::triggered, this, &MainWindow::mnuHelpContents_Click);
    addAction(f1);
}

void MainWindow::createToolbar() {
    toolbar_ = addToolBar(QStringLiteral("Toolbar1"));
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolbar_->setIconSize(QSize(24, 24));
    startUpIcons_ = StartUpIconSource();
    int separators = 0;
    for (const ToolButton& b : ToolButtons) {
        if (!b.key) {
            toolbar_->addSeparator()->setObjectName(
                QStringLiteral("Toolbar1_separator%1").arg(++separators));
            continue;
        }
        const QString key = QString::fromLatin1(b.key);
        Q_ASSERT(b.command || ToolbarWindowRow(key, false) || ToolbarWindowRow(key, true));
        auto* a = toolbar_->addAction(ToolbarIcon(key, startUpIcons_), tr(b.tooltip));
        a->setObjectName(QStringLiteral("Toolbar1_") + key);
        a->setToolTip(tr(b.tooltip));
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
            w->setAccessibleName(a->toolTip());
            w->setAccessibleDescription(a->toolTip());
        }
    }
}

void MainWindow::applyLateIcons() {
    // Where the window was first drawn with the PNGs, the SVG sources take over now, so that
    // the icons stay sharp on a screen of any scale.
    const bool svgNow = startUpIcons_ == IconSource::Png;
    if (svgNow)
        QApplication::setWindowIcon(ProgramIcon());
    for (const ToolButton& b : ToolButtons) {
        if (!b.key)
            continue;
        QAction* a = action(QStringLiteral("Toolbar1_") + QLatin1String(b.key));
        if (!a)
            continue;
        const QString themeName = QString::fromLatin1(b.themeIcon);
        if (QIcon::hasThemeIcon(themeName))
            a->setIcon(QIcon::fromTheme(themeName));
        else if (svgNow)
            a->setIcon(ToolbarIcon(QString::fromLatin1(b.key)));
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose &&
        windowHandle()->isExposed()) {
        // The window has been drawn once: now take the desktop theme's toolbar icons, and the
        // SVG icons where it was drawn with the PNGs. Reading the icon theme costs more than
        // drawing the whole window, so it waits until then.
        windowHandle()->removeEventFilter(this);
        QTimer::singleShot(0, this, &MainWindow::applyLateIcons);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!themeIconsPending_)
        return;
    themeIconsPending_ = false;
    if (windowHandle())
        windowHandle()->installEventFilter(this);
}

QAction* MainWindow::action(const QString& objectName) const {
    return actions_.value(objectName, nullptr);
}

void MainWindow::setCaption(const QString& name) {
    // A configuration without a file is named "New File" in the user's language.
    const bool newFile = config_.CfgFileName == Config::NewFileName;
    setWindowTitle(Caption(name, newFile ? tr("New File") : ShownFileName(config_.CfgFileName)));
}

void MainWindow::load() {
    if (loaded_)
        return;
    loaded_ = true;
    // 1. Port access: up to ten attempts, and one warning when all of them fail.
    bool portAccess = false;
    for (int attempt = 0; attempt < 10 && !portAccess; ++attempt) {
        portAccess = services_.portAccess.InitializeWinIo();
        if (!portAccess)
            services_.portAccess.ShutdownWinIo();
    }
    if (!portAccess) {
        services_.dialogs.inform(tr("There is an error for keyboard, you can download "
                                    "and upload CFG data only thru RS232!"),
                                 ProgramTitle());
    }
    // 2.-4. Start values.
    config_.InitStartState(today());
    setCaption(ProgramName);
    // 5. The context help file.
    helpFile_ = QStringLiteral("cfg.hlp");
    // 6.-7. The default image, then the working and saved images from it.
    loadDefaults();
    config_.CfgData = config_.CfgDefault;
    config_.CfgSaved = config_.CfgDefault;
    showModeButtons(false);
    restorePlace();
}

void MainWindow::start(const QString& file) {
    load();
    show();
    if (!file.isEmpty())
        openFile(file);
}

void MainWindow::restorePlace() {
    const QString file = OpenableSettingsFile(paths_.settingsFile());
    const QByteArray kept =
        file.isEmpty() ? QByteArray()
                       : QSettings(file, QSettings::IniFormat).value(GeometryKey).toByteArray();
    if (!kept.isEmpty())
        restoreGeometry(kept);
    // The window starts in its normal state, whatever state it was left in.
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
    // Its place, kept or the default one, fits the free area of its screen (a small or scaled
    // screen, or another screen than the one it was left on).
    const QScreen* s = QGuiApplication::screenAt(geometry().center());
    if (!s)
        s = screen();
    if (!s)
        return;
    // The frame counts too, where the platform tells its size before the window shows.
    create();
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QRect fitted =
        FitIntoArea(geometry().marginsAdded(frame), s->availableGeometry()).marginsRemoved(frame);
    // A window never placed (no place kept) is left for the window manager to place.
    if (testAttribute(Qt::WA_Moved))
        setGeometry(fitted);
    else
        resize(fitted.size());
}

void MainWindow::rememberPlace() {
    const QString file = OpenableSettingsFile(paths_.settingsFile());
    if (!file.isEmpty())
        QSettings(file, QSettings::IniFormat).setValue(GeometryKey, saveGeometry());
}

// ----- The open window and the mode buttons -----

ChildWindow* MainWindow::openWindow(int number) const {
    if (number < PanelCfg3 || number > PanelReadMemory)
        return nullptr;
    ChildWindow* w = windows_[number];
    return (w && !w->isUnloaded()) ? w : nullptr;
}

void MainWindow::closeWindow(int panelNumber) {
    if (ChildWindow* w = openWindow(panelNumber))
        w->close();
}

void MainWindow::closeFirmwareWindow() {
    if (firmware_ && !firmware_->isUnloaded())
        firmware_->close();
}

int MainWindow::CloseActivePanel() {
    const int old = config_.ActivePanel;
    closeWindow(old); // nothing for 0 or a number outside 1..9
    closeFirmwareWindow();
    return old;
}

void MainWindow::SyncModeButtons() {
    showModeButtons(config_.MagMode);
    if (config_.MagMode)
        closeWindow(PanelCfg5);
}

void MainWindow::showModeButtons(bool magMode) {
    const QScopedValueRollback syncing(syncingModeButtons_, true);
    if (QAction* mag = action(QStringLiteral("Toolbar1_mag")))
        mag->setChecked(magMode);
    if (QAction* bar = action(QStringLiteral("Toolbar1_bar")))
        bar->setEnabled(!magMode);
}

void MainWindow::setMenuChecked(const QString& item, bool checked) {
    if (QAction* a = action(item)) {
        a->setCheckable(checked);
        a->setChecked(checked);
    }
}

void MainWindow::setMenuEnabled(const QString& item, bool enabled) {
    if (QAction* a = action(item))
        a->setEnabled(enabled);
}

// ----- Child windows -----

bool MainWindow::anyChildOpen() const {
    for (const WindowRow& row : WindowRegistry()) {
        if (openWindow(row.number))
            return true;
    }
    return firmware_ && !firmware_->isUnloaded();
}

void MainWindow::adopt(ChildWindow* window) {
    mdi_->addSubWindow(window);
    window->setHost(this);
    connect(window, &ChildWindow::unloaded, this, [this](ChildWindow* w) {
        for (auto& slot : windows_) {
            if (slot == w)
                slot = nullptr;
        }
        if (firmware_ == w)
            firmware_ = nullptr;
    });
    window->load();
    if (window->info().maximized)
        window->showMaximized();
    else
        window->show();
    window->setFocus();
}

ChildWindow* MainWindow::showChild(int number) {
    ChildWindow* w = factory_->createChild(number, nullptr);
    if (!w)
        return nullptr;
    windows_[number] = w;
    adopt(w);
    return openWindow(number);
}

void MainWindow::openWindowCommand(const WindowRow& row) {
    if (row.number == NoPanel)
        openFirmwareWindow();
    else
        openFromMenu(row.number);
}

void MainWindow::openFromMenu(int number) {
    const WindowRow* row = FindWindowRow(number);
    if (!row)
        return;
    const int old = CloseActivePanel();
    if (old == number)
        return; // choosing the command of the open window closes it
    if (anyChildOpen())
        return; // a window that is busy refused to close; it stays in front
    if (row->commandSet != CommandSet::None) {
        config_.MagMode = (row->commandSet == CommandSet::Mag);
        SyncModeButtons();
    }
    if (number == PanelReadMemory)
        config_.ActivePanel = PanelReadMemory;
    if (showChild(number))
        config_.ActivePanel = static_cast<qint16>(number);
}

void MainWindow::toggleCommandSet() {
    if (config_.MagMode) {
        config_.MagMode = false;
        showModeButtons(false);
    } else {
        config_.MagMode = true;
        showModeButtons(true);
        closeWindow(PanelCfg5);
    }
    const int old = CloseActivePanel();
    if (anyChildOpen())
        return;
    const WindowRow* row = FindWindowRow(old);
    if (row && row->counterpart != NoPanel)
        showChild(row->counterpart); // the window's own loading sets ActivePanel
}

// The memory window's item is created unavailable: this is its command.
void MainWindow::mnuToolsRDM_Click() {
    openFromMenu(PanelReadMemory);
}

void MainWindow::mnuConfigDefault_Click() {
    const auto answer = services_.dialogs.message(
        {tr("Are you sure to set all to default values for Bar Decoder?"), ProgramTitle(),
         Dialogs::Buttons::YesNo, Dialogs::Icon::Exclamation, Dialogs::Answer::No});
    if (answer == Dialogs::Answer::Yes)
        config_.RestoreBarDefaults();
}

void MainWindow::mnuMagDefault_Click() {
    const auto answer = services_.dialogs.message(
        {tr("Are you sure to set all to default values for Magnet Reader?"), ProgramTitle(),
         Dialogs::Buttons::YesNo, Dialogs::Icon::Exclamation, Dialogs::Answer::No});
    if (answer == Dialogs::Answer::Yes)
        config_.RestoreMagDefaults();
}

void MainWindow::openFirmwareWindow() {
    if (config_.ActivePanel != NoPanel) {
        CloseActivePanel();
        if (anyChildOpen())
            return; // a window that is busy refused to close
        config_.ActivePanel = NoPanel;
    }
    if (firmware_ && !firmware_->isUnloaded()) {
        mdi_->setActiveSubWindow(firmware_);
        return;
    }
    ChildWindow* w = factory_->createFirmwareWindow(nullptr);
    if (!w)
        return;
    firmware_ = w;
    adopt(w);
}

void MainWindow::mnuToolsKRtest_Click() {
    // Shown modal; the open window and ActivePanel are left alone.
    QDialog* dialog = factory_->createTestWindow(this);
    if (!dialog)
        return;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->exec();
}

void MainWindow::mnuHelpContents_Click() {
    if (services_.launcher.startDetached(QStringLiteral("hh"), {QStringLiteral("orvcfg.chm")}))
        return;
    if (services_.launcher.openFile(paths_.manualPath))
        return;
    services_.dialogs.inform(
        tr("The help could not be opened. The manual is the file %1.").arg(paths_.manualPath),
        ProgramTitle());
}

void MainWindow::mnuHelpAbout_Click() {
    if (!about_) {
        about_ = new AboutBox(services_.dialogs, this);
        about_->setAttribute(Qt::WA_DeleteOnClose);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void MainWindow::Toolbar1_ButtonClick(const QString& key) {
    // The key is compared as exact text. A window's button opens the window of its key in the
    // current command set ("bar" opens none while the magnetic reader's is current).
    for (const ToolButton& b : ToolButtons) {
        if (!b.key || key != QLatin1String(b.key))
            continue;
        if (b.command)
            (this->*b.command)();
        else if (const WindowRow* row = ToolbarWindowRow(key, config_.MagMode))
            openWindowCommand(*row);
        break;
    }
    // The "mag" button shows the command set whatever the click did to it.
    showModeButtons(config_.MagMode);
}

// ----- Exit and closing -----

void MainWindow::mnuFileExit_Click() {
    const auto answer = services_.dialogs.message(
        {tr("Do you want to save your file?"), ProgramTitle(), Dialogs::Buttons::YesNoCancel});
    if (answer == Dialogs::Answer::Cancel)
        return;
    if (answer == Dialogs::Answer::Yes && save() == SaveOutcome::Failed)
        return; // the failure was reported; closing now would lose the changes
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The open child windows close first; one that refuses keeps the program open.
    for (const WindowRow& row : WindowRegistry()) {
        if (row.number != NoPanel)
            closeWindow(row.number);
    }
    closeFirmwareWindow();
    if (anyChildOpen()) {
        event->ignore();
        return;
    }
    if (config_.HasUnsavedChanges()) {
        const auto answer = services_.dialogs.message(
            {tr("Configuration had been changed,do you want to save your file?"), ProgramTitle(),
             Dialogs::Buttons::YesNoCancel});
        if (answer == Dialogs::Answer::Cancel) {
            event->ignore();
            return;
        }
        if (answer == Dialogs::Answer::Yes && save() == SaveOutcome::Failed) {
            event->ignore();
            return;
        }
    }
    if (about_)
        about_->close();
    rememberPlace();
    services_.portAccess.ShutdownWinIo();
    event->accept();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMaximized)) {
        // The main window is never maximised: put it back to its normal state.
        QTimer::singleShot(0, this, [this] {
            if (windowState() & Qt::WindowMaximized)
                setWindowState(windowState() & ~Qt::WindowMaximized);
        });
    }
}

} // namespace orv
