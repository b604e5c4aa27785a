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

#include "cli/settingtext.h"

#include <algorithm>

using namespace orv;

namespace {

// Whether two configurations hold the same in the setting's bits and header record (`inside`),
// or in everything else.
bool Agree(const Setting& s, const CfgContents& a, const CfgContents& b, bool inside) {
    for (int i = 0; i < ImageSize; ++i) {
        const bool own = s.inImage() && i >= s.field.byte && i < s.field.byte + s.length;
        const int mask = own ? s.field.mask : 0;
        const int compared = inside ? mask : ~mask & 0xFF;
        if ((a.data[i] & compared) != (b.data[i] & compared))
            return false;
    }
    const bool same[] = {true,
                         a.DeviceName == b.DeviceName,
                         a.UserName == b.UserName,
                         a.SetupDate == b.SetupDate,
                         a.Description == b.Description,
                         a.LinkMode == b.LinkMode,
                         a.ComPort == b.ComPort};
    if (inside)
        return same[int(s.header)];
    for (int item = 1; item < int(std::size(same)); ++item) {
        if (item != int(s.header) && !same[item])
            return false;
    }
    return true;
}

// A configuration that differs from `c` in every bit and every header record.
ConfigFile Opposite(const ConfigFile& c) {
    ConfigFile o = c;
    for (quint8& b : o.contents.data)
        b = static_cast<quint8>(~b);
    for (QString* t : {&o.contents.DeviceName, &o.contents.UserName, &o.contents.SetupDate,
                       &o.contents.Description})
        *t += QLatin1Char('x');
    o.contents.ComPort = static_cast<qint16>(c.contents.ComPort % 6 + 1);
    o.contents.LinkMode = static_cast<qint16>(1 - c.contents.LinkMode);
    return o;
}

// What get prints for the setting in `from`, set into another configuration, stores the same.
void CheckCopy(const Setting& s, const ConfigFile& from) {
    const ConfigFile before = Opposite(from);
    ConfigFile to = before;
    FUZZ_CHECK(!StoreSetting(s, ReadSetting(s, from).text, to));
    FUZZ_CHECK(Agree(s, to.contents, from.contents, true));
    FUZZ_CHECK(Agree(s, to.contents, before.contents, false));
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
    if (StoreSetting(s, text, set)) {
        FUZZ_CHECK(Agree(s, set.contents, a.contents, true));
        FUZZ_CHECK(Agree(s, set.contents, a.contents, false));
    } else {
        FUZZ_CHECK(Agree(s, set.contents, a.contents, false));
        CheckCopy(s, set);
    }
    return 0;
}
