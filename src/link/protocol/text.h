// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

namespace orv {

// The two uppercase hex digits of a byte, high digit first: 0x0C -> "0C".
QString ByteToHex(quint8 byte);

// Values above this mark a character that is not a hex digit.
constexpr int MaxHexDigit = 15;

// The value of the first character of text as a hex digit: "0".."9" give 0..9, "A".."F" and
// "a".."f" give 10..15. Any other character, and an empty text, gives a value above 15.
int HexDigitValue(const QString& text);

// A number as the program writes it into messages: a blank before zero and positive numbers,
// the minus sign before negative ones (" 5", " 0", "-1").
QString NumberText(qint64 n);

// How VisibleText shows the bytes above 31 that are control codes too.
enum class VisibleStyle {
    // As the keyboard and RS232 test window shows them: as their characters.
    Window,
    // For a terminal, which would take them as commands: DEL and the C1 controls 80h..9Fh by
    // their two hex digits between angle brackets ("<7F>", "<9B>").
    Terminal,
};

// Received bytes as the keyboard and RS232 test shows them: a byte above 31 as its character
// (ISO 8859-1), a control byte by its name between angle brackets (02h 41h 0Dh: "<STX>A<CR>").
// With VisibleStyle::Terminal nothing that a terminal would act on is left: ESC 5Bh 41h 9Bh
// gives "<ESC>[A<9B>".
QString VisibleText(QByteArrayView bytes, VisibleStyle style = VisibleStyle::Window);
// The same for text whose characters up to U+00FF stand for such bytes (a decoder's text read
// as ISO 8859-1); other characters are kept.
QString VisibleText(QStringView text, VisibleStyle style);

} // namespace orv
