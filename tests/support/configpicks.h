// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Random configurations, the bytes of their files written out independently of the program's
// writer, and values for settings as a user would type them: for the tests of the settings as
// text and of orvctl.

#include "settingfields.h"

#include "core/catalogue.h"
#include "core/cfgformat.h"
#include "core/notation.h"

#include <QRandomGenerator>

#include <vector>

namespace orv::test {

// The names of the control characters 0..31, as the window writes them between braces.
extern const char* const ControlNames[ControlCount];

// The row of a setting in the independent table of fields.
const SettingField& FieldOf(const Setting& s);
// A code ID character (stores no control character).
bool IsIdentifier(const SettingField& f);

// Up to maxLength printable single-byte characters.
QString RandomText(QRandomGenerator& rng, int maxLength);
// Random image bytes, and random header records in a .cfg file.
ConfigFile RandomConfig(QRandomGenerator& rng, FileFormat format = FileFormat::Cfg);
// A file as the window saves it: records ended by CR LF, numbers between two blanks.
QByteArray FileBytes(const ConfigFile& f);

// A value for a setting, as a user would type it, with the text that reads back and the field
// it leaves.
struct Pick {
    QString typed;
    QString readsBack;
    std::vector<int> bytes; // the field's code, or a group's bytes
    QString header;         // header text
};

Pick PickValue(const Setting& s, const SettingField& f, QRandomGenerator& rng);

} // namespace orv::test
