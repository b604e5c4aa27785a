// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "optiongroup.h"

#include "core/catalogue.h"
#include "core/config.h"
#include "ui/controls.h"
#include "ui/names.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace orv {

namespace {

// An option button or check box reacts to clicks on its indicator and caption only; kept to that
// size, a click anywhere on it (its centre included) reaches it.
void KeepToSizeHint(QWidget* w) {
    w->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
}

} // namespace

OptionGroup::OptionGroup(Config& config, const OptionGroupTable& table, QWidget* parent)
    : QWidget(parent), config_(config), table_(table) {
    Q_ASSERT(table_.field.isConsistent());
    Q_ASSERT(table_.codes.empty() || table_.codes.size() == table_.captions.size());
    setObjectName(QString::fromLatin1(table_.name));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* grid = new QGridLayout;
    if (table_.frame) {
        QGroupBox* frame =
            TitledFrame(QString::fromLatin1(table_.frame), CaptionText(table_.frameCaption));
        frame->setLayout(grid);
        outer->addWidget(frame);
    } else {
        outer->addLayout(grid);
    }

    group_ = new QButtonGroup(this);
    for (int i = 0; i < static_cast<int>(table_.captions.size()); ++i) {
        auto* b = new QRadioButton(CaptionText(table_.captions[i]));
        b->setObjectName(ArrayName(QString::fromLatin1(table_.name), i));
        KeepToSizeHint(b);
        group_->addButton(b, i);
        buttons_.push_back(b);
    }
    // A click stores the element's code even when it is already selected (it may show a code it
    // does not store); a selection by the keyboard, by an accessibility client or by code stores
    // it too.
    OnOptionChosen(group_, this, [this](int element) { click(element); });
    std::vector<std::vector<int>> rows = table_.rows;
    if (rows.empty()) {
        for (int i = 0; i < count(); ++i)
            rows.push_back({i});
    }
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        for (int c = 0; c < static_cast<int>(rows[r].size()); ++c)
            grid->addWidget(buttons_.at(rows[r][c]), r, c);
    }
}

int OptionGroup::selected() const {
    return group_->checkedId();
}

int OptionGroup::codeOf(int element) const {
    return table_.codes.empty() ? element : table_.codes.at(element);
}

int OptionGroup::elementOf(int code) const {
    for (int i = 0; i < count(); ++i) {
        if (codeOf(i) == code)
            return i;
    }
    for (const ShownAs& s : table_.shownAs) {
        if (s.code == code)
            return s.element;
    }
    return -1;
}

void OptionGroup::showFrom(Source source) {
    showCode(FieldCode(config_, table_.field, source));
}

void OptionGroup::showCode(int code) {
    const int element = elementOf(code);
    select(element);
    bool rewrites = false;
    for (const ShownAs& s : table_.shownAs) {
        if (s.code == code)
            rewrites = s.rewrites;
    }
    store(rewrites ? codeOf(element) : code);
}

void OptionGroup::select(int element) {
    QScopedValueRollback guard(showing_, true);
    if (element >= 0) {
        buttons_.at(element)->setChecked(true);
        return;
    }
    // No element shows this code: none is selected.
    group_->setExclusive(false);
    for (QRadioButton* b : buttons_)
        b->setChecked(false);
    group_->setExclusive(true);
}

void OptionGroup::click(int element) {
    if (!showing_)
        store(codeOf(element));
}

void OptionGroup::store(int code) {
    StoreFieldCode(config_, table_.field, code);
    emit stored(code);
}

BitCheckBox::BitCheckBox(Config& config, const QString& name, const QString& caption,
                         BitField field, QWidget* parent)
    : QCheckBox(caption, parent), config_(config), field_(field) {
    Q_ASSERT(field_.isConsistent() && field_.mask == 1 << field_.shift);
    setObjectName(name);
    KeepToSizeHint(this);
    connect(this, &QCheckBox::toggled, this, [this](bool on) {
        if (!showing_)
            store(on);
    });
}

void BitCheckBox::showFrom(Source source) {
    showValue(FieldCode(config_, field_, source) != 0);
}

void BitCheckBox::showValue(bool on) {
    {
        QScopedValueRollback guard(showing_, true);
        setChecked(on);
    }
    store(on);
}

void BitCheckBox::store(bool on) {
    // The box's value (0 or 1) times the mask.
    config_.SetCfgBits(field_.byte, field_.mask, on ? field_.mask : 0);
}

} // namespace orv
