// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "interfacepanel.h"

#include "tabframes.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

InterfacePanel::InterfacePanel(Config& config, const WindowInfo& info, const InterfaceTable& table,
                               QWidget* parent)
    : SettingsPanel(config, info, parent) {
    auto* tabs = new TabFrames(QStringLiteral("TabCFG"), QStringLiteral("fraCfg3"));
    QGroupBox* user =
        tabs->addTab(tr(table.userTab), tr("User's Name,building date and other informations"));
    QGroupBox* iface = tabs->addTab(tr("&Interface"), tr(table.interfaceTip));

    addHeaderBoxes(user);

    // The interface, then the check boxes side by side, "Set Default" under them.
    auto* v = new QVBoxLayout(iface);
    v->addWidget(options(table.modes));
    auto* checks = new QHBoxLayout;
    for (const InterfaceCheck& c : table.checks) {
        BitCheckBox* box = check(QString::fromLatin1(c.name), c.key, table.modes.restoredBy);
        box->setEnabled(c.enabled);
        box->setVisible(c.visible);
        checks->addWidget(box);
    }
    checks->addStretch(1);
    v->addLayout(checks);
    v->addWidget(defaultButton(table.modes.restoredBy), 0, Qt::AlignLeft);
    v->addStretch(1);
    setContent(tabs);
}

} // namespace orv
