#include "barcodespanel.h"

#include "panels/tabframes.h"
#include "ui/controls.h"
#include "ui/names.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

namespace {

// Byte 21: chk51(i) enables the symbology of bit i.
const char* const Symbologies[8] = {"CodaBar/NW7", "Interleave 25", "Code 128", "Code 39",
                                    "EAN-8/JAN-8", "EAN-13/JAN-13", "UPC-E",    "UPC-A"};

const std::vector<const char*> NotTransmitTransmit{"Not Transmit", "Transmit"};

// The three check-digit fields of byte 23 store element + 1. A stored 0 is shown as "Do Not
// Calculate Check Digit" and kept as 0 until the user chooses an option: showing it does not
// rewrite it.
OptionGroupTable CheckDigit(const char* name, const char* frame, BitField field,
                            std::vector<std::vector<int>> rows, const char* restoredBy) {
    // clang-format off
    return {name, frame, "Check Digit", field,
            {"Do Not Calculate Check Digit", "Calculate Check Digit and Not Transmit",
             "Calculate Check Digit and Transmit"},
            std::move(rows), {1, 2, 3}, {{0, 0}}, restoredBy};
    // clang-format on
}

// clang-format off
const OptionGroupTable Supplemental{"optCfg52B", "fraCfg52B", "Supplemental Code Setup",
    {22, 0x40, 6}, NotTransmitTransmit, {}, {}, {}, "cmdDefault52C"};
const OptionGroupTable UpcCheckDigit{"Optcheck", "fraCfg52C", "Check Digit",
    {22, 0x20, 5}, NotTransmitTransmit, {{1}, {0}}, {}, {}, "cmdDefault52C"};
const OptionGroupTable Code39OutputAs{"Optcode39", "fra53A", "Output As",
    {23, 0x02, 1}, {"Full ASCII", "Standard"}, {{1}, {0}}, {}, {}, "cmdDefault53"};
const OptionGroupTable Code39StartStop{"OptStart_stop", "fra53C", "Start/Stop Character",
    {23, 0x01, 0}, {"Not Optput ", "Output "}, {}, {}, {}, "cmdDefault53"};
const OptionGroupTable Code39CheckDigit =
    CheckDigit("opt53B", "fra53B", {23, 0xC0, 6}, {}, "cmdDefault53");
const OptionGroupTable Code128CheckDigit =
    CheckDigit("opt54A", "fra54A", {23, 0x30, 4}, {}, "cmdDefault54");
const OptionGroupTable Interleave25CheckDigit =
    CheckDigit("opt55A", "fra55A", {23, 0x0C, 2}, {{0, 1}, {2}}, "cmdDefault55");
// clang-format on

QGroupBox* Frame(const char* name, const char* caption) {
    return TitledFrame(QString::fromLatin1(name), QString::fromLatin1(caption));
}

} // namespace

