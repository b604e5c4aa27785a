#pragma once

#include "windowinfo.h"

#include <QMdiSubWindow>

namespace orv {

class Config;

// Base of every child window of the main window: the settings panels and the link windows.
// Loading sets ActivePanel and the menu marks of the window's info, then runs onLoad();
// unloading (closing by any path) runs onUnload() and undoes them. A window may refuse to
// close by returning false from queryUnload().
class ChildWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    ChildWindow(Config& config, const WindowInfo& info, QWidget* parent = nullptr);

    const WindowInfo& info() const { return info_; }
    Config& config() const { return config_; }

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
    bool loaded_ = false;
    bool unloaded_ = false;
};

} // namespace orv
