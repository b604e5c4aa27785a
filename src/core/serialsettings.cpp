// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "serialsettings.h"

#include <QStringList>

namespace orv {

namespace {

// The parity letters in the order of Parity.
const QLatin1String ParityLetters("NEOMS");

// 1 or 2 from "1" or "2" (`a` and `a` + 1), else nothing.
std::optional<int> OneOfTwo(const QString& text, int a) {
    if (text == QString::number(a))
        return a;
    if (text == QString::number(a + 1))
        return a + 1;
    return std::nullopt;
}

} // namespace

bool IsUsable(const SerialSettings& s) {
    return s.baudRate > 0 && (s.dataBits == 7 || s.dataBits == 8) &&
           (s.stopBits == 1 || s.stopBits == 2);
}

QChar ParityLetter(Parity parity) {
    return ParityLetters[static_cast<int>(parity)];
}

QString SerialSettingsText(const SerialSettings& s) {
    return QStringLiteral("%1,%2,%3,%4 ")
        .arg(s.baudRate)
        .arg(ParityLetter(s.parity))
        .arg(s.dataBits)
        .arg(s.stopBits);
}

std::optional<SerialSettings> ParseSerialSettings(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    SerialSettings s;
    bool ok = false;
    const QString baud = parts[0].trimmed();
    s.baudRate = baud.toInt(&ok);
    if (!ok || s.baudRate <= 0 || baud.startsWith(QLatin1Char('+')))
        return std::nullopt;
    const QString parity = parts[1].trimmed().toUpper();
    const qsizetype letter = parity.size() == 1 ? QString(ParityLetters).indexOf(parity) : -1;
    if (letter < 0)
        return std::nullopt;
    s.parity = static_cast<Parity>(letter);
    const auto data = OneOfTwo(parts[2].trimmed(), 7);
    const auto stop = OneOfTwo(parts[3].trimmed(), 1);
    if (!data || !stop)
        return std::nullopt;
    s.dataBits = *data;
    s.stopBits = *stop;
    return s;
}

} // namespace orv