BarCodesPanel::BarCodesPanel(Config& config, const WindowInfo& info, QWidget* parent)
    : SettingsPanel(config, info, parent) {
    auto* tabs = new TabFrames(QStringLiteral("TabCFG2"), QStringLiteral("fraCfg5"));

    // Controls in the order loading shows them.
    for (int i = 0; i < 8; ++i) {
        chk51_.push_back(check(ArrayName(QStringLiteral("chk51"), i), Symbologies[i],
                               {21, 1 << i, i}, "cmdSetAll"));
    }
    BitCheckBox* upcAEan13 =
        check(QStringLiteral("chkUpcAEan13"), "UPC-A=EAN-13", {22, 0x80, 7}, "cmdDefault52C");
    BitCheckBox* isbn =
        check(QStringLiteral("chkIsbn"), "Enable ISBN/ISSN", {22, 0x10, 4}, "cmdDefault52C");
    OptionGroup* supplemental = options(Supplemental);
    OptionGroup* upcCheck = options(UpcCheckDigit);
    OptionGroup* outputAs = options(Code39OutputAs);
    OptionGroup* startStop = options(Code39StartStop);
    OptionGroup* code39Check = options(Code39CheckDigit);
    OptionGroup* code128Check = options(Code128CheckDigit);
    OptionGroup* i25Check = options(Interleave25CheckDigit);
    BitCheckBox* brazil =
        check(QStringLiteral("ChkBrazil"), "Brazil 25", {19, 0x01, 0}, "cmdDefault55");
    // ChkStart(i) is bit i of byte 18: the stop characters A..D are elements 0..3, the start
    // characters A..D elements 4..7.
    std::vector<BitCheckBox*> chkStart;
    const char* const letters[4] = {"A", "B", "C", "D"};
    for (int i = 0; i < 8; ++i) {
        chkStart.push_back(check(ArrayName(QStringLiteral("ChkStart"), i), letters[i % 4],
                                 {18, 1 << i, i}, "cmdDefault58"));
    }
    BitCheckBox* setUp =
        check(QStringLiteral("chk58A"), "Set Up Start/Stop Characters Upon Transmission",
              {22, 0x08, 3}, "cmdDefault58");

    // Tab 1: symbologies in two columns, "Set Default" under the left one, "Clear All Barcodes"
    // under the right one.
    auto* symbologies = new QGridLayout(tabs->addTab(QStringLiteral("&Symboligies"),
                                                     QStringLiteral("Symboligies Selection"),
                                                     QStringLiteral("Symboligies Selection")));
    const int left[4] = {7, 5, 3, 1};
    const int right[4] = {6, 4, 2, 0};
    for (int r = 0; r < 4; ++r) {
        symbologies->addWidget(chk51_[left[r]], r, 0);
        symbologies->addWidget(chk51_[right[r]], r, 1);
    }
    symbologies->addWidget(defaultButton("cmdSetAll"), 4, 0, Qt::AlignLeft);
    symbologies->addWidget(button("Command1", "Clear All Barcodes", [this] { Command1_Click(); }),
                           4, 1, Qt::AlignLeft);
    symbologies->setRowStretch(5, 1);

    // Tab 2: UPC/EAN/JAN.
    auto* upc = new QGridLayout(tabs->addTab(QStringLiteral("&UPC/EAN/JAN"),
                                             QStringLiteral("UPC/EAN/JAN Parameters"),
                                             QStringLiteral("UPC/EAN/JAN Parameters")));
    QGroupBox* readingType = Frame("fraCfg52A", "Reading Type");
    auto* rt = new QVBoxLayout(readingType);
    rt->addWidget(upcAEan13);
    rt->addWidget(isbn);
    upc->addWidget(readingType, 0, 0, 1, 2);
    upc->addWidget(supplemental, 1, 0);
    upc->addWidget(upcCheck, 1, 1);
    upc->addWidget(defaultButton("cmdDefault52C"), 2, 0, Qt::AlignLeft);
    upc->setRowStretch(3, 1);

    // Tab 3: Code 39.
    auto* code39 = new QGridLayout(tabs->addTab(QStringLiteral("Code &39"),
                                                QStringLiteral("Code 39 Parameters"),
                                                QStringLiteral("Code 39 Parameters")));
    code39->addWidget(outputAs, 0, 0);
    code39->addWidget(startStop, 0, 1);
    code39->addWidget(code39Check, 1, 0, 1, 2);
    code39->addWidget(defaultButton("cmdDefault53"), 2, 0, Qt::AlignLeft);
    code39->setRowStretch(3, 1);

    // Tab 4: Code 128.
    auto* code128 = new QVBoxLayout(tabs->addTab(QStringLiteral("Code 12&8"),
                                                 QStringLiteral("Code 128 Parameters"),
                                                 QStringLiteral("Code 128 Parameters")));
    code128->addWidget(code128Check);
    code128->addWidget(defaultButton("cmdDefault54"), 0, Qt::AlignLeft);
    code128->addStretch(1);

    // Tab 5: Interleave 25.
    auto* i25 = new QVBoxLayout(tabs->addTab(QStringLiteral("&Interleave 25"),
                                             QStringLiteral("Interleave 25 Parameters"),
                                             QStringLiteral("Interleave 25 Parameters")));
    i25->addWidget(i25Check);
    i25->addWidget(brazil);
    i25->addWidget(defaultButton("cmdDefault55"), 0, Qt::AlignLeft);
    i25->addStretch(1);

    // Tab 6: Codabar, the start frame left of the stop frame, letters A..D left to right.
    auto* codabar = new QGridLayout(tabs->addTab(QStringLiteral("Coda&bar"),
                                                 QStringLiteral("CodaBar Parameters"),
                                                 QStringLiteral("Codabar Parameters")));
    QGroupBox* start = Frame("fra58B1", "Transmission Type of Start");
    QGroupBox* stop = Frame("fra58B2", "Transmission Type of Stop");
    auto* startRow = new QHBoxLayout(start);
    auto* stopRow = new QHBoxLayout(stop);
    for (int i = 0; i < 4; ++i) {
        stopRow->addWidget(chkStart[i]);
        startRow->addWidget(chkStart[i + 4]);
    }
    codabar->addWidget(start, 0, 0);
    codabar->addWidget(stop, 0, 1);
    codabar->addWidget(setUp, 1, 0, 1, 2);
    codabar->addWidget(defaultButton("cmdDefault58"), 2, 0, Qt::AlignLeft);
    codabar->setRowStretch(3, 1);

    setContent(tabs);
}

void BarCodesPanel::Command1_Click() {
    // "Clear All Barcodes": every symbology box unticked, element 0 first.
    for (BitCheckBox* box : chk51_)
        box->showValue(false);
}

} // namespace orv
