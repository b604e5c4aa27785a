// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "memoryexchanges.h"

#include "link/serial/serialport.h"

namespace orv {

ReadMemoryExchange::ReadMemoryExchange(SerialTarget target, const LinkTiming& timing,
                                       QObject* parent)
    : SerialExchange(std::move(target), timing, parent) {}

void ReadMemoryExchange::opened() {
    reader_.reset();
    // Each block is awaited with the answer to the one before it (the request for the first).
    sendAndAwait(ReadMemoryFrame(), MemoryBlockSize, timing().memoryReplyMsecs);
}

void ReadMemoryExchange::replied(const QByteArray& bytes) {
    ++blocks_;
    QByteArray text;
    const ReplyStatusCode status = reader_.takeBlock(bytes, &text);
    if (!text.isEmpty()) {
        text_ += text;
        emit textReceived(text);
        if (!isRunning())
            return; // cancelled by a receiver
    }
    answer(status);
}

void ReadMemoryExchange::timedOut() {
    answer(NoReply);
}

void ReadMemoryExchange::answer(ReplyStatusCode status) {
    const QByteArray reply(1, MemoryAnswer(status));
    if (status == GoodReply && blocks_ < MaxMemoryBlocks) {
        port().discardOutput();
        sendAndAwait(reply, MemoryBlockSize, timing().memoryReplyMsecs);
        return;
    }
    if (!writeUnanswered(reply))
        return;
    ExchangeResult result;
    result.memoryText = text_;
    switch (status) {
    case NoReply:
        finishWhenSent(LinkOutcome::ReadMemoryTimedOut, std::move(result),
                       LinkOutcome::ReadMemoryTimedOut);
        break;
    case GoodReply:
    case EndOfMemory:
        finishWhenSent(LinkOutcome::ReadMemoryOk, std::move(result), LinkOutcome::ReadMemoryUnsent);
        break;
    default:
        finishWhenSent(LinkOutcome::ReadMemoryRefused, std::move(result),
                       LinkOutcome::ReadMemoryUnsent);
        break;
    }
}

ClearMemoryExchange::ClearMemoryExchange(SerialTarget target, const LinkTiming& timing,
                                         QObject* parent)
    : SerialExchange(std::move(target), timing, parent) {}

void ClearMemoryExchange::opened() {
    sendAndAwait(ClearMemoryFrame(), 1, timing().memoryReplyMsecs);
}

void ClearMemoryExchange::replied(const QByteArray& bytes) {
    finish(ClearMemoryStatus(bytes) == GoodReply ? LinkOutcome::ClearMemoryOk
                                                 : LinkOutcome::ClearMemoryRefused);
}

void ClearMemoryExchange::timedOut() {
    finish(LinkOutcome::ClearMemoryTimedOut);
}

} // namespace orv
