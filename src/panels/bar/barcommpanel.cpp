#include "barcommpanel.h"

#include "panels/tabframes.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>

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
const OptionGroupSpec Rs232[] = {
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
    {"optXONXOFF", "Frame3", "XON/XOFF", {20, 0x20, 5}, DisableEnable, {}, {}, {}, "cmdDefault41"},
};

const OptionGroupSpec Keyboard[] = {
    {"optCfg42A", "fraCfg4_2A", "Terminal Type", {16, 0x03, 0},
     {"IBM PC/AT,PS/2", "IBM PC/XT", "Apple Desktop Bus(ADB)", "NEC 9800"}, {{0, 1}, {2, 3}}, {},
     {}, "cmdDefault42"},
    {"Optcfg42b", "fraCfg42B", "Upper/Lower Case", {19, 0x04, 2},
     {"Lower Case", "Upper Case"}, {{1}, {0}}, {}, {}, "cmdDefault42"},
    {"optCfg42C", "fraCfg42C", "Send Characters by ALT Method", {20, 0x40, 6},
     DisableEnable, {}, {}, {}, "cmdDefault42"},
    {"optCfg42D", "fraCfg42D", "Select Numerical Pad", {20, 0x80, 7},
     {"OFF", "ON"}, {}, {}, {}, "cmdDefault42"},
};

const OptionGroupSpec Output[] = {
    {"optCfg43A", "fraCfg43A", "Select Terminator", {20, 0x07, 0},
     {"CR", "LF", "CR+LF", "HT(TAB)", "Space", "STX-ETX (RS232 Mode Only)", "None"}, {}, {}, {},
     "cmdDefault43"},
    {"optCfg43B", "fraCfg43B", "Time-out Between Characters", {19, 0x02, 1},
     {"0 ms", "15 ms"}, {}, {}, {}, "cmdDefault43"},
};
// clang-format on

} // namespace

BarCommPanel::BarCommPanel(Config& config, const WindowSpec& spec, QWidget* parent)
    : SettingsPanel(config, spec, parent) {
    auto* tabs = new TabFrames(QStringLiteral("TabCFG1"), QStringLiteral("fraCfg4"));

    // RS232: baud rate and parity on the left, data and stop bits in the middle, the three
    // handshakes on the right.
    auto* rs232 = new QGridLayout(
        tabs->addTab(QStringLiteral("&RS232"), QStringLiteral("RS232 Mode Parameters")));
    // Row, column and row span of each group, in table order.
    const int rs232Cells[][3] = {{0, 0, 1}, {0, 1, 1}, {1, 1, 1}, {1, 0, 2},
                                 {0, 2, 1}, {1, 2, 1}, {2, 2, 1}};
    for (int i = 0; i < 7; ++i)
        rs232->addWidget(options(Rs232[i]), rs232Cells[i][0], rs232Cells[i][1], rs232Cells[i][2],
                         1);
    rs232->addWidget(defaultButton("cmdDefault41"), 3, 0, Qt::AlignLeft);
    rs232->setRowStretch(4, 1);

    auto* keyboard = new QGridLayout(tabs->addTab(
        QStringLiteral("&Keyboard"), QStringLiteral("Keyboard Wedge Mode Parameters")));
    keyboard->addWidget(options(Keyboard[0]), 0, 0, 1, 2);
    keyboard->addWidget(options(Keyboard[1]), 1, 0);
    keyboard->addWidget(options(Keyboard[2]), 1, 1);
    keyboard->addWidget(options(Keyboard[3]), 2, 0);
    keyboard->addWidget(defaultButton("cmdDefault42"), 3, 0, Qt::AlignLeft);
    keyboard->setRowStretch(4, 1);

    auto* output = new QGridLayout(tabs->addTab(QStringLiteral("&Output Character"),
                                                QStringLiteral("Output Characters Parameters")));
    output->addWidget(options(Output[0]), 0, 0, 2, 1);
    output->addWidget(options(Output[1]), 0, 1);
    output->addWidget(defaultButton("cmdDefault43"), 2, 0, Qt::AlignLeft);
    output->setRowStretch(1, 1);

    setContent(tabs);
}

} // namespace orv
