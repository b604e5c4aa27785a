// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "replies.h"

#include "frames.h"
#include "text.h"

#include "core/codepage.h"

namespace orv {

namespace {

constexpr int VersionFirstLength = 12;
constexpr int VersionLastLength = 10;
constexpr int VersionLength = VersionFirstLength + VersionLastLength;
constexpr int MagBlockN = 60;
constexpr int MinBlockN = 10;

} // namespace

int RegionFirst(Region r) {
    return r == Region::Mag ? MagFirst : BarFirst;
}

int RegionSize(Region r) {
    return r == Region::Mag ? MagLast - MagFirst + 1 : BarLast - BarFirst + 1;
}

void ApplyUpload(Image& image, const UploadBlock& block) {
    const int first = RegionFirst(block.region);
    const int size = RegionSize(block.region);
    Q_ASSERT(block.settings.size() == size);
    for (int i = 0; i < size; ++i)
        image[first + i] = static_cast<quint8>(block.settings[i]);
}

QString VersionText(const UploadBlock& block) {
    const QString blanks = QStringLiteral("   ");
    return blanks + block.versionFirst + QStringLiteral("\n\r") + blanks + block.versionLast;
}

ReplyStatusCode DownloadReplyStatus(const QByteArray& reply) {
    // No byte at all is no acceptance either.
    return (!reply.isEmpty() && static_cast<quint8>(reply[0]) == Accepted) ? GoodReply : BadReply;
}

std::optional<UploadBlock> ParseSerialUpload(const QByteArray& reply) {
    if (reply.isEmpty())
        return std::nullopt;
    const int n = static_cast<quint8>(reply[0]);
    const int blockSize = n + VersionLength + 2; // n, ..., version, check: bytes 0..n+23
    if (n < MinBlockN || reply.size() < blockSize)
        return std::nullopt;
    if (XorOf(reply.first(blockSize)) != 0)
        return std::nullopt;
    UploadBlock block;
    block.region = n == MagBlockN ? Region::Mag : Region::Bar;
    block.settings = reply.mid(1, RegionSize(block.region));
    block.versionFirst = TextOfBytes(reply.mid(n + 1, VersionFirstLength));
    block.versionLast = TextOfBytes(reply.mid(n + 1 + VersionFirstLength, VersionLastLength));
    return block;
}

QByteArray KeyboardDownloadText(const Image& image) {
    QByteArray out;
    out.reserve(KeyboardDownloadLength);
    quint8 check = 0;
    for (quint8 b : image) {
        check ^= b;
        out.append(ByteToHex(b).toLatin1());
    }
    out.append(ByteToHex(check).toLatin1());
    return out;
}

std::optional<UploadBlock> ParseKeyboardUpload(const QString& reply) {
    if (reply.size() != KeyboardUploadLength)
        return std::nullopt;
    UploadBlock block;
    if (reply[0] == QLatin1Char('0'))
        block.region = Region::Mag;
    else if (reply[0] == QLatin1Char('1'))
        block.region = Region::Bar;
    else
        return std::nullopt;
    // The settings bytes and the check byte, as hex pairs from the second character on.
    const int count = RegionSize(block.region);
    quint8 check = 0;
    for (int i = 0; i <= count; ++i) {
        const int high = HexDigitValue(reply.mid(1 + 2 * i, 1));
        const int low = HexDigitValue(reply.mid(2 + 2 * i, 1));
        if (high > MaxHexDigit || low > MaxHexDigit)
            return std::nullopt;
        const auto byte = static_cast<quint8>(high * 16 + low);
        check ^= byte;
        if (i < count)
            block.settings.append(static_cast<char>(byte));
    }
    if (check != 0)
        return std::nullopt;
    const QString version = reply.right(VersionLength);
    block.versionFirst = version.left(VersionFirstLength);
    block.versionLast = version.right(VersionLastLength);
    return block;
}

} // namespace orv
