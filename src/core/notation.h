// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include <span>
#include <vector>

namespace orv {

// The text notation of characters that the prefix and suffix boxes and orvctl share: control
// characters by name, insertion groups as text in brace notation.

// The names of the 32 control characters, three characters to a cell: cell c names code c, and
// a two-letter name ends with a blank inside its cell. Every name occurs first at the start of
// its own cell.
inline const QLatin1String ControlMnemonics("NULSOHSTXETXEOTENQACKBELBS HT LF VT FF CR SO SI "
                                            "DLEDC1DC2DC3DC4NAKSYNETBCANEM SUBESCFS GS RS US ");
constexpr int ControlCount = 32;

// The byte of an insertion group that means "no character here"; it ends the group.
constexpr quint8 EmptyCharCode = 255;

// The name of control code 0..31 without the blank: "NUL", "CR", "US".
QString ControlName(int code);

// One character as text: a control character (0..31) as {NAME}, any other as itself.
QString CharacterText(quint8 code);

// The text of an insertion group: printable bytes as themselves, control bytes as {NAME}, up to
// the first EmptyCharCode.
QString RenderInsertionGroup(std::span<const quint8> group);

// Whether a character can stand in an insertion group: it needs a single-byte code, and that
// code must not be EmptyCharCode ("\u00ff" would read back as the end of the group).
bool IsInsertionChar(QChar c);

// The n bytes of an insertion group for the text of its box. A recognised {NAME} (any letter
// case, a two-letter name with or without its blank) is one control byte; every other
// character is its own code, including a "{" that starts no name. Text beyond the n-th byte is
// ignored, and the bytes after the last character are EmptyCharCode.
//
// Characters that cannot stand in a group (see IsInsertionChar) are removed before the text is
// read as notation: they take no byte and cannot split a name ("{C\u20acR}" is {CR}). The boxes
// keep such characters out in the first place, so this matters to text from elsewhere.
std::vector<quint8> ParseInsertionText(const QString& text, int n);

} // namespace orv
