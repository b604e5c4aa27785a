// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// ParseSerialSettings: settings that are taken have a positive baud rate, and written back as a
// settings text (with or without blanks around the parts) they read back the same.
//
// Input: byte 0 is a switch; bit 1 reads the text as UTF-8 instead of one character per byte.

#include "fuzzcheck.h"

#include "core/serialsettings.h"

#include <QStringList>

using namespace orv;

namespace {

QString TextOf(const SerialSettings& s, const QString& blank) {
    const QString parts[] = {QString::number(s.baudRate), QString(ParityLetter(s.parity)),
                             QString::number(s.dataBits), QString::number(s.stopBits)};
    QStringList out;
    for (const QString& p : parts)
        out << blank + p + blank;
    return out.join(QLatin1Char(','));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const QString text = fuzz::Text(fuzz::Bytes(data + 1, size - 1), data[0] & 2);
    const auto settings = ParseSerialSettings(text);
    if (!settings)
        return 0;
    FUZZ_CHECK(settings->baudRate > 0);
    FUZZ_CHECK(text.count(QLatin1Char(',')) == 3);
    FUZZ_CHECK(IsUsable(*settings));
    FUZZ_CHECK(ParseSerialSettings(SerialSettingsText(*settings)) == settings);
    for (const QString& blank : {QString(), QStringLiteral(" ")}) {
        const auto back = ParseSerialSettings(TextOf(*settings, blank));
        FUZZ_CHECK(back && *back == *settings);
    }
    return 0;
}
