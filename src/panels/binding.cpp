// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "binding.h"

#include "core/config.h"

namespace orv {

int FieldCode(const Config& config, const BitField& field, Source source) {
    const int bits = source == Source::Data ? config.GetCfgBits(field.byte, field.mask)
                                            : config.GetDefaultBits(field.byte, field.mask);
    return bits >> field.shift;
}

void StoreFieldCode(Config& config, const BitField& field, int code) {
    config.SetCfgBits(field.byte, field.mask, code << field.shift);
}

} // namespace orv
