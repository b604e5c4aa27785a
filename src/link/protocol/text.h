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

// Received bytes as the keyboard and RS232 test shows them: a byte above 31 as its character, a
// control byte by its name between angle brackets (02h 41h 0Dh: "<STX>A<CR>").
QString VisibleText(QByteArrayView bytes);

} // namespace orv
