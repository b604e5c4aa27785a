// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "barcommpanel.h"

namespace orv {

namespace {

// Each group: catalogue key, array name, frame name, display rows (empty: one column in element
// order), the "Set Default" button that restores it. The codes, captions and the codes shown by
// another option (parity 4 as "None") are the catalogue's.
// clang-format off
const CommTable Bar{
    {{
        {"bar.comm.baud_rate", "optCfg41A", "fraCfg4_1A", {{0, 1}, {2, 3}}, "cmdDefault41"},
        {"bar.comm.data_bits", "optCfg41B", "FraCfg4_1B", {}, "cmdDefault41"},
        {"bar.comm.stop_bits", "optCfg41C", "FraCfg4_1C", {{1}, {0}}, "cmdDefault41"},
        {"bar.comm.parity", "optCfg41D", "FraCfg4_1D", {{0, 3}, {1, 4}, {2}}, "cmdDefault41"},
        {"bar.comm.rts_cts", "optRTSCTS", "Frame1", {}, "cmdDefault41"},
        {"bar.comm.ack_nak", "optACKNCK", "Frame2", {}, "cmdDefault41"},
        {"bar.comm.xon_xoff", "optXONXOFF", "Frame3", {}, "cmdDefault41"},
    }},
    {{
        {"bar.comm.terminal_type", "optCfg42A", "fraCfg4_2A", {{0, 1}, {2, 3}}, "cmdDefault42"},
        {"bar.comm.letter_case", "Optcfg42b", "fraCfg42B", {{1}, {0}}, "cmdDefault42"},
        {"bar.comm.alt_method", "optCfg42C", "fraCfg42C", {}, "cmdDefault42"},
        {"bar.comm.numeric_pad", "optCfg42D", "fraCfg42D", {}, "cmdDefault42"},
    }},
    {{
        {"bar.comm.terminator", "optCfg43A", "fraCfg43A", {}, "cmdDefault43"},
        {"bar.comm.char_timeout", "optCfg43B", "fraCfg43B", {}, "cmdDefault43"},
    }},
    QT_TRANSLATE_NOOP("orv::CommPanel", "&Output Character"),
};
// clang-format on

} // namespace

BarCommPanel::BarCommPanel(Config& config, const WindowInfo& info, QWidget* parent)
    : CommPanel(config, info, Bar, parent) {}

} // namespace orv
