// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace orv {

// Object name of element i of a control array: "optCfg41A(2)".
inline QString ArrayName(const QString& base, int index) {
    return base + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

} // namespace orv
