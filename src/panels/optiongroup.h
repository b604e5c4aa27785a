// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "binding.h"

#include <QCheckBox>
#include <QWidget>

#include <vector>

class QButtonGroup;
class QRadioButton;

namespace orv {

// A stored code that no element stores but one element shows.
struct ShownAs {
    int code;
    int element;
    // Showing it stores the element's own code (the value is normalised); otherwise the code is
    // kept until the user chooses an element.
    bool rewrites = false;
};

// An option-button array bound to a bit field: element i stores codes[i] (its index when codes is
// empty). A stored code is shown as the element that stores it, or as the element shownAs gives.
// A code that no element shows leaves every element unselected and is kept as it is, so that a
// value the panel cannot write survives until the user chooses one.
struct OptionGroupTable {
    const char* name;         // the array: element i is named "name(i)"
    const char* frame;        // object name of the frame around the elements, or nullptr
    const char* frameCaption; // the frame's caption (of the catalogue)
    BitField field;
    std::vector<const char*> captions;  // by element index
    std::vector<std::vector<int>> rows; // display: element indexes row by row; empty: one column
    std::vector<int> codes = {};
    std::vector<ShownAs> shownAs = {};
    const char* restoredBy = nullptr; // object name of the "Set Default" button that restores it
};

class OptionGroup : public QWidget, public Binding {
    Q_OBJECT
public:
    OptionGroup(Config& config, const OptionGroupTable& table, QWidget* parent = nullptr);

    const OptionGroupTable& table() const { return table_; }
    int count() const { return static_cast<int>(buttons_.size()); }
    QRadioButton* button(int element) const { return buttons_.at(element); }
    // The selected element, or -1.
    int selected() const;
    int codeOf(int element) const;
    // The element that shows a stored code, or -1.
    int elementOf(int code) const;

    void showFrom(Source source) override;
    // Shows a stored code and stores it (or the element's code when the table says so).
    void showCode(int code);

signals:
    // A code was stored, by the user or by showing.
    void stored(int code);

private:
    void click(int element);
    void store(int code);
    void select(int element);

    Config& config_;
    OptionGroupTable table_;
    std::vector<QRadioButton*> buttons_;
    QButtonGroup* group_ = nullptr;
    bool showing_ = false;
};

// A check box bound to one bit: checked stores the mask, unchecked 0.
class BitCheckBox : public QCheckBox, public Binding {
    Q_OBJECT
public:
    BitCheckBox(Config& config, const QString& name, const QString& caption, BitField field,
                QWidget* parent = nullptr);

    void showFrom(Source source) override;
    // Shows a value and stores it.
    void showValue(bool on);

private:
    void store(bool on);

    Config& config_;
    BitField field_;
    bool showing_ = false;
};

} // namespace orv
