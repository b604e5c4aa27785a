// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "memoryexchanges.h"

#include "linkmessages.h"

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
    const Dialogs::Message failed(
        QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Read Decoder Memory Failed!")),
        ReadMemoryTitle);
    switch (status) {
    case NoReply:
        concludeWhenSent(LinkStatus::TimedOut, Dialogs::Message(TimeOutText, ReadMemoryTitle),
                         std::move(result), Dialogs::Message(TimeOutText, ReadMemoryTitle));
        break;
    case GoodReply:
    case EndOfMemory:
        concludeWhenSent(
            LinkStatus::Ok,
            Dialogs::Message(QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages",
                                                              "   Read Decoder Memory OK!\r\r")),
                             ReadMemoryTitle),
            std::move(result), failed);
        break;
    default:
        concludeWhenSent(LinkStatus::Refused, failed, std::move(result), failed);
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
    if (ClearMemoryStatus(bytes) == GoodReply)
        conclude(LinkStatus::Ok,
                 QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Clear Decoder Memory OK!")),
                 ClearMemoryTitle);
    else
        conclude(
            LinkStatus::Refused,
            QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Clear Decoder Memory Failed!")),
            ClearMemoryTitle);
}

void ClearMemoryExchange::timedOut() {
    conclude(LinkStatus::TimedOut, TimeOutText, ClearMemoryTitle);
}

} // namespace orv
