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

// The prefix and suffix groups of track 1; those of track t follow 16 × t bytes later.
const InsertionFrameTable Prefix{
    "fra69",    "Prefix", "lbl694", "Characters to be Inserted (Only Eight Characters Available)",
    "txt694",   29,       8,        "Command3",
    "cmd68_69", true};
const InsertionFrameTable Suffix{
    "Frame1",   "Sufix", "Label1", "Characters to be Inserted (Only Eight Charaters Available)",
    "txt693",   37,      8,        "Command2",
    "Command4", false};
constexpr int TrackStride = 16;

// txtChar(i) holds the character of byte 77 + i: start and end character of each track.
constexpr int FirstTrackChar = 77;
const char* const TrackCharLabels[6] = {
    "Track 1 Start Char:", "Track 1 End Char:",   "Track 2 Start Char:",
    "Track 2 End Char:",   "Track 3 Start Char:", "Track 3 End Char:"};

} // namespace

MagMiscPanel::MagMiscPanel(Config& config, const WindowInfo& info, QWidget* parent)
    : SettingsPanel(config, info, parent) {
    auto* tabs = new TabFrames(QStringLiteral("TabCFG3"), QStringLiteral("fraCfg6"));

    // Controls in the order loading shows them; tab 1 is the language.
    addLanguageTab(tabs, 83);
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
        chars.push_back(
            bind(new SingleCharBox(config, nullptr, SingleCharKind::TrackChar, FirstTrackChar + i,
                                   ArrayName(QStringLiteral("txtChar"), i)),
                 "CmdDefault"));
    }

    // Tab 2: prefix and suffix, each with its own track choice.
    addTrackChoice("Opt1Track", prefix, prefixLayout);
    addTrackChoice("Opt2Track", suffix, suffixLayout);
    auto* edit = new QVBoxLayout(tabs->addTab(QStringLiteral("Tracks &Edit"),
                                              QStringLiteral("Deleting and Inserting Edit For "
                                                             "Output Characters"),
                                              QStringLiteral("Tracks Edit")));
    edit->addWidget(prefixFrame);
    edit->addWidget(suffixFrame);
    edit->addStretch(1);

    // Tab 3: three rows, the start character on the left and the end character on the right.
    auto* grid = new QGridLayout(tabs->addTab(QStringLiteral("Start and End &Char"),
                                              QStringLiteral("Defined User's Start and End "
                                                             "Characters"),
                                              QStringLiteral("Edit Start and End Characters")));
    for (int i = 0; i < 6; ++i) {
        chars[i]->setMaximumWidth(60);
        const int row = i / 2;
        const int column = (i % 2) * 2;
        grid->addWidget(BuddyLabel(QString::fromLatin1(TrackCharLabels[i]), chars[i],
                                   ArrayName(QStringLiteral("lblChar"), i)),
                        row, column);
        grid->addWidget(chars[i], row, column + 1);
    }
    grid->addWidget(defaultButton("CmdDefault", "Set All Default"), 3, 0, 1, 2, Qt::AlignLeft);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(4, 1);

    setContent(tabs);
}

void MagMiscPanel::addTrackChoice(const char* name, InsertionBox* box, QVBoxLayout* frame) {
    const int track1 = box->groupStart();
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Select Track")));
    auto* group = new QButtonGroup(this);
    for (int t = 0; t < 3; ++t) {
        auto* b = new QRadioButton(QStringLiteral("Track %1").arg(t + 1));
        b->setObjectName(ArrayName(QString::fromLatin1(name), t));
        b->setChecked(t == 0); // track 1 when the panel loads
        group->addButton(b, t);
        row->addWidget(b);
    }
    // Choosing a track (a click, even on the track already shown, the arrow keys, an
    // accessibility client) shows the track's group.
    OnOptionChosen(group, box,
                   [box, track1](int t) { box->setGroupStart(track1 + TrackStride * t); });
    row->addStretch(1);
    frame->insertLayout(0, row);
}

} // namespace orv
