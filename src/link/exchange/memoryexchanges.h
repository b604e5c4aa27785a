// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "serialexchange.h"

#include "link/protocol/memory.h"

namespace orv {

// The read of the decoder's memory over RS232: the request 02h 82h 03h 83h, then up to 31
// blocks of 65 bytes, each awaited for memoryReplyMsecs and answered "S" (good, send the
// next), "P" (end of memory seen) or "E" (bad or missing); every answer but an "S" ends the
// read, and so does the 31st block. The text of the records comes out with textReceived() as
// blocks complete them (and whole in the result's memoryText). Outcomes: LinkOutcome::
// ReadMemoryOk, ReadMemoryRefused, ReadMemoryTimedOut, and ReadMemoryUnsent when the last
// answer does not leave the port.
class ReadMemoryExchange : public SerialExchange {
    Q_OBJECT
public:
    explicit ReadMemoryExchange(SerialTarget target, const LinkTiming& timing,
                                QObject* parent = nullptr);

    // Blocks taken so far.
    int blocks() const { return blocks_; }

signals:
    // Lines of text (each ending CR LF) completed by the last block.
    void textReceived(const QByteArray& text);

protected:
    void opened() override;
    void replied(const QByteArray& bytes) override;
    void timedOut() override;

private:
    void answer(ReplyStatusCode status);

    MemoryRecordReader reader_;
    QByteArray text_;
    int blocks_ = 0;
};

// The clear of the decoder's memory over RS232: 02h 83h 03h 82h, and a one-byte answer within
// memoryReplyMsecs. Outcomes: LinkOutcome::ClearMemoryOk (07h), ClearMemoryRefused,
// ClearMemoryTimedOut.
class ClearMemoryExchange : public SerialExchange {
    Q_OBJECT
public:
    explicit ClearMemoryExchange(SerialTarget target, const LinkTiming& timing,
                                 QObject* parent = nullptr);

protected:
    void opened() override;
    void replied(const QByteArray& bytes) override;
    void timedOut() override;
};

} // namespace orv
