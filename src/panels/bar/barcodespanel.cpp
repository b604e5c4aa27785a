// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
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

// chk51(i) is bit i of byte 21: the symbology it enables.
const char* const Symbologies[8] = {"bar.codes.codabar.enabled",  "bar.codes.interleave_25.enabled",
                                    "bar.codes.code_128.enabled", "bar.codes.code_39.enabled",
                                    "bar.codes.ean_8.enabled",    "bar.codes.ean_13.enabled",
                                    "bar.codes.upc_e.enabled",    "bar.codes.upc_a.enabled"};

// ChkStart(i) is bit i of byte 18: the stop characters A..D are elements 0..3, the start
// characters A..D elements 4..7.
const char* const CodabarStartStop[8] = {"bar.codes.codabar.stop_a",  "bar.codes.codabar.stop_b",
                                         "bar.codes.codabar.stop_c",  "bar.codes.codabar.stop_d",
                                         "bar.codes.codabar.start_a", "bar.codes.codabar.start_b",
                                         "bar.codes.codabar.start_c", "bar.codes.codabar.start_d"};

// The three check-digit groups store element + 1; a stored 0 shows as "Do Not Calculate Check
// Digit" and is kept until the user chooses (the catalogue says so).
// clang-format off
const OptionLayout Supplemental{"bar.codes.upc_ean.supplemental", "optCfg52B", "fraCfg52B", {},
                                "cmdDefault52C"};
const OptionLayout UpcCheckDigit{"bar.codes.upc_ean.check_digit", "Optcheck", "fraCfg52C",
                                 {{1}, {0}}, "cmdDefault52C"};
const OptionLayout Code39OutputAs{"bar.codes.code_39.output_as", "Optcode39", "fra53A",
                                  {{1}, {0}}, "cmdDefault53"};
const OptionLayout Code39StartStop{"bar.codes.code_39.start_stop", "OptStart_stop", "fra53C", {},
                                   "cmdDefault53"};
const OptionLayout Code39CheckDigit{"bar.codes.code_39.check_digit", "opt53B", "fra53B", {},
                                    "cmdDefault53"};
const OptionLayout Code128CheckDigit{"bar.codes.code_128.check_digit", "opt54A", "fra54A", {},
                                     "cmdDefault54"};
const OptionLayout Interleave25CheckDigit{"bar.codes.interleave_25.check_digit", "opt55A",
                                          "fra55A", {{0, 1}, {2}}, "cmdDefault55"};
// clang-format on

QGroupBox* Frame(const char* name, const QString& caption) {
    return TitledFrame(QString::fromLatin1(name), caption);
}

} // namespace

BarCodesPanel::BarCodesPanel(Config& config, const WindowInfo& info, QWidget* parent)
    : SettingsPanel(config, info, parent) {
    auto* tabs = new TabFrames(QStringLiteral("TabCFG2"), QStringLiteral("fraCfg5"));

    // Controls in the order loading shows them.
    for (int i = 0; i < 8; ++i)
        symbologyChecks_.push_back(
            check(ArrayName(QStringLiteral("chk51"), i), Symbologies[i], "cmdSetAll"));
    BitCheckBox* upcAEan13 =
        check(QStringLiteral("chkUpcAEan13"), "bar.codes.upc_ean.upc_a_ean_13", "cmdDefault52C");
    BitCheckBox* isbn =
        check(QStringLiteral("chkIsbn"), "bar.codes.upc_ean.isbn_issn", "cmdDefault52C");
    OptionGroup* supplemental = options(Supplemental);
    OptionGroup* upcCheck = options(UpcCheckDigit);
    OptionGroup* outputAs = options(Code39OutputAs);
    OptionGroup* startStop = options(Code39StartStop);
    OptionGroup* code39Check = options(Code39CheckDigit);
    OptionGroup* code128Check = options(Code128CheckDigit);
    OptionGroup* i25Check = options(Interleave25CheckDigit);
    BitCheckBox* brazil =
        check(QStringLiteral("ChkBrazil"), "bar.codes.interleave_25.brazil_25", "cmdDefault55");
    std::vector<BitCheckBox*> chkStart;
    for (int i = 0; i < 8; ++i) {
        chkStart.push_back(
            check(ArrayName(QStringLiteral("ChkStart"), i), CodabarStartStop[i], "cmdDefault58"));
    }
    BitCheckBox* setUp =
        check(QStringLiteral("chk58A"), "bar.codes.codabar.set_up_start_stop", "cmdDefault58");

    layOutSymbologies(tabs);
    layOutUpc(tabs, upcAEan13, isbn, supplemental, upcCheck);

    // Tab 3: Code 39.
    auto* code39 = new QGridLayout(
        tabs->addTab(tr("Code &39"), tr("Code 39 Parameters"), tr("Code 39 Parameters")));
    code39->addWidget(outputAs, 0, 0);
    code39->addWidget(startStop, 0, 1);
    code39->addWidget(code39Check, 1, 0, 1, 2);
    code39->addWidget(defaultButton("cmdDefault53"), 2, 0, Qt::AlignLeft);
    code39->setRowStretch(3, 1);

    // Tab 4: Code 128.
    auto* code128 = new QVBoxLayout(
        tabs->addTab(tr("Code 12&8"), tr("Code 128 Parameters"), tr("Code 128 Parameters")));
    code128->addWidget(code128Check);
    code128->addWidget(defaultButton("cmdDefault54"), 0, Qt::AlignLeft);
    code128->addStretch(1);

    // Tab 5: Interleave 25.
    auto* i25 = new QVBoxLayout(tabs->addTab(tr("&Interleave 25"), tr("Interleave 25 Parameters"),
                                             tr("Interleave 25 Parameters")));
    i25->addWidget(i25Check);
    i25->addWidget(brazil);
    i25->addWidget(defaultButton("cmdDefault55"), 0, Qt::AlignLeft);
    i25->addStretch(1);

    layOutCodabar(tabs, chkStart, setUp);
    setContent(tabs);
}

