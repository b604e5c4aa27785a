// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The settings as text, keyed by the settings catalogue: what orvctl shows for a setting of a
// configuration and how it reads a value given on its command line, and the rules the settings
// panels' boxes apply to what is typed into them. Characters and insertion text are written in
// brace notation (notation.h), {CR} for code 13. Both orvctl and the windows take their rules
// from here, so what one shows the other takes back.

#include "catalogue.h"
#include "cfgformat.h"

#include <QStringView>

#include <optional>
#include <vector>

namespace orv {

// ----- A setting of a configuration as text (orvctl) -----

// How one setting reads in a configuration.
struct SettingReading {
    bool present = true;    // false: a header record, and the file is a defaults file
    std::vector<int> codes; // what is stored: the code of a field, header choice or character,
                            // the bytes of an insertion group; nothing for header text
    QString text; // what get prints, in the form set takes back and stores as the same bits: the
                  // token of the option that stores the code, the text in brace notation, or
                  // the code form ("code:5") where no such text stores it
    std::optional<QString> caption; // what the window shows; nothing when no option shows it
    QString display; // for a person: the caption or the quoted text, and the stored code where
                     // what the window shows does not store it
};

SettingReading ReadSetting(const Setting& setting, const ConfigFile& file);

// Stores a value given as text: a caption or token for choices, flags and counts, one character
// or a {NAME} for a character, brace notation for insertion text, and for every setting of the
// image or header choice the code form that gives the stored codes as they are ("code:4",
// "code:65,255,66,255"). Nothing on success, otherwise the reason the value is refused, and the
// configuration is unchanged.
std::optional<QString> StoreSetting(const Setting& setting, const QString& text, ConfigFile& file);

// The values a setting takes, for a person: "0..15", "one character; {NAME} for a control
// character", or the tokens of its values.
QString ValuesText(const Setting& setting);

// ----- Single characters -----

// Whether a single-character setting holds a code as a character: a code ID holds no control
// character (its box stores 0, "none", for one), the others hold every code.
bool HoldsAsCharacter(CharRule rule, int code);

// What a single-character box does after its text has changed.
struct SingleCharOutcome {
    std::optional<quint8> store;      // the byte to store; nothing: the byte keeps its value
    std::optional<QString> replaceBy; // the box's text must become this (and the rule runs again)
    bool tooManyMessage = false;      // show "Allow only one character."
};

// The rule of a single-character box: a code ID's box stores 0 when emptied and refuses a second
// character with a message (the box is emptied); a track character's box keeps its byte when
// emptied and keeps the first of several characters.
SingleCharOutcome ApplySingleCharRule(CharRule rule, const QString& text);

// The text a single-character box shows for a stored byte.
QString SingleCharText(CharRule rule, quint8 byte);

// ----- Counts -----

// Whether a count setting holds a count.
bool HoldsCount(const Setting& setting, int count);

// The count a count box's text stands for: the digits after leading blanks; no digits: 0.
int CountOfText(QStringView text);

// What a count box makes of a text: blanks, then at most two digits whose count the setting
// holds. Blanks alone are no count yet.
enum class CountTextState { Incomplete, Count, Refused };
CountTextState CheckCountText(const Setting& setting, QStringView text);

} // namespace orv
