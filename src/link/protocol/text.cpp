// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "text.h"

#include "core/codepage.h"
#include "core/notation.h"

namespace orv {

QString ByteToHex(quint8 byte) {
    static const char Digits[] = "0123456789ABCDEF";
    QString out(2, QLatin1Char('0'));
    out[0] = QLatin1Char(Digits[byte >> 4]);
    out[1] = QLatin1Char(Digits[byte & 0x0F]);
    return out;
}

int HexDigitValue(const QString& text) {
    if (text.isEmpty())
        return MaxHexDigit + 1;
    // Only real hex digits count. (Folding the case and subtracting the gaps below "0" and
    // between "9" and "A" would also turn ":" .. "@" and control codes into digits 0..15.)
    const char16_t c = text.front().unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return MaxHexDigit + 1;
}

QString NumberText(qint64 n) {
    const QString digits = QString::number(n);
    return n >= 0 ? QLatin1Char(' ') + digits : digits;
}

namespace {

void AppendVisible(QString& text, char16_t c, VisibleStyle style) {
    if (c < 32)
        text += QLatin1Char('<') + ControlName(static_cast<quint8>(c)) + QLatin1Char('>');
    else if (style == VisibleStyle::Terminal && c >= 0x7F && c <= 0x9F)
        text += QLatin1Char('<') + ByteToHex(static_cast<quint8>(c)) + QLatin1Char('>');
    else
        text += QChar(c);
}

} // namespace

QString VisibleText(QByteArrayView bytes, VisibleStyle style) {
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes)
        AppendVisible(text, CharOfByte(static_cast<quint8>(c)).unicode(), style);
    return text;
}

QString VisibleText(QStringView text, VisibleStyle style) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        AppendVisible(out, c.unicode(), style);
    return out;
}

} // namespace orv
