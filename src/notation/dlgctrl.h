// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPointer>

namespace orv {

// DlgCtrl, "Control Key": inserts a control character in brace notation ("{CR}") into the
// prefix or suffix box of the miscellaneous panel that opened it. Shown modal; it stays open so
// that several keys can be inserted one after another.
class DlgCtrl : public QDialog {
    Q_OBJECT
public:
    // `target`: the box the keys go into, which the panel that opens the dialog passes (its
    // prefix box txt694 or its suffix box txt693); with none, nothing is inserted.
    explicit DlgCtrl(QLineEdit* target, QWidget* parent = nullptr);

    // The box the dialog inserts into; nullptr once that box is gone.
    QLineEdit* targetBox() const { return target_; }

private:
    void btnCtrl_Click(int index);
    void Command1_Click();
    void Command2_Click();

    QPointer<QLineEdit> target_;
    QLineEdit* keyName_ = nullptr; // the name of the key to insert
};

} // namespace orv
