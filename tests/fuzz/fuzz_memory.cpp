// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// MemoryRecordReader::takeBlock over a stream of blocks, as one memory read takes them: every
// status and every line must be what a plain model of the record stream gives, and the bytes
// held never exceed the buffer.
//
// Input: byte 0 is a switch; bit 0 set corrects each block's check byte, so that the blocks pass
// their check and the record stream behind it is what gets explored. The rest is cut into blocks
// of 65 bytes; a shorter tail is a short block.

#include "fuzzcheck.h"

#include "link/protocol/memory.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace orv;

namespace {

quint8 Xor(const uint8_t* p, size_t n) {
    quint8 x = 0;
    for (size_t i = 0; i < n; ++i)
        x ^= p[i];
    return x;
}

// The record stream as plainly as it can be written: the bytes held are a vector.
struct Model {
    std::vector<uint8_t> held;

    ReplyStatusCode take(const uint8_t* block, size_t size, std::string& text) {
        if (size < size_t(MemoryBlockSize) || Xor(block, MemoryBlockSize) != 0)
            return BadReply;
        if (held.size() + MemoryPayloadSize > size_t(MemoryRecordReader::BufferSize))
            return BadReply;
        held.insert(held.end(), block, block + MemoryPayloadSize);
        size_t length = held[0];
        while (length < held.size()) {
            if (length > 3 && Xor(held.data() + 1, length - 1) == 0)
                text.append(held.begin() + 1, held.begin() + length - 1);
            text += "\r\n";
            held.erase(held.begin(), held.begin() + length);
            length = held[0];
            if (length == 0)
                return EndOfMemory;
        }
        return GoodReply;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const bool fixChecks = data[0] & 1;
    MemoryRecordReader reader;
    Model model;
    QByteArray text;
    std::string expected;
    uint8_t block[MemoryBlockSize];
    for (size_t at = 1, blocks = 0; at < size && blocks < size_t(MaxMemoryBlocks); ++blocks) {
        const size_t n = std::min(size - at, size_t(MemoryBlockSize));
        std::copy_n(data + at, n, block);
        at += n;
        if (fixChecks && n == size_t(MemoryBlockSize))
            block[MemoryBlockSize - 1] ^= Xor(block, MemoryBlockSize);

        const qsizetype before = text.size();
        const ReplyStatusCode status = reader.takeBlock(fuzz::Bytes(block, n), &text);
        FUZZ_CHECK(status == model.take(block, n, expected));
        FUZZ_CHECK(QByteArrayView(text) ==
                   QByteArrayView(expected.data(), qsizetype(expected.size())));
        FUZZ_CHECK(reader.fill() == int(model.held.size()));
        FUZZ_CHECK(reader.fill() >= 0 && reader.fill() <= MemoryRecordReader::BufferSize);
        FUZZ_CHECK(text.size() == before || text.endsWith("\r\n"));
        if (status != GoodReply)
            break; // the window answers "P" or "E" and the read ends
    }
    return 0;
}
