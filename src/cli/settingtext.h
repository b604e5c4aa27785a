// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Settings as text: what orvctl shows for a setting of a configuration, and how it reads a value
// given on its command line. This is where the settings catalogue (core) meets the character
// notation: characters and insertion text are written in brace notation, {CR} for code 13.

#include "core/catalogue.h"
#include "core/cfgformat.h"

#include <optional>
#include <vector>

namespace orv {

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

// One character as text: a control character (0..31) as {NAME}, any other as itself.
QString CharacterText(quint8 code);

} // namespace orv
