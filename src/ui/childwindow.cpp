#include "childwindow.h"

#include "core/config.h"

#include <QCloseEvent>

namespace orv {

ChildWindow::ChildWindow(Config& config, const WindowSpec& spec, QWidget* parent)
    : QMdiSubWindow(parent), config_(config), spec_(spec) {
    setObjectName(QString::fromLatin1(spec.objectName));
    setWindowTitle(QString::fromLatin1(spec.caption));
    setAttribute(Qt::WA_DeleteOnClose);
}

void ChildWindow::load() {
    if (loaded_)
        return;
    loaded_ = true;
    if (spec_.number != NoPanel)
        config_.ActivePanel = static_cast<qint16>(spec_.number);
    if (Shell* shell = config_.shell()) {
        if (spec_.menuItem)
            shell->setMenuChecked(QString::fromLatin1(spec_.menuItem), true);
        if (spec_.defaultItem)
            shell->setMenuEnabled(QString::fromLatin1(spec_.defaultItem), false);
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
        if (spec_.number != NoPanel)
            config_.ActivePanel = NoPanel;
        if (Shell* shell = config_.shell()) {
            if (spec_.defaultItem)
                shell->setMenuEnabled(QString::fromLatin1(spec_.defaultItem), true);
            if (spec_.menuItem)
                shell->setMenuChecked(QString::fromLatin1(spec_.menuItem), false);
        }
    }
    QMdiSubWindow::closeEvent(event);
    emit unloaded(this);
}

} // namespace orv
