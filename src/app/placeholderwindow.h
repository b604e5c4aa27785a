#pragma once

#include "ui/childwindow.h"

namespace orv {

// Stands in for a child window that this build does not have yet. It opens, closes and keeps
// ActivePanel and the menu marks exactly as the real window does.
class PlaceholderWindow : public ChildWindow {
    Q_OBJECT
public:
    PlaceholderWindow(Config& config, const WindowSpec& spec, QWidget* parent = nullptr);
};

} // namespace orv
