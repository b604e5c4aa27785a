#pragma once

#include "panels/interfacepanel.h"

namespace orv {

// cfg3, "Interface": the header strings of the configuration and the bar decoder's interface.
class BarInterfacePanel : public InterfacePanel {
    Q_OBJECT
public:
    BarInterfacePanel(Config& config, const WindowSpec& spec, QWidget* parent = nullptr);
};

} // namespace orv
