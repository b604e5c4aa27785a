// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// ParseCfgFile: a file that opens saves back (WriteCfgFile never refuses what was read), and
// the file saved opens with the same contents and saves again byte for byte.

#include "fuzzcheck.h"

#include "core/cfgformat.h"

using namespace orv;

namespace {

bool Same(const CfgContents& a, const CfgContents& b) {
    return a.DeviceName == b.DeviceName && a.UserName == b.UserName && a.SetupDate == b.SetupDate &&
           a.Description == b.Description && a.ComPort == b.ComPort && a.LinkMode == b.LinkMode &&
           a.data == b.data;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const CfgParseResult read = ParseCfgFile(fuzz::Bytes(data, size));
    if (read.status == CfgParseStatus::Damaged)
        FUZZ_CHECK(!read.reason.isEmpty());
    if (read.status != CfgParseStatus::Ok)
        return 0;
    const CfgContents& c = read.contents;
    FUZZ_CHECK(c.ComPort >= 1 && c.ComPort <= 6);
    FUZZ_CHECK(c.LinkMode == 0 || c.LinkMode == 1);

    QString why;
    const auto written = WriteCfgFile(c, &why);
    FUZZ_CHECK(written);
    FUZZ_CHECK(written->count("\r\n") == CfgRecordCount && written->count('\n') == CfgRecordCount);
    const CfgParseResult back = ParseCfgFile(*written);
    FUZZ_CHECK(back.status == CfgParseStatus::Ok);
    FUZZ_CHECK(Same(back.contents, c));
    FUZZ_CHECK(WriteCfgFile(back.contents) == written);
    return 0;
}
