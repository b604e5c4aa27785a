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
#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QMdiArea>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWindow>

namespace orv {

namespace {

// Where the window's size and position are kept in the settings file.
const QString GeometryKey = QStringLiteral("MainWindow/geometry");

} // namespace

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
        if (openWindow(row.info.number))
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
    if (row.info.number == NoPanel)
        openFirmwareWindow();
    else
        openFromMenu(row.info.number);
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

// ----- Closing -----

void MainWindow::closeEvent(QCloseEvent* event) {
    // The open child windows close first; one that refuses keeps the program open.
    for (const WindowRow& row : WindowRegistry()) {
        if (row.info.number != NoPanel)
            closeWindow(row.info.number);
    }
    closeFirmwareWindow();
    if (anyChildOpen()) {
        event->ignore();
        return;
    }
    if (!askToSave(SaveQuestion::IfChanged)) {
        event->ignore();
        return;
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
