#include "placeholderwindow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

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

PlaceholderDialog::PlaceholderDialog(const QString& objectName, const QString& caption,
                                     QWidget* parent)
    : QDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr(NotYet)));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

} // namespace orv
