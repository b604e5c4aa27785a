// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fontpreloader.h"

#ifdef ORV_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace orv {

FontPreloader::FontPreloader() {
#ifdef ORV_HAVE_FONTCONFIG
    thread_ = std::thread([] { FcInit(); });
#endif
}

} // namespace orv
