// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "replies.h"

#include <QByteArray>

#include <array>

namespace orv {

// Reading and clearing the decoder's memory over RS232.
//
// A read is answered with blocks of 64 payload bytes and a check byte (the XOR of all 65 bytes
// is 0); after each block the program answers one character. The payload of successive blocks
// is one stream of records: a length byte L (the whole record, itself and the check byte
// included), L - 2 text bytes and a check byte that makes the XOR of bytes 1 .. L-1 zero. A
// length byte of 0 where a record would start marks the end of the memory.
constexpr int MemoryBlockSize = 65;
constexpr int MemoryPayloadSize = 64;
constexpr int MaxMemoryBlocks = 31;
constexpr char MemoryAnswerNext = 'S'; // block good, send the next
constexpr char MemoryAnswerEnd = 'P';  // end of memory seen, stop
constexpr char MemoryAnswerBad = 'E';  // block bad or missing, stop
// The decoder's answer to a clear.
constexpr quint8 MemoryCleared = 0x07;

// 0x02 0x82 0x03 0x83 and 0x02 0x83 0x03 0x82.
QByteArray ReadMemoryFrame();
QByteArray ClearMemoryFrame();

// The answer the program gives to a block of this status.
char MemoryAnswer(qint16 status);

// Turns the blocks of one read into lines of text. Bytes of a record that is not complete yet
// wait in a buffer of 251 bytes for the next block.
class MemoryRecordReader {
public:
    static constexpr int BufferSize = 251;

    // Empties the buffer, for a new read.
    void reset() { fill_ = 0; }
    int fill() const { return fill_; }

    // Takes one received block (its first 65 bytes count) and returns GoodReply, EndOfMemory or
    // BadReply. Every record completed by the block is appended to `text`: its text bytes and
    // CR LF, or only CR LF when the record is damaged or shorter than 4 bytes. A record is taken
    // only once more bytes than its length are held.
    //
    // A block that is short, fails its check, or does not fit beside the bytes already held is
    // bad. (The last happens only for records longer than the buffer can complete; no byte is
    // ever written past the buffer.)
    ReplyStatusCode takeBlock(const QByteArray& block, QByteArray* text);

private:
    std::array<quint8, BufferSize> buffer_{};
    int fill_ = 0;
};

// The outcome of a clear: GoodReply when the first byte is 07h.
ReplyStatusCode ClearMemoryStatus(const QByteArray& reply);

} // namespace orv
