// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "textboxes.h"

#include "core/codepage.h"
#include "core/config.h"
#include "core/dialogs.h"
#include "core/notation.h"
#include "core/settingcodec.h"
#include "ui/programtitle.h"

#include <QScopedValueRollback>

#include <span>

namespace orv {

bool HasSingleByteCode(QChar c) {
    return ByteOfChar(c).has_value();
}

bool StorableInHeader(QChar c) {
    return HasSingleByteCode(c) && c != QLatin1Char('\r') && c != QLatin1Char('\n');
}

StorableTextValidator::StorableTextValidator(StorableChar storable, QObject* parent)
    : QValidator(parent), storable_(storable) {}

QValidator::State StorableTextValidator::validate(QString& input, int& pos) const {
    QString kept;
    kept.reserve(input.size());
    int newPos = pos;
    for (int i = 0; i < input.size(); ++i) {
        const QChar c = input[i];
        if (storable_(c)) {
            kept += c;
        } else if (i < pos) {
            --newPos;
        }
    }
    input = kept;
    pos = newPos;
    return Acceptable;
}

BoundLineEdit::BoundLineEdit(const QString& name, StorableChar storable, QWidget* parent)
    : QLineEdit(parent) {
    setObjectName(name);
    setValidator(new StorableTextValidator(storable, this));
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!showing_)
            textChange();
    });
}

void BoundLineEdit::showText(const QString& text) {
    {
        QScopedValueRollback guard(showing_, true);
        setText(text);
    }
    textChange();
}

HeaderBox::HeaderBox(Config& config, QString Config::*string, const QString& name, QWidget* parent)
    : BoundLineEdit(name, StorableInHeader, parent), config_(config), string_(string) {}

void HeaderBox::showFrom(Source) {
    showText(config_.*string_);
}

void HeaderBox::textChange() {
    config_.*string_ = text();
}

SingleCharBox::SingleCharBox(Config& config, Dialogs* dialogs, const Setting& setting,
                             const QString& name, QWidget* parent)
    : BoundLineEdit(name, HasSingleByteCode, parent), config_(config), dialogs_(dialogs),
      rule_(setting.charRule), byte_(setting.field.byte) {
    Q_ASSERT(setting.kind == SettingKind::Character);
    Q_ASSERT(dialogs_ || rule_ != CharRule::Identifier);
}

void SingleCharBox::showFrom(Source source) {
    const BitField whole{byte_, 0xFF, 0};
    showText(SingleCharText(rule_, static_cast<quint8>(FieldCode(config_, whole, source))));
}

void SingleCharBox::textChange() {
    const SingleCharOutcome out = ApplySingleCharRule(rule_, text());
    if (out.store)
        config_.SetCfgBits(byte_, 0xFF, *out.store);
    if (out.tooManyMessage && dialogs_)
        dialogs_->inform(tr("Allow only one character."), tr("Decoder %1").arg(ProgramTitle()));
    if (out.replaceBy)
        setText(*out.replaceBy); // runs the rule again on the new text
}

InsertionBox::InsertionBox(Config& config, int first, int n, const QString& name, QWidget* parent)
    : BoundLineEdit(name, IsInsertionChar, parent), config_(config), groupStart_(first),
      groupSize_(n) {}

void InsertionBox::setGroupStart(int first) {
    groupStart_ = first;
    showFrom(Source::Data);
}

void InsertionBox::clearGroup() {
    for (int i = 0; i < groupSize_; ++i)
        config_.SetCfgBits(groupStart_ + i, 0xFF, EmptyCharCode);
    showText(QString());
}

void InsertionBox::showFrom(Source source) {
    const Image& image = source == Source::Data ? config_.CfgData : config_.CfgDefault;
    showText(RenderInsertionGroup(std::span(image).subspan(groupStart_, groupSize_)));
}

void InsertionBox::textChange() {
    const std::vector<quint8> group = ParseInsertionText(text(), groupSize_);
    for (int i = 0; i < groupSize_; ++i)
        config_.SetCfgBits(groupStart_ + i, 0xFF, group[i]);
}

