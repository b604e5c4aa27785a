#pragma once

#include <QDialog>

class QLineEdit;

namespace orv {

class Config;

// DlgCtrl, "Control Key": inserts a control character in brace notation ("{CR}") into the
// prefix or suffix box of the miscellaneous panel that opened it. Shown modal; it stays open so
// that several keys can be inserted one after another.
class DlgCtrl : public QDialog {
    Q_OBJECT
public:
    explicit DlgCtrl(Config& config, QWidget* parent = nullptr);

    // The box the dialog inserts into: txt694 (prefix) or txt693 (suffix) of magcfg6 while the
    // magnetic reader command set is current, else of cfg6. Found by object name among the
    // program's windows; nullptr when that panel is not open.
    QLineEdit* targetBox() const;

private:
    void btnCtrl_Click(int index);
    void Command1_Click();
    void Command2_Click();

    Config& config_;
    QLineEdit* txtCtrl_ = nullptr;
};

} // namespace orv
