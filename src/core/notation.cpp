// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "notation.h"

#include "codepage.h"

#include <optional>

namespace orv {

QString ControlName(int code) {
    Q_ASSERT(code >= 0 && code < ControlCount);
    return QString(ControlMnemonics.mid(code * 3, 3)).trimmed();
}

QString CharacterText(quint8 code) {
    if (code < ControlCount)
        return QLatin1Char('{') + ControlName(code) + QLatin1Char('}');
    return QString(CharOfByte(code));
}

QString RenderInsertionGroup(std::span<const quint8> group) {
    QString text;
    for (quint8 b : group) {
        if (b == EmptyCharCode)
            break;
        text += CharacterText(b);
    }
    return text;
}

namespace {

// The control code named by the text between a "{" at `open` and the first "}" after it, or
// nothing when that text is no name: it must be two or three characters long, and (after upper
// case and the blank of a two-letter name) must be a whole cell of ControlMnemonics.
std::optional<int> TokenAt(const QString& text, qsizetype open, qsizetype* close) {
    const qsizetype j = text.indexOf(QLatin1Char('}'), open);
    if (j < 0 || j <= open + 2)
        return std::nullopt;
    QString name = text.mid(open + 1, j - open - 1);
    for (QChar& c : name)
        c = c.toUpper();
    if (name.size() == 2)
        name += QLatin1Char(' ');
    if (name.size() != 3)
        return std::nullopt;
    const qsizetype p = QString(ControlMnemonics).indexOf(name);
    if (p < 0 || p % 3 != 0)
        return std::nullopt; // absent, or only across a cell boundary
    *close = j;
    return static_cast<int>(p / 3);
}

} // namespace

bool IsInsertionChar(QChar c) {
    const auto b = ByteOfChar(c);
    return b && *b != EmptyCharCode;
}

std::vector<quint8> ParseInsertionText(const QString& typed, int n) {
    QString text;
    text.reserve(typed.size());
    for (QChar c : typed) {
        if (IsInsertionChar(c))
            text += c;
    }
    std::vector<quint8> group(static_cast<size_t>(n), EmptyCharCode);
    size_t k = 0;
    for (qsizetype i = 0; i < text.size() && k < group.size(); ++i) {
        if (text[i] == QLatin1Char('{')) {
            qsizetype close = 0;
            if (const auto code = TokenAt(text, i, &close)) {
                group[k++] = static_cast<quint8>(*code);
                i = close;
                continue;
            }
        }
        group[k++] = *ByteOfChar(text[i]);
    }
    return group;
}

} // namespace orv
