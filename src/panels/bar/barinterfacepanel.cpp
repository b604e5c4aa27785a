#include "barinterfacepanel.h"

namespace orv {

namespace {

// Byte 22 bits 0..1 may hold 3 (from a file or from the decoder), which no option stands for:
// the panel then shows no option selected and keeps the 3 until the user chooses an interface.
// "Read Memory Enable" shows and keeps the read memory bit; nothing lets the user change it.
// clang-format off
const InterfaceTable Bar{
    "&User Information", "Interface Selection and 2nd Port Input Device Selection",
    {"optCFG3_1", "fraCfg3_1", "Interface", {22, 0x03, 0},
     {"Keyboard Mode", "USB Mode", "RS232 Mode"}, {{0, 2}, {1}}, {}, {}, "cmdDefault31_2"},
    {{"ChkRead", "Read Memory Enable", {24, 0x01, 0}, false, true}},
};
// clang-format on

} // namespace

BarInterfacePanel::BarInterfacePanel(Config& config, const WindowInfo& info, QWidget* parent)
    : InterfacePanel(config, info, Bar, parent) {}

} // namespace orv
