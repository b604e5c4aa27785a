#include "maginterfacepanel.h"

namespace orv {

namespace {

// The interface is stored as the option's index times 64. A stored 3 (from a file or from the
// decoder) is shown as "USB Mode" and kept as 3 until the user chooses an interface, so that
// opening and closing the panel changes nothing.
// "Read Memory Enable" is shown but cannot be changed, "Disable  External Keyboard" is not shown
// at all; both keep their bits, and "Set Default" restores them.
// clang-format off
const InterfaceTable Mag{
    "&User Informations", "Interface and Code ID Selection",
    {"OptCfg3_1", "fraCfg3_1", "Interface ", {26, 0xC0, 6},
     {"Keyboard Mode", "USB Mode", "RS232 Mode"}, {{0, 2}, {1}}, {}, {{3, 1, false}},
     "cmdDefault31_2"},
    {{"ChkMSRMem", "Read Memory Enable", {25, 0x02, 1}, false, true},
     {"ChkNotebook", "Disable  External Keyboard", {25, 0x08, 3}, true, false}},
};
// clang-format on

} // namespace

MagInterfacePanel::MagInterfacePanel(Config& config, const WindowInfo& info, QWidget* parent)
    : InterfacePanel(config, info, Mag, parent) {}

} // namespace orv
