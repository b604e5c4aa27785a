// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace orv {

// Texts and titles of the link windows' messages, shared by the exchanges (their outcome
// messages) and the windows (their questions and file messages). They are English; the windows
// show them in the user's language (shownmessages.h).
inline const QString TimeOutText =
    QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Time Out Error!"));

inline const QString CfgTitle =
    QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "CFG Message"));
inline const QString UploadTitle =
    QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Upload Message"));
inline const QString ReadMemoryTitle =
    QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Read Memory Message"));
inline const QString ClearMemoryTitle =
    QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Clear Memory Message"));
// The keyboard link's memory read and clear report a handshake time-out under these.
inline const QString KeyboardReadMemoryTitle =
    QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Read Decoder Memory Message"));
inline const QString KeyboardClearMemoryTitle =
    QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "Clear Decoder Memory Message"));
inline const QString IspTitle =
    QStringLiteral(QT_TRANSLATE_NOOP("orv::LinkMessages", "ISP Message"));

} // namespace orv
