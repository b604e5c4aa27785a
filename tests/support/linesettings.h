// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The line settings in the two texts the link windows' tests are written in: the baud rate
// ("9600") and the format ("N,8,1 ": parity letter, data bits, stop bits, a blank).

#include "core/serialsettings.h"

#include <QStringList>

namespace orv::test {

// Sets parity, data bits and stop bits from a format text, part by part and unchecked, so that
// a test can also give settings no port takes ("N,9,9 ").
inline void SetFormat(SerialSettings& s, const QString& format) {
    const QStringList parts = format.split(QLatin1Char(','));
    s.parity = static_cast<Parity>(QStringLiteral("NEOMS").indexOf(parts.value(0).trimmed()));
    s.dataBits = parts.value(1).trimmed().toInt();
    s.stopBits = parts.value(2).trimmed().toInt();
}

// "N,8,1 ".
inline QString FormatOf(const SerialSettings& s) {
    return SerialSettingsText(s).section(QLatin1Char(','), 1);
}

// "9600".
inline QString BaudOf(const SerialSettings& s) {
    return QString::number(s.baudRate);
}

} // namespace orv::test
