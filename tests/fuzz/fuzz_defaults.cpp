// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// ParseDefaultsFile: an image is read only from a file whose first line is the signature, and
// the image written back as a defaults file reads back the same.

#include "fuzzcheck.h"

#include "core/cfgformat.h"

using namespace orv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::Bytes(data, size);
    const auto image = ParseDefaultsFile(bytes);
    if (!image)
        return 0;
    QByteArray first = bytes.left(bytes.indexOf('\n'));
    while (first.endsWith('\r'))
        first.chop(1);
    FUZZ_CHECK(first == DefaultsSignature);

    const QByteArray written = WriteDefaultsFile(*image);
    FUZZ_CHECK(written.count("\r\n") == DefaultsRecordCount);
    const auto back = ParseDefaultsFile(written);
    FUZZ_CHECK(back && *back == *image);
    return 0;
}
