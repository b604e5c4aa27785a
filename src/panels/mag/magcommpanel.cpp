#include "magcommpanel.h"

#include "panels/tabframes.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orv {

namespace {

const std::vector<const char*> DisableEnable{"Disable", "Enable"};

// Each group: name, frame, frame caption, {byte, mask, shift}, captions by element, display rows
// (empty: one column in element order), code of each element (empty: its index), codes shown by
// another element, the "Set Default" button that restores it.
//
// Baud rate "9600" and parity "None" are stored as 7. A stored baud rate 5 or parity 4 is shown
// as the element of that index and kept until the user chooses; baud rate 6 and parity 5 and 6,
// which no option stands for, show no option and are kept. A stored terminator 7 is shown as
// "None", which stores 6.
//
// Upper/lower case is coded the other way round from the bar decoder: 0 is upper case.

// clang-format off
const CommTable Mag{
    {{
        {"optCfg41A", "fraCfg4_1A", "Baud Rate", {28, 0x07, 0},
         {"600", "1200", "2400", "4800", "19200", "9600"}, {{0, 3}, {1, 5}, {2, 4}},
         {0, 1, 2, 3, 4, 7}, {{5, 5}}, "cmdDefault41"},
        {"optCfg41B", "FraCfg4_1B", "Data Bits", {26, 0x20, 5},
         {"7 Data Bits", "8 Data Bits"}, {}, {}, {}, "cmdDefault41"},
        {"optCfg41C", "FraCfg4_1C", "Stop Bit", {26, 0x10, 4},
         {"2 Bits", "1 Bit"}, {{1}, {0}}, {}, {}, "cmdDefault41"},
        {"optCfg41D", "FraCfg4_1D", "Parity", {27, 0xE0, 5},
         {"Space", "Mark", "Even", "Odd", "None"}, {{0, 3}, {1, 4}, {2}}, {0, 1, 2, 3, 7}, {{4, 4}},
         "cmdDefault41"},
        {"optRTSCTS", "Frame1", "RTS/CTS", {27, 0x10, 4}, DisableEnable, {}, {}, {}, "cmdDefault41"},
        {"optACKNCK", "Frame2", "ACK/NAK", {27, 0x08, 3}, DisableEnable, {}, {}, {}, "cmdDefault41"},
        {"optXONXOFF", "Frame3", "XON/XOFF", {26, 0x08, 3}, DisableEnable, {}, {}, {},
         "cmdDefault41"},
    }},
    {{
        {"optCfg42A", "fraCfg4_2A", "Terminal Type", {26, 0x03, 0},
         {"IBM PC/AT,PS/2", "IBM PC/XT", "Apple Desktop Bus(ADB)", "NEC 9800"}, {{0, 1}, {2, 3}},
         {}, {}, "cmdDefault42"},
        {"Optcfg42b", "fraCfg42B", "Upper/Lower Case", {28, 0x80, 7},
         {"Upper Case", "Lower Case"}, {}, {}, {}, "cmdDefault42"},
        {"optCfg42C", "fraCfg42C", "Send Characters by ALT Method", {28, 0x20, 5},
         DisableEnable, {}, {}, {}, "cmdDefault42"},
        {"optCfg42D", "fraCfg42D", "Select Numerical Pad", {28, 0x40, 6},
         {"OFF", "ON"}, {}, {}, {}, "cmdDefault42"},
    }},
    {{
        {"optCfg43A", "fraCfg43A", "Select Terminator", {27, 0x07, 0},
         {"CR", "LF", "CR+LF", "HT(TAB)", "Space", "STX-ETX (RS232 Only)", "None"},
         {{0, 4}, {1, 3}, {2, 6}, {5}}, {}, {{7, 6, true}}, "cmdDefault43"},
        {"optCfg43B", "fraCfg43B", "Time-out Between Characters", {26, 0x04, 2},
         {"0 ms", "15 ms"}, {}, {}, {}, "cmdDefault43"},
    }},
    "&Output Characters",
};

// Track selection, code = element index, shown in four rows of four.
const OptionGroupTable Tracks{"optCfg45A", "fraCfg45A", "Track Selection", {83, 0x0F, 0},
    {"Single Track", "Track 1 Only", "Track 2 Only", "Track 3 Only",
     "Track 1-2", "Track 2-1", "Track 1-2-3", "Track1-3-2",
     "Track 2-1-3", "Track 2-3-1", "Track 3-1-2", "Track 3-2-1",
     "Auto", "Track 2-3", "Track 3-2", "Any"},
    {{0, 1, 2, 3}, {4, 5, 13, 14}, {6, 7, 8, 9}, {10, 11, 12, 15}}, {}, {}, "cmdDefault45"};

const OptionGroupTable Standard{"OptISO", nullptr, nullptr, {25, 0x01, 0},
    {"ISO", "JIS2"}, {{0, 1}}, {}, {}, "cmdDefault45"};
// clang-format on

} // namespace

