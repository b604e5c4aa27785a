// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// ParseInsertionText with RenderInsertionGroup: what a group's text is rendered as parses back
// to the same bytes, so what the box shows is what the image holds; a group is its stored bytes
// followed only by 255s.
//
// Input: byte 0 is a switch; bit 0 chooses a group of 8 bytes (else 4), bit 1 reads the text
// as UTF-8 instead of one character per byte.

#include "fuzzcheck.h"

#include "core/notation.h"

using namespace orv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const int n = (data[0] & 1) ? 8 : 4;
    const QString text = fuzz::Text(fuzz::Bytes(data + 1, size - 1), data[0] & 2);

    const std::vector<quint8> group = ParseInsertionText(text, n);
    FUZZ_CHECK(group.size() == size_t(n));
    size_t stored = 0;
    while (stored < group.size() && group[stored] != EmptyCharCode)
        ++stored;
    for (size_t i = stored; i < group.size(); ++i)
        FUZZ_CHECK(group[i] == EmptyCharCode);

    const QString shown = RenderInsertionGroup(group);
    FUZZ_CHECK(ParseInsertionText(shown, n) == group);
    FUZZ_CHECK(RenderInsertionGroup(ParseInsertionText(shown, n)) == shown);
    return 0;
}
