// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The value text of orvctl's get and set: what get prints for a setting of one configuration,
// set into another, stores the same bits there and changes nothing else; a value that set takes
// changes only its setting, and what get then prints stores it again; a refused value changes
// nothing.
//
// Input: byte 0 picks the setting (its row in the catalogue, modulo the rows), byte 1 is a
// switch (bit 0 reads the text as UTF-8 instead of one character per byte), the next 85 bytes
// are the image (0 where the input is shorter) and the rest is the value text, which is also
// every header string.

#include "fuzzcheck.h"

#include "core/settingcodec.h"

#include <algorithm>

using namespace orv;

namespace {

// Whether two configurations hold the same in the setting's bits and header record (`own`), or
// in everything else.
bool Same(const Setting& s, const CfgContents& a, const CfgContents& b, bool own) {
    for (int i = 0; i < ImageSize; ++i) {
        const bool in = s.inImage() && i >= s.field.byte && i < s.field.byte + s.length;
        const int bits = in ? s.field.mask : 0;
        if ((a.data[i] ^ b.data[i]) & (own ? bits : ~bits & 0xFF))
            return false;
    }
    const bool records[] = {a.DeviceName == b.DeviceName, a.UserName == b.UserName,
                            a.SetupDate == b.SetupDate,   a.Description == b.Description,
                            a.LinkMode == b.LinkMode,     a.ComPort == b.ComPort};
    for (int item = 1; item <= 6; ++item) {
        if ((item == int(s.header)) == own && !records[item - 1])
            return false;
    }
    return true;
}

// What get prints for the setting in `from`, set into a configuration that differs from it in
// every bit and header record, stores the same there and nothing else.
void CheckCopy(const Setting& s, const ConfigFile& from) {
    ConfigFile before = from;
    for (quint8& b : before.contents.data)
        b = static_cast<quint8>(~b);
    before.contents.DeviceName = before.contents.UserName = before.contents.SetupDate =
        before.contents.Description = from.contents.Description + QLatin1Char('x');
    before.contents.ComPort = static_cast<qint16>(from.contents.ComPort % 6 + 1);
    before.contents.LinkMode = static_cast<qint16>(1 - from.contents.LinkMode);
    ConfigFile to = before;
    FUZZ_CHECK(!StoreSetting(s, ReadSetting(s, from).text, to));
    FUZZ_CHECK(Same(s, to.contents, from.contents, true));
    FUZZ_CHECK(Same(s, to.contents, before.contents, false));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const Setting& s = Catalogue()[data[0] % Catalogue().size()];
    const size_t image = std::min<size_t>(size - 2, ImageSize);
    const QString text = fuzz::Text(fuzz::Bytes(data + 2 + image, size - 2 - image), data[1] & 1);

    ConfigFile a;
    std::copy(data + 2, data + 2 + image, a.contents.data.begin());
    a.contents.DeviceName = a.contents.UserName = a.contents.SetupDate = a.contents.Description =
        text;
    a.contents.ComPort = static_cast<qint16>(1 + (data[1] >> 1) % 6);
    a.contents.LinkMode = static_cast<qint16>(data[1] >> 7);
    CheckCopy(s, a);

    ConfigFile set = a;
    const bool refused = StoreSetting(s, text, set).has_value();
    FUZZ_CHECK(Same(s, set.contents, a.contents, false));
    FUZZ_CHECK(!refused || Same(s, set.contents, a.contents, true));
    CheckCopy(s, set);
    return 0;
}
