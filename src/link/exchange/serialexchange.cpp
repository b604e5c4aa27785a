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

QString NotAvailableText(int comPort) {
    return QStringLiteral("COM") + NumberText(comPort) + QStringLiteral(": not available.");
}

Dialogs::Message NotAvailableMessage(int comPort, const QString& reason) {
    Dialogs::Message m(NotAvailableText(comPort), QString());
    m.details = reason;
    return m;
}

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
    timer_.setObjectName(QStringLiteral("Timer2"));
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &SerialExchange::timerFired);
}

SerialExchange::~SerialExchange() {
    cancel();
}

void SerialExchange::begin() {
    QString why;
    const bool portOpened = TryOpenSerialPort(port_, settings_, comPort_, &why);
    port_.setProperty(OwnerProperty, QVariant::fromValue(static_cast<QObject*>(this)));
    if (!portOpened) {
        // The port closes once the message has been shown.
        conclude(LinkStatus::PortUnavailable, NotAvailableMessage(comPort_, why));
        return;
    }
    connect(&port_, &SerialPort::received, this, &SerialExchange::received);
    connect(&port_, &SerialPort::lost, this, &SerialExchange::lost);
    connect(&port_, &SerialPort::drained, this, &SerialExchange::drained);
    opened();
}

void SerialExchange::halt() {
    timer_.stop();
    wait_ = Wait::None;
    port_.disconnect(this);
    // Nobody waits for the decoder now: what it sends while the outcome shows is thrown away.
    port_.setReceiveThreshold(0);
    if (!keepPortOpen_)
        port_.close();
}

void SerialExchange::sendAndAwait(const QByteArray& bytes, int threshold, int timeoutMsecs) {
    port_.discardInput();
    port_.setReceiveThreshold(threshold);
    wait_ = Wait::Reply;
    // A failed write shows as a missing reply.
    port_.write(bytes);
    timer_.start(timeoutMsecs);
}

void SerialExchange::pause(int msecs) {
    wait_ = Wait::Pause;
    timer_.start(msecs);
}

void SerialExchange::conclude(LinkStatus status, const QString& text, const QString& title,
                              ExchangeResult result) {
    conclude(status, Dialogs::Message(text, title), std::move(result));
}

void SerialExchange::conclude(LinkStatus status, Dialogs::Message message, ExchangeResult result) {
    result.status = status;
    result.message = std::move(message);
    QPointer<SerialPort> port(&port_);
    QPointer<SerialExchange> self(this);
    keepPortOpen_ = true;
    finish(std::move(result));
    if (self)
        keepPortOpen_ = false;
    // The port closes after the outcome has been handled, unless another exchange has taken it
    // over meanwhile.
    if (port && port->property(OwnerProperty).value<QObject*>() == self.data())
        port->close();
}

void SerialExchange::concludeWhenSent(LinkStatus status, Dialogs::Message message,
                                      ExchangeResult result, Dialogs::Message unsent) {
    ending_ = Ending{status, std::move(message), std::move(result), std::move(unsent)};
    wait_ = Wait::Sent;
    port_.drain();
}

bool SerialExchange::writeUnanswered(const QByteArray& bytes) {
    port_.discardOutput();
    if (port_.write(bytes))
        return true;
    conclude(LinkStatus::PortLost, NotAvailableMessage(comPort_, port_.errorString()));
    return false;
}

void SerialExchange::drained(bool sent) {
    if (!isRunning() || wait_ != Wait::Sent)
        return;
    wait_ = Wait::None;
    Ending e = std::exchange(ending_, {});
    if (sent) {
        conclude(e.status, std::move(e.message), std::move(e.result));
        return;
    }
    e.unsent.details = port_.errorString();
    conclude(LinkStatus::TimedOut, std::move(e.unsent), std::move(e.result));
}

void SerialExchange::received(const QByteArray& bytes) {
    // Only the first reply of a wait counts; a late one after a time-out changes nothing.
    if (!isRunning() || wait_ != Wait::Reply)
        return;
    wait_ = Wait::None;
    timer_.stop();
    replied(bytes);
}

void SerialExchange::lost(const QString&) {
    if (!isRunning())
        return;
    conclude(LinkStatus::PortLost, NotAvailableMessage(comPort_, port_.errorString()));
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