void InsertionBox::focusOutEvent(QFocusEvent* event) {
    const int start = selectionStart();
    const int length = selectionLength();
    const bool caretAtStart = cursorPosition() == start;
    QLineEdit::focusOutEvent(event); // drops the selection
    if (start >= 0 && length > 0) {
        if (caretAtStart)
            setSelection(start + length, -length);
        else
            setSelection(start, length);
    }
}

namespace {

// Lets in what the count rule takes (CheckCountText).
class CountValidator : public QValidator {
public:
    CountValidator(const Setting& setting, QObject* parent)
        : QValidator(parent), setting_(setting) {}
    State validate(QString& input, int&) const override {
        switch (CheckCountText(setting_, input)) {
        case CountTextState::Incomplete:
            return Intermediate;
        case CountTextState::Count:
            return Acceptable;
        case CountTextState::Refused:
            break;
        }
        return Invalid;
    }

private:
    const Setting& setting_;
};

} // namespace

CountCombo::CountCombo(Config& config, const Setting& setting, const QString& name, QWidget* parent)
    : QComboBox(parent), config_(config), setting_(setting) {
    Q_ASSERT(setting_.kind == SettingKind::Count);
    setObjectName(name);
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMinimumContentsLength(3);
    for (int n = 0; n <= 9; ++n)
        addItem(QString::number(n));
    setValidator(new CountValidator(setting_, this));
    // Change and Click do the same: the count of the text is stored.
    connect(this, &QComboBox::editTextChanged, this, [this] {
        if (!showing_)
            store();
    });
    connect(this, &QComboBox::activated, this, [this] { store(); });
}

void CountCombo::showFrom(Source source) {
    showText(QLatin1Char(' ') + QString::number(FieldCode(config_, setting_.field, source)));
}

void CountCombo::showText(const QString& text) {
    {
        QScopedValueRollback guard(showing_, true);
        // The list entry follows, so that the arrow keys step on from the count shown.
        setCurrentIndex(findText(text.trimmed()));
        setEditText(text);
    }
    store();
}

void CountCombo::store() {
    const int n = CountOfText(currentText());
    // The validator keeps larger counts out; should one arrive anyway, the field keeps its value
    // rather than take one the user did not choose.
    if (HoldsCount(setting_, n))
        StoreFieldCode(config_, setting_.field, n);
}

SeparatorCombo::SeparatorCombo(Config& config, int byte, const QString& name, QWidget* parent)
    : QComboBox(parent), config_(config), byte_(byte) {
    setObjectName(name);
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr); // typed text is not completed to a list name
    setMinimumContentsLength(4);
    for (int code = 0; code < ControlCount; ++code)
        addItem(ControlName(code));
    setValidator(new StorableTextValidator(HasSingleByteCode, this));
    // The combo box would make finished text that spells a name the current list entry (on
    // Enter or when the field loses the focus); typed text must stay typed text.
    disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    disconnect(lineEdit(), &QLineEdit::returnPressed, this, nullptr);
    // Change (typed) and Click (a list entry chosen). Neither fires when the program sets the
    // box, which stores what it shows itself.
    connect(lineEdit(), &QLineEdit::textEdited, this, &SeparatorCombo::typed);
    connect(this, &QComboBox::activated, this,
            [this](int index) { store(static_cast<quint8>(index)); });
}

void SeparatorCombo::showFrom(Source source) {
    showCode(static_cast<quint8>(FieldCode(config_, {byte_, 0xFF, 0}, source)));
}

void SeparatorCombo::showCode(quint8 code) {
    if (code < ControlCount) {
        setCurrentIndex(code);
        setEditText(itemText(code)); // also when the entry was current but its text was edited
    } else {
        setEditText(QString(CharOfByte(code)));
    }
    store(code);
}

void SeparatorCombo::typed(const QString& text) {
    if (text.isEmpty())
        return;
    if (const auto b = ByteOfChar(text[0]))
        store(*b);
}

void SeparatorCombo::store(quint8 code) {
    config_.SetCfgBits(byte_, 0xFF, code);
}

} // namespace orv
