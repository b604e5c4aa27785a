// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/serialsettings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace orv {

// The decoder's firmware loader over RS232. The program sends the loader-access command, then
// 192-byte packets: one erase packet, the image in data pages of 184 bytes, and an end-of-image
// packet. A data page is
//   0       01h
//   1, 2    start address, high byte first
//   3, 4    end address (start + 183), low byte first
//   5..188  the image bytes of the page; past the end of the image 0
//   189     XOR of bytes 1..188
//   190     55h
//   191     AAh
// The erase packet is 192 zero bytes; the end-of-image packet is 05h and 191 zero bytes.
constexpr int IspPageSize = 184;
constexpr int IspPacketSize = 192;
constexpr qint64 IspMaxImageSize = 65535;
constexpr int IspMaxTries = 3;

// The transfer always runs with these line settings.
inline const SerialSettings IspSerialSettings{19200, Parity::None, 8, 1};

enum IspPacketType : quint8 { IspErase = 0x00, IspDataPage = 0x01, IspEndOfImage = 0x05 };

// First reply bytes of the loader.
constexpr quint8 IspAccessGranted = 0x07; // to the access command
constexpr quint8 IspWrongVersion = 0x1B;  // to the access command: the loader is another version
constexpr quint8 IspPacketAccepted = 0xAA;

// The outcome of a reply, as the window keeps it.
enum IspReplyCode : qint16 {
    IspNoReply = 0,
    IspAccepted = 1,
    IspRejected = 2,
    IspIncorrectVersion = 7,
};

// 02h 84h 03h 85h.
QByteArray IspAccessCommand();
QByteArray IspErasePacket();
QByteArray IspEndPacket();
// The data page starting at image offset `start` (a multiple of 184 below 65,536) with the
// image bytes that follow it (at most 184).
//
// The end address of the last page of an image longer than 65,352 bytes does not fit in 16
// bits (65,504 + 183 = 65,687); it is sent as its low 16 bits, the address the page's last
// byte has in the loader's 64 KB space.
QByteArray IspPage(int start, QByteArrayView bytes);

// The progress bar's maximum for an image of this size: the integer part of size / 184, plus 1.
int IspProgressMaximum(qint64 imageSize);

// The outcome of a reply: to the access command 07h accepts and 1Bh is the wrong version; to a
// packet AAh accepts. Anything else (and no byte at all) rejects.
IspReplyCode IspReplyOutcome(bool accessCommand, const QByteArray& reply);

} // namespace orv
