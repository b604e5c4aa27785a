// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/dialogs.h"

#include <QString>

namespace orv {

// The link's texts as the windows show them: in the user's language. The exchanges write their
// messages, titles and status lines in English (orvctl prints them so, and loads no
// translation); whatever shows one to the user passes it through these first. A text with parts
// the exchange fills in (a port number, a page, the decoder's version) is translated whole, the
// parts kept as they are. A text that has no translation is shown as it is.
QString ShownLinkText(const QString& text);
Dialogs::Message ShownLinkMessage(Dialogs::Message message);

} // namespace orv
