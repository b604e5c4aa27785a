#include "tabframes.h"

#include "ui/names.h"

#include <QGroupBox>
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
    auto* frame = new QGroupBox(frameCaption);
    frame->setObjectName(ArrayName(framesName_, index));
    frames_.push_back(frame);
    stack_->addWidget(frame); // the stack shows the first frame and hides the others
    tabBar_->addTab(caption);
    tabBar_->setTabToolTip(index, toolTip);
    return frame;
}

void TabFrames::TabClick(int index) {
    if (index < 0 || index == currentFrame_)
        return;
    // Shows frame `index` and hides frame CurrentFrame.
    stack_->setCurrentIndex(index);
    currentFrame_ = index;
}

} // namespace orv
