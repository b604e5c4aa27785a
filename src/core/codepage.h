// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace orv {

// The single-byte character set in which the program stores characters: byte n is the
// character with code n (ISO 8859-1), so every byte value 0..255 round-trips through text.

// The character of a byte.
inline QChar CharOfByte(quint8 b) {
    return QChar(static_cast<char16_t>(b));
}

// The byte of a character, or nothing when the character has no single-byte code.
inline std::optional<quint8> ByteOfChar(QChar c) {
    if (c.unicode() > 0xFF)
        return std::nullopt;
    return static_cast<quint8>(c.unicode());
}

// The text of a run of bytes.
QString TextOfBytes(const QByteArray& bytes);

// The bytes of a text, or nothing when a character of it has no single-byte code.
std::optional<QByteArray> BytesOfText(const QString& text);

// The bytes of a text, with "?" for every character that has no single-byte code.
QByteArray BytesOfTextOrQuestionMarks(const QString& text);

// The text with every character that has no single-byte code removed.
QString KeepSingleByteChars(const QString& text);

} // namespace orv
