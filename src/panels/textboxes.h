// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "binding.h"

#include "core/catalogue.h"

#include <QComboBox>
#include <QLineEdit>
#include <QValidator>

namespace orv {

class Dialogs;

// Which characters a box can store.
using StorableChar = bool (*)(QChar);
// Any character with a single-byte code (single-character and separator boxes).
bool HasSingleByteCode(QChar c);
// A character with a single-byte code that is no line break (header strings).
bool StorableInHeader(QChar c);

// Keeps out of a box what the configuration cannot store: characters that `storable` refuses
// are dropped from typed and pasted text.
class StorableTextValidator : public QValidator {
public:
    StorableTextValidator(StorableChar storable, QObject* parent);
    State validate(QString& input, int& pos) const override;

private:
    StorableChar storable_;
};

// A text box bound to the configuration: it stores its text on every change, whether the user or
// the program changed it. Subclasses say how the text is stored.
class BoundLineEdit : public QLineEdit, public Binding {
    Q_OBJECT
public:
    BoundLineEdit(const QString& name, StorableChar storable, QWidget* parent = nullptr);

    // Puts a text into the box and stores it, as a change by the user would.
    void showText(const QString& text);

protected:
    // The box's text has changed (by the user or by showText).
    virtual void textChange() = 0;

private:
    bool showing_ = false;
};

// A header string of the configuration (DeviceName, ...), edited live.
class HeaderBox : public BoundLineEdit {
    Q_OBJECT
public:
    HeaderBox(Config& config, QString Config::*string, const QString& name,
              QWidget* parent = nullptr);
    // Header strings have no defaults; either source shows the current string.
    void showFrom(Source source) override;

protected:
    void textChange() override;

private:
    Config& config_;
    QString Config::*string_;
};

// A box that holds one character in one image byte, under one of the two single-character rules.
class SingleCharBox : public BoundLineEdit {
    Q_OBJECT
public:
    // The box of the character `setting`, under its rule. `dialogs` shows the identifier rule's
    // message; a track character box needs none.
    SingleCharBox(Config& config, Dialogs* dialogs, const Setting& setting, const QString& name,
                  QWidget* parent = nullptr);
    void showFrom(Source source) override;

protected:
    void textChange() override;

private:
    Config& config_;
    Dialogs* dialogs_;
    CharRule rule_;
    int byte_;
};

// A prefix or suffix box: its text in brace notation is stored into an insertion group of n
// bytes. The group's first byte can change (the magnetic reader's boxes switch tracks). Like
// characters without a single-byte code, "\u00ff" cannot be typed or pasted into it: its code
// 255 would end the group.
class InsertionBox : public BoundLineEdit {
    Q_OBJECT
public:
    InsertionBox(Config& config, int first, int n, const QString& name, QWidget* parent = nullptr);

    int groupStart() const { return groupStart_; }
    int groupSize() const { return groupSize_; }
    // Edits another group from now on, and shows it.
    void setGroupStart(int first);
    // "Clear All Insetion": every byte of the group becomes empty, and so does the box.
    void clearGroup();

    void showFrom(Source source) override;

protected:
    void textChange() override;
    // The box keeps its caret and selection when it loses the focus: the Control Key dialog,
    // opened by a button beside it, inserts there.
    void focusOutEvent(QFocusEvent* event) override;

private:
    Config& config_;
    int groupStart_;
    int groupSize_;
};

// An editable combo box of counts "0".."9" bound to a count setting (the truncation counts).
// The list offers 0..9; a typed count may go up to 15, the largest the field holds, and the box
// refuses typing that would make it larger, so every count it stores is one the user chose.
class CountCombo : public QComboBox, public Binding {
    Q_OBJECT
public:
    CountCombo(Config& config, const Setting& setting, const QString& name,
               QWidget* parent = nullptr);

    // Shows the count with one leading blank (" 3"), as loading does.
    void showFrom(Source source) override;
    // Puts a text into the box and stores it ("Clear All" puts "0").
    void showText(const QString& text);

private:
    void store();

    Config& config_;
    const Setting& setting_;
    bool showing_ = false;
};

// The separator character box (cbo45D): an editable combo box bound to a whole byte, whose list
// names the 32 control characters in code order. Choosing list entry n stores n; typed text
// stores the code of its first character. A byte below 32 is shown as its list entry, any other
// as its character in the edit field.
//
// A list entry is chosen from the list only (mouse, arrow keys, wheel): typed text stays typed
// text even when it spells a name, so "CR" typed into the field stores "C".
//
// Emptying the field leaves the byte as it was, since the byte must always hold a character and
// no code means "none" here; the box keeps out characters with no single-byte code, so typed
// text always has a code to store.
class SeparatorCombo : public QComboBox, public Binding {
    Q_OBJECT
public:
    SeparatorCombo(Config& config, int byte, const QString& name, QWidget* parent = nullptr);

    void showFrom(Source source) override;
    // Shows a stored code and stores it.
    void showCode(quint8 code);

private:
    void typed(const QString& text);
    void store(quint8 code);

    Config& config_;
    int byte_;
};

} // namespace orv
