// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "magmiscpanel.h"

#include "panels/tabframes.h"
#include "ui/controls.h"
#include "ui/names.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orv {

namespace {

// The prefix and suffix groups of tracks 1, 2 and 3; the box shows track 1's when the panel
// loads.
const char* const PrefixGroups[3] = {"mag.misc.track1.prefix", "mag.misc.track2.prefix",
                                     "mag.misc.track3.prefix"};
const char* const SuffixGroups[3] = {"mag.misc.track1.suffix", "mag.misc.track2.suffix",
                                     "mag.misc.track3.suffix"};
const InsertionFrameTable Prefix{
    PrefixGroups[0],
    "fra69",
    "lbl694",
    QT_TRANSLATE_NOOP("orv::SettingsPanel",
                      "Characters to be Inserted (Only Eight Characters Available)"),
    "txt694",
    "Command3",
    "cmd68_69"};
const InsertionFrameTable Suffix{
    SuffixGroups[0],
    "Frame1",
    "Label1",
    QT_TRANSLATE_NOOP("orv::SettingsPanel",
                      "Characters to be Inserted (Only Eight Charaters Available)"),
    "txt693",
    "Command2",
    "Command4"};

// txtChar(i): the start and end character of each track.
const char* const TrackChars[6] = {"mag.misc.track1.start_char", "mag.misc.track1.end_char",
                                   "mag.misc.track2.start_char", "mag.misc.track2.end_char",
                                   "mag.misc.track3.start_char", "mag.misc.track3.end_char"};

} // namespace

MagMiscPanel::MagMiscPanel(Config& config, const WindowInfo& info, QWidget* parent)
    : SettingsPanel(config, info, parent) {
    auto* tabs = new TabFrames(QStringLiteral("TabCFG3"), QStringLiteral("fraCfg6"));

    // Controls in the order loading shows them; tab 1 is the language.
    addLanguageTab(tabs, "mag.misc.language");
    QGroupBox* prefixFrame = nullptr;
    QGroupBox* suffixFrame = nullptr;
    QVBoxLayout* prefixLayout = nullptr;
    QVBoxLayout* suffixLayout = nullptr;
    InsertionBox* prefix = insertionFrame(Prefix, &prefixFrame, &prefixLayout);
    InsertionBox* suffix = insertionFrame(Suffix, &suffixFrame, &suffixLayout);
    std::vector<SingleCharBox*> chars;
    for (int i = 0; i < 6; ++i) {
        // Track characters follow their own rule: any character, and an emptied box keeps its
        // byte. No message is shown, so the box needs no dialogs.
        chars.push_back(characterBox(ArrayName(QStringLiteral("txtChar"), i), TrackChars[i],
                                     nullptr, "CmdDefault"));
    }

    // Tab 2: prefix and suffix, each with its own track choice.
    addTrackChoice("Opt1Track", PrefixGroups, prefix, prefixLayout);
    addTrackChoice("Opt2Track", SuffixGroups, suffix, suffixLayout);
    auto* edit = new QVBoxLayout(tabs->addTab(tr("Tracks &Edit"),
                                              tr("Deleting and Inserting Edit For "
                                                 "Output Characters"),
                                              tr("Tracks Edit")));
    edit->addWidget(prefixFrame);
    edit->addWidget(suffixFrame);
    edit->addStretch(1);

    // Tab 3: three rows, the start character on the left and the end character on the right.
    auto* grid = new QGridLayout(tabs->addTab(tr("Start and End &Char"),
                                              tr("Defined User's Start and End "
                                                 "Characters"),
                                              tr("Edit Start and End Characters")));
    for (int i = 0; i < 6; ++i) {
        chars[i]->setMaximumWidth(60);
        const int row = i / 2;
        const int column = (i % 2) * 2;
        grid->addWidget(BuddyLabel(CaptionText(SettingOf(TrackChars[i]).label), chars[i],
                                   ArrayName(QStringLiteral("lblChar"), i)),
                        row, column);
        grid->addWidget(chars[i], row, column + 1);
    }
    grid->addWidget(
        defaultButton("CmdDefault", QT_TRANSLATE_NOOP("orv::SettingsPanel", "Set All Default")), 3,
        0, 1, 2, Qt::AlignLeft);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(4, 1);

    setContent(tabs);
}

void MagMiscPanel::addTrackChoice(const char* name, const char* const (&groups)[3],
                                  InsertionBox* box, QVBoxLayout* frame) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Select Track")));
    auto* group = new QButtonGroup(this);
    std::vector<int> firsts; // the first byte of each track's group
    for (int t = 0; t < 3; ++t) {
        const Setting& track = BoundSetting(groups[t], SettingKind::InsertionText);
        auto* b = new QRadioButton(CaptionText(track.label));
        b->setObjectName(ArrayName(QString::fromLatin1(name), t));
        b->setChecked(t == 0); // track 1 when the panel loads
        group->addButton(b, t);
        row->addWidget(b);
        firsts.push_back(track.field.byte);
    }
    // Choosing a track (a click, even on the track already shown, the arrow keys, an
    // accessibility client) shows the track's group.
    OnOptionChosen(group, box, [box, firsts](int t) { box->setGroupStart(firsts.at(t)); });
    row->addStretch(1);
    frame->insertLayout(0, row);
}

} // namespace orv
