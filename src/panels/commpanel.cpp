// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "commpanel.h"

#include "tabframes.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>

namespace orv {

CommPanel::CommPanel(Config& config, const WindowInfo& info, const CommTable& table,
                     QWidget* parent)
    : SettingsPanel(config, info, parent) {
    tabs_ = new TabFrames(QStringLiteral("TabCFG1"), QStringLiteral("fraCfg4"));

    // RS232: baud rate and parity on the left, data and stop bits in the middle, the three
    // handshakes on the right.
    auto* rs232 = new QGridLayout(tabs_->addTab(tr("&RS232"), tr("RS232 Mode Parameters")));
    // Row, column and row span of each group, in table order.
    const int rs232Cells[][3] = {{0, 0, 1}, {0, 1, 1}, {1, 1, 1}, {1, 0, 2},
                                 {0, 2, 1}, {1, 2, 1}, {2, 2, 1}};
    for (size_t i = 0; i < table.rs232.size(); ++i)
        rs232->addWidget(options(table.rs232[i]), rs232Cells[i][0], rs232Cells[i][1],
                         rs232Cells[i][2], 1);
    rs232->addWidget(defaultButton("cmdDefault41"), 3, 0, Qt::AlignLeft);
    rs232->setRowStretch(4, 1);

    auto* keyboard =
        new QGridLayout(tabs_->addTab(tr("&Keyboard"), tr("Keyboard Wedge Mode Parameters")));
    keyboard->addWidget(options(table.keyboard[0]), 0, 0, 1, 2);
    keyboard->addWidget(options(table.keyboard[1]), 1, 0);
    keyboard->addWidget(options(table.keyboard[2]), 1, 1);
    keyboard->addWidget(options(table.keyboard[3]), 2, 0);
    keyboard->addWidget(defaultButton("cmdDefault42"), 3, 0, Qt::AlignLeft);
    keyboard->setRowStretch(4, 1);

    auto* output =
        new QGridLayout(tabs_->addTab(tr(table.outputTab), tr("Output Characters Parameters")));
    output->addWidget(options(table.output[0]), 0, 0, 2, 1);
    output->addWidget(options(table.output[1]), 0, 1);
    output->addWidget(defaultButton("cmdDefault43"), 2, 0, Qt::AlignLeft);
    output->setRowStretch(1, 1);

    setContent(tabs_);
}

} // namespace orv
