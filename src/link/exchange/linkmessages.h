// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/dialogs.h"

#include <QString>
#include <QStringList>

#include <vector>

class QRegularExpression;

namespace orv {

// The texts of the link: every way an exchange with the decoder ends (its message, title and
// status, read by the windows and by orvctl alike), the titles the windows' questions share,
// and the status lines the exchanges compose. They are English; the windows show them in the
// user's language (shownmessages.h).

// How an exchange with the decoder ended.
enum class LinkStatus {
    Ok,              // the decoder did what was asked
    TimedOut,        // no answer within the time-out
    Refused,         // an answer came, but a negative, damaged or short one
    PortUnavailable, // the serial port could not be opened
    PortLost,        // the serial port failed during the exchange (an adapter unplugged)
};

// The word orvctl's results give a status by: "ok", "timed_out", "refused", ...
QString LinkStatusKey(LinkStatus status);
// orvctl's text for a status it tells in its own words, without the window's message: the
// window's "COM 2: not available." names a port by a number, which a device path lacks.
// Empty for the others, which orvctl tells by the window's message.
QString LinkStatusLine(LinkStatus status);

// Every way an exchange ends, over RS232 and over the keyboard link. Each has its row in
// linkmessages.cpp: the message text (empty: the window shows none), its title and the status.
enum class LinkOutcome {
    DownloadOk,
    DownloadRefused,
    DownloadTimedOut,
    DownloadUnaccepted, // keyboard link: nothing was typed after the data
    UploadOk,
    VersionOk, // composed: VersionMessage()
    UploadRefused,
    UploadTimedOut,
    UploadUntyped, // keyboard link: no reply was typed
    ReadMemoryOk,
    ReadMemoryRefused,
    ReadMemoryTimedOut,
    ReadMemoryUnsent, // the last answer never left the port
    ClearMemoryOk,
    ClearMemoryRefused,
    ClearMemoryTimedOut,
    FirmwareOk,
    FirmwareAccessTimedOut,
    FirmwareWrongLoader,
    FirmwareAccessRefused,
    FirmwareEraseRefused,
    FirmwareEraseTimedOut,
    FirmwarePageRefused,
    FirmwarePageTimedOut, // also the end packet that never left the port
    PortUnavailable,      // composed: NotAvailableText()
    PortLost,             // composed: NotAvailableText()
    // The keyboard link's handshake went unanswered.
    DownloadHandshakeTimedOut,
    UploadHandshakeTimedOut,
    ReadMemoryHandshakeTimedOut,
    ClearMemoryHandshakeTimedOut,
    // The keyboard link's memory read: the text stays in the window's box, no message follows.
    TypedMemoryEnded,
    TypedMemoryTimedOut,

    Count // not an outcome: the number of them
};

LinkStatus OutcomeStatus(LinkOutcome outcome);
// The outcome's message with an OK button: its text, with the parts of a composed text filled
// in, and its title.
Dialogs::Message OutcomeMessage(LinkOutcome outcome, const QStringList& parts = {});

// `form` with %1, %2, ... replaced by parts[0], parts[1], ..., in one pass: a part that holds
// "%2" stays as it is. A marker without its part stays too.
QString FilledText(const QString& form, const QStringList& parts);

// A part's marker in a composed form: %1 to %9, the number captured.
const QRegularExpression& LinkPartMarker();

// The message of a firmware version asked for: "Get Firmware Version OK!", two CRs, the text.
QString VersionMessage(const QString& versionText);
// The message when "Com N" cannot be used: "COM 2: not available.".
QString NotAvailableText(int comPort);
// That message (OK button, the program's name as title) with the reason as its details.
Dialogs::Message NotAvailableMessage(int comPort, const QString& reason);

// The firmware transfer's status lines for a page: "Be transmiting Data From   0To  183 :  1"
// while it goes out (its first and last byte, the attempt), "Transmit Data For Page  0 OK!"
// once the loader has taken it.
QString PageSendingText(int first, int last, int attempt);
QString PageSentText(int first);

// The forms of every composed text above, %1, %2, ... standing for the parts (a number's part
// begins with a blank), for the translation of what the exchanges wrote.
const std::vector<const char*>& ComposedLinkForms();

// Titles of the link windows' messages, of the exchanges' outcomes and of the windows' own
// questions.
namespace LinkTitle {
inline constexpr char Cfg[] = QT_TRANSLATE_NOOP("orv::LinkMessages", "CFG Message");
inline constexpr char Upload[] = QT_TRANSLATE_NOOP("orv::LinkMessages", "Upload Message");
inline constexpr char ReadMemory[] = QT_TRANSLATE_NOOP("orv::LinkMessages", "Read Memory Message");
inline constexpr char ClearMemory[] =
    QT_TRANSLATE_NOOP("orv::LinkMessages", "Clear Memory Message");
inline constexpr char Isp[] = QT_TRANSLATE_NOOP("orv::LinkMessages", "ISP Message");
} // namespace LinkTitle

} // namespace orv
