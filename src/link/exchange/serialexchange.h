// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "exchange.h"

#include "core/dialogs.h"
#include "core/serialsettings.h"

#include <QByteArray>
#include <QString>
#include <QTimer>

#include <optional>

namespace orv {

class SerialPort;

// Opens the serial port: the line settings first, then (with the port closed) discarding what
// was not sent, the port number and the opening; a failed step does not stop the later ones.
// False when any of them failed, and `why` says why. A port that opened with settings it could
// not take is still open then, so that the failure is told while the port is held: the caller
// closes it afterwards.
bool TryOpenSerialPort(SerialPort& port, const SerialSettings& settings, int comPort, QString* why);

// Where a serial exchange runs: the port (not open yet; the exchange opens it and closes it
// again), its line settings and the "Com N" number.
struct SerialTarget {
    SerialPort& port;
    SerialSettings settings;
    int comPort = 1;
};

// An exchange over RS232. It opens the port when it starts; a port that cannot be opened ends
// it at once (inside start()) with the not-available message. Requests go out with the
// reception made ready first, so a quick answer is never thrown away with stale input; each
// wait ends with the first reply of at least the threshold's bytes, with the time-out, or with
// the loss of the port (the not-available message with the port's reason). Bytes that arrive
// outside a wait, or after the first reply of one, change nothing. An exchange whose last bytes
// are not answered (the firmware's end packet, a memory read's last answer) ends only once they
// have left the port.
//
// The port closes right after the receivers of `finished` have returned, so a window shows the
// outcome while the port is still held (as the link windows always did); a cancel, or the
// exchange's destruction, closes it at once. Neither the port nor the exchange may be deleted
// by a receiver of `finished` other than with deleteLater().
class SerialExchange : public Exchange {
    Q_OBJECT
public:
    SerialExchange(SerialTarget target, const LinkTiming& timing, QObject* parent = nullptr);

    SerialPort& port() const { return port_; }
    int comPort() const { return comPort_; }

protected:
    // The first step of the concrete exchange, with the port open.
    virtual void opened() = 0;
    // The first reply of a wait: at least the threshold's bytes.
    virtual void replied(const QByteArray& bytes) = 0;
    // The wait ran out without a reply.
    virtual void timedOut() = 0;
    // A pause has ended.
    virtual void paused() {}

    void begin() final;
    void halt() final;

    // Makes reception ready for a reply of at least `threshold` bytes, writes `bytes` and waits
    // up to timeoutMsecs.
    void sendAndAwait(const QByteArray& bytes, int threshold, int timeoutMsecs);
    // Waits msecs (the port stays open; what arrives meanwhile is not a reply), then paused().
    void pause(int msecs);
    // Ends the exchange with this outcome once every byte written has left the port; when they
    // do not leave, with the outcome `unsent` (the port's reason as details).
    void finishWhenSent(LinkOutcome outcome, ExchangeResult result, LinkOutcome unsent);
    // Writes bytes that no answer follows, after throwing away what was not yet sent: false,
    // with the exchange ended (the port lost), when the port refuses them. (A request that
    // awaits a reply needs no such check: a failed write shows as the missing reply.)
    bool writeUnanswered(const QByteArray& bytes);

private:
    // Ends the exchange: the port could not be opened or was lost, for this reason.
    void portFailed(LinkOutcome outcome, const QString& reason);
    void received(const QByteArray& bytes);
    void lost(const QString& reason);
    void timerFired();
    void drained(bool sent);

    enum class Wait { None, Reply, Pause, Sent };

    SerialPort& port_;
    SerialSettings settings_;
    int comPort_;
    QTimer waitTimer_; // the reply time-out and the pauses
    Wait wait_ = Wait::None;
    // The outcome that waits for the last bytes to leave, and the one if they do not.
    struct Ending {
        LinkOutcome sent;
        ExchangeResult result;
        LinkOutcome unsent;
    };
    std::optional<Ending> ending_;
};

} // namespace orv
