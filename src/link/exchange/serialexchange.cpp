// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "serialexchange.h"

#include "link/protocol/text.h"
#include "link/serial/serialport.h"

#include <QPointer>
#include <QVariant>

namespace orv {

namespace {

// The exchange that opened a port last, kept on the port: a port closed after `finished` is
// left alone when a receiver has meanwhile started another exchange on it.
const char* const OwnerProperty = "orvExchange";

} // namespace

bool TryOpenSerialPort(SerialPort& port, const SerialSettings& settings, int comPort,
                       QString* why) {
    const bool settingsOk = port.setSettings(settings);
    const QString settingsError = settingsOk ? QString() : port.errorString();
    if (port.isOpen())
        port.close();
    // From here on a failed step does not stop the others; the outcome is reported once.
    port.discardOutput();
    port.setCommPort(comPort);
    const bool opened = port.open();
    if (!opened || !settingsOk) {
        if (why)
            *why = opened ? settingsError : port.errorString();
        return false;
    }
    return true;
}

SerialExchange::SerialExchange(SerialTarget target, const LinkTiming& timing, QObject* parent)
    : Exchange(timing, parent), port_(target.port), settings_(std::move(target.settings)),
      comPort_(target.comPort) {
    waitTimer_.setObjectName(QStringLiteral("Timer2"));
    waitTimer_.setSingleShot(true);
    waitTimer_.setTimerType(Qt::PreciseTimer);
    connect(&waitTimer_, &QTimer::timeout, this, &SerialExchange::timerFired);
}

void SerialExchange::begin() {
    QString why;
    const bool portOpened = TryOpenSerialPort(port_, settings_, comPort_, &why);
    port_.setProperty(OwnerProperty, QVariant::fromValue(static_cast<QObject*>(this)));
    // The port closes when the exchange lets go of it, unless another exchange has taken it over
    // meanwhile (a receiver of `finished` that starts the next one).
    holdLink([port = QPointer<SerialPort>(&port_), self = static_cast<QObject*>(this)] {
        if (!port || port->property(OwnerProperty).value<QObject*>() != self)
            return;
        port->disconnect(self);
        port->setReceiveThreshold(0);
        port->close();
    });
    if (!portOpened) {
        // The port closes once the message has been shown.
        portFailed(LinkOutcome::PortUnavailable, why);
        return;
    }
    connect(&port_, &SerialPort::received, this, &SerialExchange::received);
    connect(&port_, &SerialPort::lost, this, &SerialExchange::lost);
    connect(&port_, &SerialPort::drained, this, &SerialExchange::drained);
    opened();
}

void SerialExchange::halt() {
    waitTimer_.stop();
    wait_ = Wait::None;
    ending_.reset();
    port_.disconnect(this);
    // Nobody waits for the decoder now: what it sends while the outcome shows is thrown away.
    port_.setReceiveThreshold(0);
}

void SerialExchange::sendAndAwait(const QByteArray& bytes, int threshold, int timeoutMsecs) {
    port_.discardInput();
    port_.setReceiveThreshold(threshold);
    wait_ = Wait::Reply;
    // A failed write shows as a missing reply.
    port_.write(bytes);
    waitTimer_.start(timeoutMsecs);
}

void SerialExchange::pause(int msecs) {
    wait_ = Wait::Pause;
    waitTimer_.start(msecs);
}

void SerialExchange::finishWhenSent(LinkOutcome outcome, ExchangeResult result,
                                    LinkOutcome unsent) {
    ending_ = Ending{outcome, std::move(result), unsent};
    wait_ = Wait::Sent;
    port_.drain();
}

void SerialExchange::portFailed(LinkOutcome outcome, const QString& reason) {
    ExchangeResult result;
    result.message.details = reason;
    finish(outcome, std::move(result), {NumberText(comPort_)});
}

bool SerialExchange::writeUnanswered(const QByteArray& bytes) {
    port_.discardOutput();
    if (port_.write(bytes))
        return true;
    portFailed(LinkOutcome::PortLost, port_.errorString());
    return false;
}

void SerialExchange::drained(bool sent) {
    if (!isRunning() || wait_ != Wait::Sent)
        return;
    wait_ = Wait::None;
    Ending e = std::move(*std::exchange(ending_, std::nullopt));
    if (!sent)
        e.result.message.details = port_.errorString();
    finish(sent ? e.sent : e.unsent, std::move(e.result));
}

void SerialExchange::received(const QByteArray& bytes) {
    // Only the first reply of a wait counts; a late one after a time-out changes nothing.
    if (!isRunning() || wait_ != Wait::Reply)
        return;
    wait_ = Wait::None;
    waitTimer_.stop();
    replied(bytes);
}

void SerialExchange::lost(const QString&) {
    if (!isRunning())
        return;
    portFailed(LinkOutcome::PortLost, port_.errorString());
}

void SerialExchange::timerFired() {
    const Wait was = std::exchange(wait_, Wait::None);
    if (!isRunning())
        return;
    if (was == Wait::Reply)
        timedOut();
    else if (was == Wait::Pause)
        paused();
}

} // namespace orv
