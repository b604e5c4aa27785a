// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/config.h"

#include <QByteArray>

namespace orv {

// Command frames from the program to the decoder over RS232:
//   STX, command, [length byte, data], ETX, check byte
// The length byte is the highest data index (data size - 1); the check byte is the XOR of every
// byte before it, STX and ETX included.
constexpr quint8 Stx = 0x02;
constexpr quint8 Etx = 0x03;
// The decoder's "accepted" answer to a download.
constexpr quint8 Accepted = 0x07;

enum Command : quint8 {
    CmdDownloadSave = 0x01,   // download, the decoder keeps the image
    CmdDownloadNoSave = 0x02, // download, the decoder uses the image without keeping it
    CmdUpload = 0x80,         // upload and firmware version
    CmdReadMemory = 0x82,
    CmdClearMemory = 0x83,
    CmdLoaderAccess = 0x84, // the firmware loader takes over the line (answer 07h)
};

// XOR of all bytes.
quint8 XorOf(const QByteArray& bytes);

// A frame without data: STX, command, ETX, check.
QByteArray CommandFrame(quint8 command);
// A frame with data (at least one byte and at most 256).
QByteArray CommandFrame(quint8 command, const QByteArray& data);

// The 90-byte download frame of an image.
QByteArray DownloadFrame(const Image& image, bool save);
// 0x02 0x80 0x03 0x81.
QByteArray UploadRequestFrame();

} // namespace orv
