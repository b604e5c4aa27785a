#pragma once

#include "ui/childwindow.h"

#include <QDialog>

namespace orv {

// Stands in for a child window that this build does not have yet. It opens, closes and keeps
// ActivePanel and the menu marks exactly as the real window does.
class PlaceholderWindow : public ChildWindow {
    Q_OBJECT
public:
    PlaceholderWindow(Config& config, const WindowSpec& spec, QWidget* parent = nullptr);
};

// Stands in for the modal keyboard and RS232 test window.
class PlaceholderDialog : public QDialog {
    Q_OBJECT
public:
    PlaceholderDialog(const QString& objectName, const QString& caption, QWidget* parent = nullptr);
};

} // namespace orv
