// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "dlgctrl.h"

#include "core/notation.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv {

namespace {

// "btnCtrl(13)": element `index` of a control array (the notation does not depend on ui/).
QString ArrayElementName(const char* base, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(base)).arg(index);
}

} // namespace

DlgCtrl::DlgCtrl(QLineEdit* target, QWidget* parent) : QDialog(parent), target_(target) {
    setObjectName(QStringLiteral("DlgCtrl"));
    setWindowTitle(tr("Control Key"));
    setModal(true);

    auto* keys = new QGridLayout;
    for (int i = 0; i < ControlCount; ++i) {
        auto* b = new QPushButton(ControlName(i));
        b->setObjectName(ArrayElementName("btnCtrl", i));
        b->setAutoDefault(false);
        // NUL cannot be chosen here; typing its name into the box still inserts it.
        b->setEnabled(i != 0);
        connect(b, &QPushButton::clicked, this, [this, i] { btnCtrl_Click(i); });
        keys->addWidget(b, i / 8, i % 8);
    }

    keyName_ = new QLineEdit;
    keyName_->setObjectName(QStringLiteral("txtCtrl"));
    keyName_->setAccessibleName(tr("Control Key"));
    auto* insert = new QPushButton(tr("Insert Control Key"));
    insert->setObjectName(QStringLiteral("Command1"));
    insert->setDefault(true);
    connect(insert, &QPushButton::clicked, this, &DlgCtrl::Command1_Click);
    auto* exit = new QPushButton(tr("Exit"));
    exit->setObjectName(QStringLiteral("Command2"));
    exit->setAutoDefault(false);
    connect(exit, &QPushButton::clicked, this, &DlgCtrl::Command2_Click);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(keyName_, 1);
    bottom->addWidget(insert);
    bottom->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(keys);
    layout->addLayout(bottom);
}

void DlgCtrl::btnCtrl_Click(int index) {
    keyName_->setText(ControlName(index));
}

void DlgCtrl::Command1_Click() {
    if (keyName_->text().isEmpty())
        return;
    QLineEdit* target = targetBox();
    if (!target)
        return;
    // Replaces the selection, or inserts at the caret; the caret ends after the token, and the
    // box's own change handling stores the group.
    target->insert(QLatin1Char('{') + keyName_->text() + QLatin1Char('}'));
    keyName_->clear();
}

void DlgCtrl::Command2_Click() {
    QLineEdit* target = targetBox();
    accept();
    if (target) {
        target->activateWindow();
        target->setFocus(Qt::OtherFocusReason);
    }
}

} // namespace orv
