// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory.h"

#include "frames.h"

#include <algorithm>

namespace orv {

QByteArray ReadMemoryFrame() {
    return CommandFrame(CmdReadMemory);
}

QByteArray ClearMemoryFrame() {
    return CommandFrame(CmdClearMemory);
}

char MemoryAnswer(qint16 status) {
    switch (status) {
    case GoodReply:
        return MemoryAnswerNext;
    case EndOfMemory:
        return MemoryAnswerEnd;
    default:
        return MemoryAnswerBad;
    }
}

ReplyStatusCode ClearMemoryStatus(const QByteArray& reply) {
    return (!reply.isEmpty() && static_cast<quint8>(reply[0]) == MemoryCleared) ? GoodReply
                                                                                : BadReply;
}

ReplyStatusCode MemoryRecordReader::takeBlock(const QByteArray& block, QByteArray* text) {
    if (block.size() < MemoryBlockSize || XorOf(block.first(MemoryBlockSize)) != 0)
        return BadReply;
    if (fill_ + MemoryPayloadSize > BufferSize)
        return BadReply;
    std::copy_n(reinterpret_cast<const quint8*>(block.constData()), MemoryPayloadSize,
                buffer_.begin() + fill_);
    fill_ += MemoryPayloadSize;

    int length = buffer_[0];
    while (length < fill_) {
        quint8 check = 1;
        if (length > 3) {
            check = 0;
            for (int i = 1; i < length; ++i)
                check ^= buffer_[i];
        }
        if (check == 0)
            text->append(reinterpret_cast<const char*>(buffer_.data()) + 1, length - 2);
        text->append("\r\n");
        std::copy(buffer_.begin() + length, buffer_.begin() + fill_, buffer_.begin());
        fill_ -= length;
        length = buffer_[0];
        if (length == 0)
            return EndOfMemory;
    }
    return GoodReply;
}

} // namespace orv
