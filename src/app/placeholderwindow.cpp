#include "placeholderwindow.h"

#include <QLabel>

namespace orv {

namespace {
const char* const NotYet = "This window is not available in this version.";
}

PlaceholderWindow::PlaceholderWindow(Config& config, const WindowSpec& spec, QWidget* parent)
    : ChildWindow(config, spec, parent) {
    auto* label = new QLabel(tr(NotYet));
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumSize(320, 120);
    setWidget(label);
}

} // namespace orv
