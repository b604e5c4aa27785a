#include "text.h"

#include "core/codepage.h"
#include "notation/notation.h"

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

QString VisibleText(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<quint8>(c);
        if (b > 31)
            text += CharOfByte(b);
        else
            text += QLatin1Char('<') + ControlName(b) + QLatin1Char('>');
    }
    return text;
}

} // namespace orv
