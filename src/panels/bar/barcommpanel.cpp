#include "barcommpanel.h"

namespace orv {

namespace {

const std::vector<const char*> DisableEnable{"Disable", "Enable"};

// Each group: name, frame, frame caption, {byte, mask, shift}, captions by element, display rows
// (empty: one column in element order), code of each element (empty: its index), codes shown by
// another element, the "Set Default" button that restores it.
//
// Parity "None" is stored as 7. A stored 4 is shown as "None" too and kept as 4 until the user
// chooses a parity; 5 and 6, which no option stands for, show no option and are kept. A stored
// terminator 7 likewise shows no option and is kept.

// clang-format off
const CommTable Bar{
    {{
        {"optCfg41A", "fraCfg4_1A", "Baud Rate", {16, 0x0C, 2},
         {"2400", "4800", "9600", "19200"}, {{0, 1}, {2, 3}}, {}, {}, "cmdDefault41"},
        {"optCfg41B", "FraCfg4_1B", "Data Bits", {19, 0x08, 3},
         {"7 Data Bits", "8 Data Bits"}, {}, {}, {}, "cmdDefault41"},
        {"optCfg41C", "FraCfg4_1C", "Stop Bits", {19, 0x80, 7},
         {"2 Bits", "1 Bit"}, {{1}, {0}}, {}, {}, "cmdDefault41"},
        {"optCfg41D", "FraCfg4_1D", "Parity", {19, 0x70, 4},
         {"Space", "Mark", "Even", "Odd", "None"}, {{0, 3}, {1, 4}, {2}}, {0, 1, 2, 3, 7}, {{4, 4}},
         "cmdDefault41"},
        {"optRTSCTS", "Frame1", "RTS/CTS", {20, 0x08, 3}, DisableEnable, {}, {}, {}, "cmdDefault41"},
        {"optACKNCK", "Frame2", "ACK/NAK", {20, 0x10, 4}, DisableEnable, {}, {}, {}, "cmdDefault41"},
        {"optXONXOFF", "Frame3", "XON/XOFF", {20, 0x20, 5}, DisableEnable, {}, {}, {},
         "cmdDefault41"},
    }},
    {{
        {"optCfg42A", "fraCfg4_2A", "Terminal Type", {16, 0x03, 0},
         {"IBM PC/AT,PS/2", "IBM PC/XT", "Apple Desktop Bus(ADB)", "NEC 9800"}, {{0, 1}, {2, 3}},
         {}, {}, "cmdDefault42"},
        {"Optcfg42b", "fraCfg42B", "Upper/Lower Case", {19, 0x04, 2},
         {"Lower Case", "Upper Case"}, {{1}, {0}}, {}, {}, "cmdDefault42"},
        {"optCfg42C", "fraCfg42C", "Send Characters by ALT Method", {20, 0x40, 6},
         DisableEnable, {}, {}, {}, "cmdDefault42"},
        {"optCfg42D", "fraCfg42D", "Select Numerical Pad", {20, 0x80, 7},
         {"OFF", "ON"}, {}, {}, {}, "cmdDefault42"},
    }},
    {{
        {"optCfg43A", "fraCfg43A", "Select Terminator", {20, 0x07, 0},
         {"CR", "LF", "CR+LF", "HT(TAB)", "Space", "STX-ETX (RS232 Mode Only)", "None"}, {}, {},
         {}, "cmdDefault43"},
        {"optCfg43B", "fraCfg43B", "Time-out Between Characters", {19, 0x02, 1},
         {"0 ms", "15 ms"}, {}, {}, {}, "cmdDefault43"},
    }},
    "&Output Character",
};
// clang-format on

} // namespace

BarCommPanel::BarCommPanel(Config& config, const WindowInfo& info, QWidget* parent)
    : CommPanel(config, info, Bar, parent) {}

} // namespace orv
