// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "apppaths.h"
#include "icons.h"
#include "windowregistry.h"

#include "core/config.h"
#include "link/services.h"
#include "ui/childwindow.h"
#include "ui/savedocument.h"

#include <QDate>
#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <vector>

class QAction;
class QMdiArea;
class QToolBar;

namespace orv {

class AboutBox;
class WindowFactory;

// MDImain: the program's main window. It starts the program, routes every menu and toolbar
// command, hosts at most one child window at a time, and ends the program.
class MainWindow : public QMainWindow, public ChildHost {
    Q_OBJECT
public:
    MainWindow(Config& config, const Services& services, const AppPaths& paths,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Replaces the factory of child windows (before load()).
    void setWindowFactory(std::unique_ptr<WindowFactory> factory);
    // The date that start-up and New write into SetupDate; today unless a test fixes it.
    void setToday(std::function<QDate()> today) { today_ = std::move(today); }

    // MDIForm_Load: port access, start values, defaults file, working images; then the
    // window's place of the last run.
    void load();
    // The program's start-up: load(), show the window, then open `file` (from the command
    // line; none when empty) as File > Open opens the file chosen in its dialog.
    void start(const QString& file = QString());
    // File > Open once the file is chosen: reads `path` into the configuration, or refuses it
    // with a message and changes nothing.
    void openFile(const QString& path);

    QMdiArea* mdiArea() const { return mdi_; }
    QToolBar* toolbar() const { return toolbar_; }
    QAction* action(const QString& objectName) const;
    // The open window with this ActivePanel number, or nullptr.
    ChildWindow* openWindow(int number) const;
    ChildWindow* firmwareWindow() const { return firmware_; }
    const QString& helpFile() const { return helpFile_; }
    // The file start-up reads the default image from, and the one Save As Default writes.
    QString defaultsReadPath() const;
    QString defaultsWritePath() const;

    // CloseActivePanel: closes the window that ActivePanel names and always the firmware update
    // window; returns the ActivePanel value found on entry.
    int CloseActivePanel();
    // SyncModeButtons: makes the "mag" and "bar" toolbar buttons agree with MagMode; with MagMode
    // set it also closes the bar codes panel.
    void SyncModeButtons();
    // Unloads the window that has this ActivePanel number, if it is open.
    void closeWindow(int panelNumber);
    // Unloads the firmware update window, if it is open.
    void closeFirmwareWindow();
    // Shows the "mag" toolbar button pressed and disables "bar" (magMode true), or the reverse.
    void showModeButtons(bool magMode);

    // ChildHost: the marks the child windows put on the menu while they are open.
    void setMenuChecked(const QString& item, bool checked) override;
    void setMenuEnabled(const QString& item, bool enabled) override;

public slots:
    // File commands.
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFileDefault_Click();
    void mnuFileExit_Click();
    // The Set All Default items of the Bar_Decoder and Magnic_Reader menus (their window
    // items run the registry's rows).
    void mnuConfigDefault_Click();
    void mnuMagDefault_Click();
    // Tools and Help.
    void mnuToolsKRtest_Click();
    void mnuToolsRDM_Click();
    void mnuHelpContents_Click();
    void mnuHelpAbout_Click();
    // Toolbar1_ButtonClick: the toolbar dispatches on the button's key.
    void Toolbar1_ButtonClick(const QString& key);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Toolbar1 from left to right, a separator between groups: the file commands, the buttons of
    // the registry's windows, the command set switch, the keyboard and RS232 test.
    enum class ToolbarGroup { File, Windows, Switch, Test };
    // A toolbar button that runs a command of the main window rather than opening a window of
    // the registry.
    struct CommandButton {
        ToolbarButton button;
        ToolbarGroup group;
        void (MainWindow::*command)();
    };
    static const CommandButton CommandButtons[];
    // Toolbar1's buttons in order; nullptr stands for a separator.
    static std::vector<const ToolbarButton*> ToolbarLayout();

    void createMenus();
    void createFileMenu();
    // The Bar_Decoder or Magnic_Reader menu: the command set's panels, Set All Default, then the
    // windows both menus open.
    void createCommandSetMenu(CommandSet set);
    void createToolsAndHelpMenus();
    QMenu* addTopMenu(const char* name, const char* caption);
    void addSeparator(QMenu* menu, const char* name);
    void createToolbar();
    void addToolbarButton(const ToolbarButton& button);
    // After the first paint: the desktop theme's icons for the toolbar buttons that the theme
    // has, and the SVG icons where the window was first drawn with the PNGs.
    void applyLateIcons();
    QAction* addMenuItem(QMenu* menu, const char* name, const char* caption,
                         const QKeySequence& shortcut, void (MainWindow::*slot)());
    // The menu item `name` that opens the registry's window `row`.
    QAction* addWindowItem(QMenu* menu, const WindowRow& row, const char* name);
    // The caption: `name` (ProgramName or ProgramTitle), then the configuration's file name.
    void setCaption(const QString& name);

    // The command of a window's menu item and toolbar button.
    void openWindowCommand(const WindowRow& row);
    // Opening a panel or link window (ActivePanel number 1..9) from the menu.
    void openFromMenu(int number);
    void openFirmwareWindow();
    // Creates, loads and shows the window with this number; nullptr if that failed.
    ChildWindow* showChild(int number);
    void adopt(ChildWindow* window);
    bool anyChildOpen() const;
    void toggleCommandSet();

    // File commands.
    // The question whether to save first: before Exit it is always asked, before closing, New
    // and Open only over unsaved changes.
    enum class SaveQuestion { BeforeExit, IfChanged };
    // Asks it; false when the command stops there: Cancel, or Yes and a save that failed (so
    // that the changes are not thrown away). A Save As cancelled in its dialog goes on.
    bool askToSave(SaveQuestion question);
    SaveOutcome save();
    SaveOutcome saveAs();
    SaveOutcome saveConfiguration(SaveMode mode);
    bool closeImageWindows();
    void loadDefaults();
    // The window's size and position, kept in the settings file between runs.
    void restorePlace();
    void rememberPlace();
    QDate today() const { return today_ ? today_() : QDate::currentDate(); }
    void reportFileError(const QString& text);

    Config& config_;
    Services services_;
    AppPaths paths_;
    std::unique_ptr<WindowFactory> factory_;
    std::function<QDate()> today_;
    QMdiArea* mdi_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QHash<QString, QAction*> actions_;
    QPointer<ChildWindow> windows_[PanelReadMemory + 1];
    QPointer<ChildWindow> firmware_;
    QPointer<AboutBox> about_;
    QString helpFile_;
    bool loaded_ = false;
    bool themeIconsPending_ = true;
    IconSource startUpIcons_ = IconSource::Png;
    bool syncingModeButtons_ = false; // showModeButtons() is setting the "mag" button
};

} // namespace orv
