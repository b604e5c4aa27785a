// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "barmiscpanel.h"

#include "panels/tabframes.h"
#include "ui/controls.h"
#include "ui/names.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

namespace {

// txt62(i) holds the identifier character of byte i.
const char* const CodeIds[8] = {"bar.misc.code_id.upc_a",         "bar.misc.code_id.upc_e",
                                "bar.misc.code_id.ean_13",        "bar.misc.code_id.ean_8",
                                "bar.misc.code_id.code_39",       "bar.misc.code_id.code_128",
                                "bar.misc.code_id.interleave_25", "bar.misc.code_id.codabar"};

const InsertionFrameTable Prefix{
    "bar.misc.prefix",
    "fra69",
    "lbl694",
    QT_TRANSLATE_NOOP("orv::SettingsPanel",
                      "Characters to be Inserted (Only Four Characters Available)"),
    "txt694",
    "Command3",
    "cmd68_69"};
const InsertionFrameTable Suffix{
    "bar.misc.suffix",
    "Frame1",
    "Label1",
    QT_TRANSLATE_NOOP("orv::SettingsPanel",
                      "Characters to be Inserted (Only Four Charaters Available)"),
    "txt693",
    "Command2",
    "Command4"};

} // namespace

namespace {

// The code identifier tab: the switch above four rows of two boxes, each with its label on its
// left, and the tab's Set Default button below.
void LayOutCodeIds(QGridLayout* grid, QWidget* on, const std::vector<SingleCharBox*>& ids,
                   QWidget* setDefault) {
    grid->addWidget(on, 0, 0, 1, 4);
    for (int i = 0; i < int(ids.size()); ++i) {
        ids[i]->setMaximumWidth(60);
        const int row = 1 + i / 2;
        const int column = (i % 2) * 2;
        grid->addWidget(BuddyLabel(CaptionText(SettingOf(CodeIds[i]).label), ids[i],
                                   ArrayName(QStringLiteral("lbl62"), i)),
                        row, column);
        grid->addWidget(ids[i], row, column + 1);
    }
    grid->addWidget(setDefault, 5, 0, 1, 2, Qt::AlignLeft);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(6, 1);
}

} // namespace

BarMiscPanel::BarMiscPanel(Config& config, Dialogs& dialogs, const WindowInfo& info,
                           QWidget* parent)
    : SettingsPanel(config, info, parent) {
    auto* tabs = new TabFrames(QStringLiteral("TabCFG3"), QStringLiteral("fraCfg6"));

    // Controls in the order loading shows them; tab 1 is the language.
    addLanguageTab(tabs, "bar.misc.language");
    BitCheckBox* codeIdOn =
        check(QStringLiteral("chk62"), "bar.misc.code_id.enabled", "cmdDefault62");
    std::vector<SingleCharBox*> ids;
    for (int i = 0; i < 8; ++i) {
        ids.push_back(characterBox(ArrayName(QStringLiteral("txt62"), i), CodeIds[i], &dialogs,
                                   "cmdDefault62"));
    }
    // The truncation counts: typed counts up to 15 are taken (see CountCombo).
    const Setting& frontCount = BoundSetting("bar.misc.truncate_front", SettingKind::Count);
    const Setting& endCount = BoundSetting("bar.misc.truncate_end", SettingKind::Count);
    auto* front = bind(new CountCombo(config, frontCount, QStringLiteral("cboTruncate1")));
    auto* end = bind(new CountCombo(config, endCount, QStringLiteral("CboTruncate2")));
    QGroupBox* prefixFrame = nullptr;
    QGroupBox* suffixFrame = nullptr;
    insertionFrame(Prefix, &prefixFrame);
    insertionFrame(Suffix, &suffixFrame);

    // Tab 2: code identifiers, four rows of two, each box with its label on its left.
    auto* codeId =
        new QGridLayout(tabs->addTab(tr("Code &ID"), tr("Define Bar Code ID"), tr("Code ID")));
    LayOutCodeIds(codeId, codeIdOn, ids, defaultButton("cmdDefault62"));

    // Tab 3: truncation, prefix and suffix.
    auto* edit = new QVBoxLayout(tabs->addTab(tr("Characters &Edit"),
                                              tr("Deleting and Inserting Edit For "
                                                 "Output Characters"),
                                              tr("Characters Edit")));
    QGroupBox* truncate = TitledFrame(QStringLiteral("fra68"), CaptionText(frontCount.frame));
    auto* t = new QGridLayout(truncate);
    t->addWidget(BuddyLabel(CaptionText(frontCount.label), front, QStringLiteral("lblTruncate1")),
                 0, 0);
    t->addWidget(front, 0, 1);
    t->addWidget(BuddyLabel(CaptionText(endCount.label), end, QStringLiteral("lblTruncate2")), 1,
                 0);
    t->addWidget(end, 1, 1);
    t->addWidget(button("Command1", QT_TRANSLATE_NOOP("orv::SettingsPanel", "Clear All"),
                        [front, end] {
                            front->showText(QStringLiteral("0"));
                            end->showText(QStringLiteral("0"));
                        }),
                 0, 2, 2, 1, Qt::AlignVCenter);
    t->setColumnStretch(3, 1);
    edit->addWidget(truncate);
    edit->addWidget(prefixFrame);
    edit->addWidget(suffixFrame);
    edit->addStretch(1);

    setContent(tabs);
}

} // namespace orv
