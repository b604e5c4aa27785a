// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowinfo.h"

#include <QMdiSubWindow>

namespace orv {

class Config;

// What a child window asks of the window that hosts it: the marks it puts on the host's menu
// while it is open (menu items by object name). The main window implements it.
class ChildHost {
public:
    virtual ~ChildHost() = default;
    virtual void setMenuChecked(const QString& item, bool checked) = 0;
    virtual void setMenuEnabled(const QString& item, bool enabled) = 0;
};

// Base of every child window of the main window: the settings panels and the link windows.
// Loading sets ActivePanel and, on its host, the menu marks of the window's info, then runs
// onLoad(); unloading (closing by any path) runs onUnload() and undoes them. A window may refuse to
// close by returning false from queryUnload().
class ChildWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    ChildWindow(Config& config, const WindowInfo& info, QWidget* parent = nullptr);

    const WindowInfo& info() const { return info_; }
    Config& config() const { return config_; }

    // The window that hosts this one; set before load(). Without a host no menu is marked.
    void setHost(ChildHost* host) { host_ = host; }

    // Form_Load. Called once by whoever creates the window, before it is shown.
    void load();
    bool isLoaded() const { return loaded_; }
    bool isUnloaded() const { return unloaded_; }

signals:
    // Emitted once, when the window has been unloaded.
    void unloaded(orv::ChildWindow* window);

protected:
    virtual void onLoad() {}
    // Asked before closing; false keeps the window open.
    virtual bool queryUnload() { return true; }
    virtual void onUnload() {}

    void closeEvent(QCloseEvent* event) override;

private:
    Config& config_;
    const WindowInfo& info_;
    ChildHost* host_ = nullptr;
    bool loaded_ = false;
    bool unloaded_ = false;
};

} // namespace orv
