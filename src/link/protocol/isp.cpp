// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "isp.h"

#include "frames.h"

namespace orv {

namespace {

constexpr int AddressOffset = 1;
constexpr int DataOffset = 5;
constexpr int CheckOffset = 189;

} // namespace

QByteArray IspAccessCommand() {
    return CommandFrame(CmdLoaderAccess);
}

QByteArray IspErasePacket() {
    return QByteArray(IspPacketSize, '\0');
}

QByteArray IspEndPacket() {
    QByteArray packet(IspPacketSize, '\0');
    packet[0] = static_cast<char>(IspEndOfImage);
    return packet;
}

QByteArray IspPage(int start, QByteArrayView bytes) {
    Q_ASSERT(start >= 0 && start <= 0xFFFF && bytes.size() <= IspPageSize);
    QByteArray packet(IspPacketSize, '\0');
    const auto end = static_cast<quint16>(start + IspPageSize - 1);
    packet[0] = static_cast<char>(IspDataPage);
    packet[AddressOffset] = static_cast<char>(start >> 8);
    packet[AddressOffset + 1] = static_cast<char>(start & 0xFF);
    packet[AddressOffset + 2] = static_cast<char>(end & 0xFF);
    packet[AddressOffset + 3] = static_cast<char>(end >> 8);
    packet.replace(DataOffset, bytes.size(), bytes.data(), bytes.size());
    packet[CheckOffset] = static_cast<char>(XorOf(packet.mid(AddressOffset, CheckOffset - 1)));
    packet[CheckOffset + 1] = '\x55';
    packet[CheckOffset + 2] = '\xAA';
    return packet;
}

int IspProgressMaximum(qint64 imageSize) {
    return static_cast<int>(imageSize / IspPageSize) + 1;
}

IspReplyCode IspReplyOutcome(bool accessCommand, const QByteArray& reply) {
    if (reply.isEmpty())
        return IspRejected;
    const auto first = static_cast<quint8>(reply[0]);
    if (accessCommand) {
        if (first == IspAccessGranted)
            return IspAccepted;
        return first == IspWrongVersion ? IspIncorrectVersion : IspRejected;
    }
    return first == IspPacketAccepted ? IspAccepted : IspRejected;
}

} // namespace orv
