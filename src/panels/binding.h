// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/bitfield.h"

#include <QString>

namespace orv {

class Config;

// Which image a control shows: the working image (a panel loading) or the default image (a
// "Set Default" button).
enum class Source { Data, Default };

// A control bound to the image. showFrom() sets the control from the image and stores what it shows
// into CfgData through the same path as a user's change, so that loading a panel or restoring a
// default behaves exactly like the user choosing that value.
class Binding {
public:
    virtual ~Binding() = default;
    virtual void showFrom(Source source) = 0;
};

// The code of a field in the chosen image.
int FieldCode(const Config& config, const BitField& field, Source source);
// Stores a code into a field of CfgData, leaving every other bit alone.
void StoreFieldCode(Config& config, const BitField& field, int code);

} // namespace orv
