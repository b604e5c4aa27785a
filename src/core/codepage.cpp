#include "codepage.h"

namespace orv {

QString TextOfBytes(const QByteArray& bytes) {
    return QString::fromLatin1(bytes);
}

std::optional<QByteArray> BytesOfText(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const auto b = ByteOfChar(c);
        if (!b)
            return std::nullopt;
        out.append(static_cast<char>(*b));
    }
    return out;
}

QString KeepSingleByteChars(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (ByteOfChar(c))
            out.append(c);
    }
    return out;
}

} // namespace orv
