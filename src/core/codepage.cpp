// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
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

QByteArray BytesOfTextOrQuestionMarks(const QString& text) {
    // The single-byte character set is ISO 8859-1, which is what toLatin1() writes.
    return text.toLatin1();
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
