// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowplace.h"

#include <algorithm>

namespace orv {

QRect FitIntoArea(const QRect& wanted, const QRect& available) {
    if (available.isEmpty())
        return wanted;
    QRect r(wanted.topLeft(), wanted.size().boundedTo(available.size()));
    r.moveLeft(std::clamp(r.left(), available.left(), available.right() - r.width() + 1));
    r.moveTop(std::clamp(r.top(), available.top(), available.bottom() - r.height() + 1));
    return r;
}

} // namespace orv
