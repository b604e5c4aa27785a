// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "childwindow.h"

#include "core/config.h"

#include <QCloseEvent>
#include <QMenu>

namespace orv {

ChildWindow::ChildWindow(Config& config, const WindowInfo& info, QWidget* parent)
    : QMdiSubWindow(parent), config_(config), info_(info) {
    setObjectName(QString::fromLatin1(info.objectName));
    setWindowTitle(RegistryText(info.caption));
    setAttribute(Qt::WA_DeleteOnClose);
    // The window menu's own shortcuts (Ctrl+F4 closes) would take keys the main window's menu
    // items use: the windows close through their own buttons and the main window's commands.
    if (QMenu* menu = systemMenu()) {
        for (QAction* a : menu->actions())
            a->setShortcuts({});
    }
}

void ChildWindow::load() {
    if (loaded_)
        return;
    loaded_ = true;
    if (info_.number != NoPanel)
        config_.ActivePanel = static_cast<qint16>(info_.number);
    if (host_) {
        if (info_.checksMenuItem)
            host_->setMenuChecked(QString::fromLatin1(info_.menuItem), true);
        if (info_.defaultItem)
            host_->setMenuEnabled(QString::fromLatin1(info_.defaultItem), false);
    }
    onLoad();
}

void ChildWindow::closeEvent(QCloseEvent* event) {
    if (unloaded_) {
        event->accept();
        return;
    }
    if (!queryUnload()) {
        event->ignore();
        return;
    }
    unloaded_ = true;
    onUnload();
    if (loaded_) {
        if (info_.number != NoPanel)
            config_.ActivePanel = NoPanel;
        if (host_) {
            if (info_.defaultItem)
                host_->setMenuEnabled(QString::fromLatin1(info_.defaultItem), true);
            if (info_.checksMenuItem)
                host_->setMenuChecked(QString::fromLatin1(info_.menuItem), false);
        }
    }
    QMdiSubWindow::closeEvent(event);
    emit unloaded(this);
}

} // namespace orv
