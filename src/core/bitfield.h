// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config.h"

namespace orv {

// A bit field of the configuration image: byte index, mask, and the position of the mask's
// lowest bit. A field's code is (byte AND mask) >> shift.
struct BitField {
    int byte;
    int mask;
    int shift;

    // The shift is the position of the mask's lowest bit.
    constexpr bool isConsistent() const {
        return mask > 0 && (mask >> shift << shift) == mask && (mask >> shift & 1);
    }
    // The largest code the field holds.
    constexpr int maxCode() const { return mask >> shift; }

    // The field's code in an image.
    int codeIn(const Image& image) const { return (image[byte] & mask) >> shift; }
    // Stores a code into the field, leaving every other bit of the byte alone.
    void storeIn(Image& image, int code) const {
        image[byte] = static_cast<quint8>((image[byte] & ~mask) | ((code << shift) & mask));
    }
};

} // namespace orv
