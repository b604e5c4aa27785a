// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

namespace orv {

// Where a window that would take `wanted` goes on a screen whose free area (without panels and
// docks) is `available`: no larger than that area, and moved into it where it reaches out.
// A window that fits stays where it is.
QRect FitIntoArea(const QRect& wanted, const QRect& available);

} // namespace orv
