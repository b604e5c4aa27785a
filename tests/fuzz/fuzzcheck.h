// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the fuzz targets share: the property check, and the bytes of an input as Qt types.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Stops the fuzzer with a report (and the input saved as a crash) when a property fails.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace orv::fuzz {

// The input without a copy; valid for the call of LLVMFuzzerTestOneInput.
inline QByteArray Bytes(const uint8_t* data, size_t size) {
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data),
                                   static_cast<qsizetype>(size));
}

// Text from input bytes: every byte one character (ISO 8859-1), or UTF-8, which reaches
// characters beyond a single byte (and gives U+FFFD for malformed sequences).
inline QString Text(const QByteArray& bytes, bool utf8) {
    return utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

} // namespace orv::fuzz
