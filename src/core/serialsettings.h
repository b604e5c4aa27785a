// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace orv {

// The parity of the serial line, in the order of its letters N, E, O, M, S.
enum class Parity { None, Even, Odd, Mark, Space };

// The line settings of the serial port: what the link options set, orvctl's options give and
// the port opens with. Carried as they are; their text ("9600,N,8,1 ") is only for showing them
// and reading them from a command line.
struct SerialSettings {
    qint32 baudRate = 9600;
    Parity parity = Parity::None;
    int dataBits = 8; // 7 or 8
    int stopBits = 1; // 1 or 2

    friend bool operator==(const SerialSettings&, const SerialSettings&) = default;
};

// Whether a port can take the settings: a positive baud rate, 7 or 8 data bits, 1 or 2 stop
// bits.
bool IsUsable(const SerialSettings& s);

// "N", "E", "O", "M" or "S".
QChar ParityLetter(Parity parity);

// The settings as the window writes them: "9600,N,8,1 ", the stop bits followed by a blank.
QString SerialSettingsText(const SerialSettings& s);

// Nothing when the text is not a positive baud rate, a parity letter N, E, O, M or S (either
// case), 7 or 8 data bits and 1 or 2 stop bits, separated by commas; blanks around each part
// are allowed.
std::optional<SerialSettings> ParseSerialSettings(const QString& text);

} // namespace orv
