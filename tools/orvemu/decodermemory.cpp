// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The decoder's memory: read block by block and cleared over RS232.

#include "decodercore.h"

namespace orv::emu {

namespace {

constexpr int PayloadSize = 64;

} // namespace

QByteArray DecoderCore::MemoryRecord(QByteArrayView text) {
    Q_ASSERT(text.size() <= 253);
    QByteArray record(1, static_cast<char>(text.size() + 2));
    record.append(text);
    record.append(static_cast<char>(XorOf(text)));
    return record;
}

QByteArray DecoderCore::MemoryStream(const QList<QByteArray>& texts) {
    QByteArray stream;
    for (const QByteArray& t : texts)
        stream.append(MemoryRecord(t));
    stream.append('\0');
    return stream;
}

QByteArray DecoderCore::memoryBlock(int index) const {
    QByteArray block = memory.stream.mid(qsizetype(index) * PayloadSize, PayloadSize);
    block.append(QByteArray(PayloadSize - block.size(), '\0'));
    quint8 check = XorOf(block);
    if (fault == Fault::BadBlock && index == memory.badBlock)
        check ^= 0x5A;
    block.append(static_cast<char>(check));
    return block;
}

QByteArray DecoderCore::startMemoryRead(const Frame& frame) {
    if (!frame.wellFormed)
        return {};
    memory.reading = true;
    memory.blocksSent = 1;
    setRawReader([this](QByteArrayView pending, QList<QByteArray>& replies) {
        return takeMemoryAnswer(pending, replies);
    });
    note(QStringLiteral("memory block 0"));
    return memoryBlock(0);
}

qsizetype DecoderCore::takeMemoryAnswer(QByteArrayView pending, QList<QByteArray>& replies) {
    if (pending.isEmpty())
        return 0;
    const char answer = pending[0];
    if (static_cast<quint8>(answer) == Stx) {
        // A command frame: the program has given up this read.
        memory.reading = false;
        setRawReader(nullptr);
        return 0;
    }
    if (answer != 'S' && answer != 'P' && answer != 'E') {
        strayBytes.append(answer);
        return 1;
    }
    memory.answers.append(answer);
    note(QStringLiteral("<- answer %1").arg(QLatin1Char(answer)));
    if (answer == 'S') {
        note(QStringLiteral("memory block %1").arg(memory.blocksSent));
        if (fault != Fault::Silent)
            replies.append(memoryBlock(memory.blocksSent));
        ++memory.blocksSent;
    } else {
        memory.reading = false;
        setRawReader(nullptr);
    }
    return 1;
}

QByteArray DecoderCore::clearMemory(const Frame& frame) {
    if (!frame.wellFormed || fault == Fault::Refuse)
        return QByteArray(1, static_cast<char>(Nak));
    ++memory.clears;
    memory.stream = QByteArray(1, '\0');
    note(QStringLiteral("memory cleared"));
    return QByteArray(1, static_cast<char>(Ack));
}

} // namespace orv::emu