void BarCodesPanel::layOutSymbologies(TabFrames* tabs) {
    // Tab 1: symbologies in two columns, "Set Default" under the left one, "Clear All Barcodes"
    // under the right one.
    auto* symbologies = new QGridLayout(
        tabs->addTab(tr("&Symboligies"), tr("Symboligies Selection"), tr("Symboligies Selection")));
    const int left[4] = {7, 5, 3, 1};
    const int right[4] = {6, 4, 2, 0};
    for (int r = 0; r < 4; ++r) {
        symbologies->addWidget(symbologyChecks_[left[r]], r, 0);
        symbologies->addWidget(symbologyChecks_[right[r]], r, 1);
    }
    symbologies->addWidget(defaultButton("cmdSetAll"), 4, 0, Qt::AlignLeft);
    symbologies->addWidget(button("Command1",
                                  QT_TRANSLATE_NOOP("orv::SettingsPanel", "Clear All Barcodes"),
                                  [this] { Command1_Click(); }),
                           4, 1, Qt::AlignLeft);
    symbologies->setRowStretch(5, 1);
}

void BarCodesPanel::layOutUpc(TabFrames* tabs, BitCheckBox* upcAEan13, BitCheckBox* isbn,
                              OptionGroup* supplemental, OptionGroup* upcCheck) {
    // Tab 2: UPC/EAN/JAN.
    auto* upc = new QGridLayout(tabs->addTab(tr("&UPC/EAN/JAN"), tr("UPC/EAN/JAN Parameters"),
                                             tr("UPC/EAN/JAN Parameters")));
    QGroupBox* readingType = Frame("fraCfg52A", tr("Reading Type"));
    auto* rt = new QVBoxLayout(readingType);
    rt->addWidget(upcAEan13);
    rt->addWidget(isbn);
    upc->addWidget(readingType, 0, 0, 1, 2);
    upc->addWidget(supplemental, 1, 0);
    upc->addWidget(upcCheck, 1, 1);
    upc->addWidget(defaultButton("cmdDefault52C"), 2, 0, Qt::AlignLeft);
    upc->setRowStretch(3, 1);
}

void BarCodesPanel::layOutCodabar(TabFrames* tabs, const std::vector<BitCheckBox*>& chkStart,
                                  BitCheckBox* setUp) {
    // Tab 6: Codabar, the start frame left of the stop frame, letters A..D left to right.
    auto* codabar = new QGridLayout(
        tabs->addTab(tr("Coda&bar"), tr("CodaBar Parameters"), tr("Codabar Parameters")));
    QGroupBox* start = Frame("fra58B1", tr("Transmission Type of Start"));
    QGroupBox* stop = Frame("fra58B2", tr("Transmission Type of Stop"));
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
}

void BarCodesPanel::Command1_Click() {
    // "Clear All Barcodes": every symbology box unticked, element 0 first.
    for (BitCheckBox* box : symbologyChecks_)
        box->showValue(false);
}

} // namespace orv
