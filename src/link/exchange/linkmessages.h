// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace orv {

// Texts and titles of the link windows' messages, shared by the exchanges (their outcome
// messages) and the windows (their questions and file messages).
inline const QString TimeOutText = QStringLiteral("Time Out Error!");

inline const QString CfgTitle = QStringLiteral("CFG Message");
inline const QString UploadTitle = QStringLiteral("Upload Message");
inline const QString ReadMemoryTitle = QStringLiteral("Read Memory Message");
inline const QString ClearMemoryTitle = QStringLiteral("Clear Memory Message");
// The keyboard link's memory read and clear report a handshake time-out under these.
inline const QString KeyboardReadMemoryTitle = QStringLiteral("Read Decoder Memory Message");
inline const QString KeyboardClearMemoryTitle = QStringLiteral("Clear Decoder Memory Message");
inline const QString IspTitle = QStringLiteral("ISP Message");

} // namespace orv
