// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// ParseKeyboardUpload: a typed reply is taken exactly when it is 145 characters, starts with "1"
// (bar decoder) or "0" (magnetic reader), carries only the digits 0-9, A-F, a-f in its pairs and
// their XOR is 0; the settings written back as hex give the reply's pairs again.
//
// Input: byte 0 is a switch; bit 0 set pads the text with "0" (or cuts it) to 145 characters,
// so that the length check passes and the pairs are what gets explored; bit 1 reads the bytes as
// UTF-8 instead of one character per byte, to reach characters beyond a single byte.

#include "fuzzcheck.h"

#include "link/protocol/replies.h"
#include "link/protocol/text.h"

using namespace orv;

namespace {

// Written apart from HexDigitValue on purpose: the check must not share the code it checks.
int HexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    QString reply = fuzz::Text(fuzz::Bytes(data + 1, size - 1), data[0] & 2);
    if (data[0] & 1) {
        reply.truncate(KeyboardUploadLength);
        reply = reply.leftJustified(KeyboardUploadLength, QLatin1Char('0'));
    }
    const auto block = ParseKeyboardUpload(reply);

    bool valid = reply.size() == KeyboardUploadLength &&
                 (reply[0] == QLatin1Char('0') || reply[0] == QLatin1Char('1'));
    const int count = valid && reply[0] == QLatin1Char('0') ? 60 : 25;
    QByteArray bytes;
    for (int i = 0; valid && i <= count; ++i) {
        const int high = HexValue(reply[1 + 2 * i]);
        const int low = HexValue(reply[2 + 2 * i]);
        valid = high >= 0 && low >= 0;
        bytes.append(static_cast<char>(high * 16 + low));
    }
    if (valid) {
        quint8 x = 0;
        for (char b : bytes)
            x ^= static_cast<quint8>(b);
        valid = x == 0;
    }
    FUZZ_CHECK(bool(block) == valid);
    if (!block)
        return 0;

    FUZZ_CHECK(block->region == (count == 60 ? Region::Mag : Region::Bar));
    FUZZ_CHECK(block->settings == bytes.left(count));
    QString hex;
    for (char b : bytes)
        hex += ByteToHex(static_cast<quint8>(b));
    FUZZ_CHECK(hex == reply.mid(1, 2 * (count + 1)).toUpper());
    FUZZ_CHECK(block->versionFirst + block->versionLast == reply.right(22));
    FUZZ_CHECK(block->versionFirst.size() == 12 && block->versionLast.size() == 10);
    return 0;
}
