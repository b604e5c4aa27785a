// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// ParseSerialUpload with ApplyUpload: a block is taken exactly when its length byte, its size
// and its check say so; its settings are the reply's bytes for the region it names, and applying
// it changes that region of the image and nothing else.

#include "fuzzcheck.h"

#include "link/protocol/replies.h"

using namespace orv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray reply = fuzz::Bytes(data, size);
    const auto block = ParseSerialUpload(reply);

    // A block: byte 0 is n (at least 10), bytes 0..n+23 are there and their XOR is 0.
    const int n = size > 0 ? data[0] : 0;
    bool valid = size > 0 && n >= 10 && size >= size_t(n) + 24;
    if (valid) {
        quint8 x = 0;
        for (int i = 0; i < n + 24; ++i)
            x ^= data[i];
        valid = x == 0;
    }
    FUZZ_CHECK(bool(block) == valid);
    if (!block)
        return 0;

    FUZZ_CHECK(block->region == (n == 60 ? Region::Mag : Region::Bar));
    FUZZ_CHECK(block->settings == reply.mid(1, RegionSize(block->region)));
    FUZZ_CHECK(block->versionFirst == QString::fromLatin1(reply.mid(n + 1, 12)));
    FUZZ_CHECK(block->versionLast == QString::fromLatin1(reply.mid(n + 13, 10)));
    FUZZ_CHECK(VersionText(*block).size() == 30);

    Image image{};
    for (int i = 0; i < ImageSize; ++i)
        image[i] = static_cast<quint8>(i * 7 + 3);
    Image after = image;
    ApplyUpload(after, *block);
    const int first = RegionFirst(block->region);
    const int count = RegionSize(block->region);
    for (int i = 0; i < ImageSize; ++i) {
        if (i >= first && i < first + count)
            FUZZ_CHECK(after[i] == static_cast<quint8>(block->settings[i - first]));
        else
            FUZZ_CHECK(after[i] == image[i]);
    }
    return 0;
}