MagCommPanel::MagCommPanel(Config& config, const WindowInfo& info, QWidget* parent)
    : CommPanel(config, info, Mag, parent) {
    // Tab 4, controls in the order loading and cmdDefault45 show them: track selection, the two
    // check boxes, the separator, and last the standard, whose enabling rule then holds.
    OptionGroup* tracks = options(Tracks);
    BitCheckBox* startStop =
        check(QStringLiteral("chkCfg45B"), "ON", {28, 0x10, 4}, "cmdDefault45");
    BitCheckBox* account = check(QStringLiteral("chkCfg45C"), "ON", {28, 0x08, 3}, "cmdDefault45");
    auto* separator =
        bind(new SeparatorCombo(config, 84, QStringLiteral("cbo45D")), "cmdDefault45");
    OptionGroup* standard = options(Standard);

    QLabel* standardLabel = BuddyLabel(QStringLiteral("Select Magnetic Card Standard :"),
                                       standard->button(0), QStringLiteral("Label1"));
    QLabel* startStopLabel = BuddyLabel(QStringLiteral("Send Start/Stop Character"), startStop,
                                        QStringLiteral("Label4"));
    QLabel* accountLabel = BuddyLabel(QStringLiteral("Track 2 Account Number Only"), account,
                                      QStringLiteral("Label5"));
    QLabel* separatorLabel =
        BuddyLabel(QStringLiteral("Separator Character (For Dual Or Triple Tracks)"), separator,
                   QStringLiteral("Label6"));

    // JIS2 cards carry one track only: the track options, the account number box and the
    // separator with their labels are disabled then. Their stored values stay as they are.
    QGroupBox* trackFrame = tracks->findChild<QGroupBox*>(QStringLiteral("fraCfg45A"));
    const std::vector<QWidget*> isoOnly{trackFrame, account, separator, accountLabel,
                                        separatorLabel};
    connect(standard, &OptionGroup::stored, this, [isoOnly](int code) {
        for (QWidget* w : isoOnly)
            w->setEnabled(code == 0);
    });

    auto* v = new QVBoxLayout(tabs()->addTab(QStringLiteral("&Magnetic Reader"),
                                             QStringLiteral("Magnetic Reader Parameters")));
    auto* standardRow = new QHBoxLayout;
    standardRow->addWidget(standardLabel);
    standardRow->addWidget(standard);
    standardRow->addStretch(1);
    v->addLayout(standardRow);
    v->addWidget(tracks);
    auto* checks = new QHBoxLayout;
    checks->addWidget(startStopLabel);
    checks->addWidget(startStop);
    checks->addSpacing(24);
    checks->addWidget(accountLabel);
    checks->addWidget(account);
    checks->addStretch(1);
    v->addLayout(checks);
    auto* separatorRow = new QHBoxLayout;
    separatorRow->addWidget(separatorLabel);
    separatorRow->addWidget(separator);
    separatorRow->addStretch(1);
    v->addLayout(separatorRow);
    v->addWidget(defaultButton("cmdDefault45"), 0, Qt::AlignLeft);
    v->addStretch(1);
}

} // namespace orv
