// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/config.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace orv {

// Replies of the decoder to download, upload and firmware-version requests, on both links.

// Status of an awaited reply, as the link windows keep it.
enum ReplyStatusCode : qint16 {
    NoReply = 0,
    GoodReply = 1,
    BadReply = 2,
    EndOfMemory = 3, // a memory read met the end mark
};

// The region of the image that the answering decoder owns.
enum class Region { Bar, Mag };
int RegionFirst(Region r);
int RegionSize(Region r);

// A good upload reply: the settings of the answering decoder and its version text.
struct UploadBlock {
    Region region = Region::Bar;
    QByteArray settings;  // RegionSize(region) bytes, for CfgData[RegionFirst(region)..]
    QString versionFirst; // 12 characters
    QString versionLast;  // 10 characters
};

// Writes the settings of a block into its region of the image; the other region stays.
void ApplyUpload(Image& image, const UploadBlock& block);

// The version text of a block: three blanks, the first part, LF CR, three blanks, the last part.
QString VersionText(const UploadBlock& block);

// RS232: the answer to a download; GoodReply when the first byte is 0x07.
ReplyStatusCode DownloadReplyStatus(const QByteArray& reply);

// RS232: the receive threshold of an upload, and the parsing of its block. Byte 0 is n (at
// least 10); bytes 0..n+23 form the block, whose XOR is 0. n = 60 is the magnetic reader's
// block (settings in bytes 1..60), any other n the bar decoder's (settings in bytes 1..25);
// the version text is bytes n+1..n+12 and n+13..n+22. A reply shorter than its block is bad.
constexpr int SerialUploadThreshold = 84;
std::optional<UploadBlock> ParseSerialUpload(const QByteArray& reply);

// Keyboard link: the letter bursts, the download data and the upload reply.
constexpr char BurstDownloadSave = 'A';
constexpr char BurstDownloadNoSave = 'B';
constexpr char BurstUpload = 'C';
constexpr int BurstLength = 5;
constexpr int KeyboardUploadLength = 145;
constexpr int KeyboardDownloadLength = 2 * ImageSize + 2;

// The 172 characters of a keyboard download: every image byte as two hex digits, then the two
// hex digits of the XOR of all 85 bytes.
QByteArray KeyboardDownloadText(const Image& image);

// A typed upload reply: exactly 145 characters, the first "1" (bar decoder, 26 hex pairs) or
// "0" (magnetic reader, 61 hex pairs) with the XOR of all pairs 0; the last 22 characters are
// the version text.
std::optional<UploadBlock> ParseKeyboardUpload(const QString& reply);

} // namespace orv
