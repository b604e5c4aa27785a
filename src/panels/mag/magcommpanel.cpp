// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
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

// Each group: catalogue key, array name, frame name, display rows (empty: one column in element
// order), the "Set Default" button that restores it. The codes and captions are the catalogue's,
// with the codes shown by another option: baud rate 5 as "9600" and parity 4 as "None" (both
// kept), terminator 7 as "None" (which stores 6).
// clang-format off
const CommTable Mag{
    {{
        {"mag.comm.baud_rate", "optCfg41A", "fraCfg4_1A", {{0, 3}, {1, 5}, {2, 4}}, "cmdDefault41"},
        {"mag.comm.data_bits", "optCfg41B", "FraCfg4_1B", {}, "cmdDefault41"},
        {"mag.comm.stop_bits", "optCfg41C", "FraCfg4_1C", {{1}, {0}}, "cmdDefault41"},
        {"mag.comm.parity", "optCfg41D", "FraCfg4_1D", {{0, 3}, {1, 4}, {2}}, "cmdDefault41"},
        {"mag.comm.rts_cts", "optRTSCTS", "Frame1", {}, "cmdDefault41"},
        {"mag.comm.ack_nak", "optACKNCK", "Frame2", {}, "cmdDefault41"},
        {"mag.comm.xon_xoff", "optXONXOFF", "Frame3", {}, "cmdDefault41"},
    }},
    {{
        {"mag.comm.terminal_type", "optCfg42A", "fraCfg4_2A", {{0, 1}, {2, 3}}, "cmdDefault42"},
        {"mag.comm.letter_case", "Optcfg42b", "fraCfg42B", {}, "cmdDefault42"},
        {"mag.comm.alt_method", "optCfg42C", "fraCfg42C", {}, "cmdDefault42"},
        {"mag.comm.numeric_pad", "optCfg42D", "fraCfg42D", {}, "cmdDefault42"},
    }},
    {{
        {"mag.comm.terminator", "optCfg43A", "fraCfg43A", {{0, 4}, {1, 3}, {2, 6}, {5}},
         "cmdDefault43"},
        {"mag.comm.char_timeout", "optCfg43B", "fraCfg43B", {}, "cmdDefault43"},
    }},
    QT_TRANSLATE_NOOP("orv::CommPanel", "&Output Characters"),
};

// Track selection in four rows of four.
const OptionLayout Tracks{"mag.comm.tracks", "optCfg45A", "fraCfg45A",
    {{0, 1, 2, 3}, {4, 5, 13, 14}, {6, 7, 8, 9}, {10, 11, 12, 15}}, "cmdDefault45"};

const OptionLayout Standard{"mag.comm.card_standard", "OptISO", nullptr, {{0, 1}}, "cmdDefault45"};
// clang-format on

} // namespace

MagCommPanel::MagCommPanel(Config& config, const WindowInfo& info, QWidget* parent)
    : CommPanel(config, info, Mag, parent) {
    // Tab 4, controls in the order loading and cmdDefault45 show them: track selection, the two
    // check boxes, the separator, and last the standard, whose enabling rule then holds.
    OptionGroup* tracks = options(Tracks);
    // The two check boxes are captioned "ON"; the labels beside them name them.
    const char* const startStopKey = "mag.comm.send_start_stop";
    const char* const accountKey = "mag.comm.track2_account_only";
    const Setting& separatorSetting = BoundSetting("mag.comm.separator", SettingKind::Character);
    BitCheckBox* startStop = check(QStringLiteral("chkCfg45B"), startStopKey, "cmdDefault45", "ON");
    BitCheckBox* account = check(QStringLiteral("chkCfg45C"), accountKey, "cmdDefault45", "ON");
    auto* separator =
        bind(new SeparatorCombo(config, separatorSetting.field.byte, QStringLiteral("cbo45D")),
             "cmdDefault45");
    OptionGroup* standard = options(Standard);

    auto labelOf = [](const char* key) {
        return CaptionText(SettingOf(key).label);
    };
    QLabel* standardLabel =
        BuddyLabel(labelOf(Standard.key), standard->button(0), QStringLiteral("Label1"));
    QLabel* startStopLabel = BuddyLabel(labelOf(startStopKey), startStop, QStringLiteral("Label4"));
    QLabel* accountLabel = BuddyLabel(labelOf(accountKey), account, QStringLiteral("Label5"));
    QLabel* separatorLabel =
        BuddyLabel(CaptionText(separatorSetting.label), separator, QStringLiteral("Label6"));

    // JIS2 cards carry one track only: the track options, the account number box and the
    // separator with their labels are disabled then. Their stored values stay as they are.
    QGroupBox* trackFrame = tracks->findChild<QGroupBox*>(QStringLiteral("fraCfg45A"));
    const std::vector<QWidget*> isoOnly{trackFrame, account, separator, accountLabel,
                                        separatorLabel};
    connect(standard, &OptionGroup::stored, this, [isoOnly](int code) {
        for (QWidget* w : isoOnly)
            w->setEnabled(code == 0);
    });

    auto* v =
        new QVBoxLayout(tabs()->addTab(tr("&Magnetic Reader"), tr("Magnetic Reader Parameters")));
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
