// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tabframes.h"

#include "ui/controls.h"
#include "ui/names.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QStackedLayout>
#include <QTabBar>
#include <QVBoxLayout>

namespace orv {

TabFrames::TabFrames(const QString& tabStrip, const QString& frames, QWidget* parent)
    : QWidget(parent), framesName_(frames) {
    tabBar_ = new QTabBar;
    tabBar_->setObjectName(tabStrip);
    tabBar_->setExpanding(false);
    stack_ = new QStackedLayout;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tabBar_);
    layout->addLayout(stack_);
    connect(tabBar_, &QTabBar::currentChanged, this, &TabFrames::TabClick);
}

QGroupBox* TabFrames::addTab(const QString& caption, const QString& toolTip,
                             const QString& frameCaption) {
    const int index = static_cast<int>(frames_.size());
    QGroupBox* frame = TitledFrame(ArrayName(framesName_, index), frameCaption);
    frames_.push_back(frame);
    stack_->addWidget(frame); // the stack shows the first frame and hides the others
    tabBar_->addTab(caption);
    tabBar_->setTabToolTip(index, toolTip);
    return frame;
}

void TabFrames::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (keyWindow_)
        return;
    // The child window the strip stands in: its keys pass through it whichever control has the
    // focus, and so does a key pressed while the window itself has it.
    keyWindow_ = this;
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        keyWindow_ = w;
        if (qobject_cast<QMdiSubWindow*>(w) || w->isWindow())
            break;
    }
    keyWindow_->installEventFilter(this);
}

int TabFrames::tabOfAccessKey(const QKeyEvent* key) const {
    if (key->modifiers() != Qt::AltModifier)
        return -1;
    const QKeySequence pressed(key->keyCombination());
    for (int i = 0; i < tabBar_->count(); ++i) {
        if (tabBar_->isTabEnabled(i) && QKeySequence::mnemonic(tabBar_->tabText(i)) == pressed)
            return i;
    }
    return -1;
}

bool TabFrames::eventFilter(QObject* watched, QEvent* event) {
    if (watched == keyWindow_ &&
        (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const int tab = tabOfAccessKey(key);
        if (tab >= 0) {
            key->accept(); // an override taken here keeps the menu bar from the key
            if (event->type() == QEvent::KeyPress)
                tabBar_->setCurrentIndex(tab);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TabFrames::TabClick(int index) {
    if (index < 0 || index == currentFrame_)
        return;
    // Shows frame `index` and hides frame CurrentFrame.
    stack_->setCurrentIndex(index);
    currentFrame_ = index;
}

} // namespace orv
