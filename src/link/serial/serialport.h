// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/serialsettings.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

namespace orv {

// The serial port as the link windows use it: line settings and port number, open and close,
// discarding of pending bytes, and a receive threshold: `received` comes once at least that
// many bytes are waiting and hands all of them over, however they arrived. Bytes that arrive
// while the threshold is 0 are thrown away. What was written is never cut off: close() first
// lets it leave the port (see drain()).
class SerialPort : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The line settings the next open() uses. False when they are not usable (IsUsable); the
    // previous settings stay then.
    virtual bool setSettings(const SerialSettings& settings) = 0;
    // The "Com N" number the next open() uses.
    virtual void setCommPort(int number) = 0;
    virtual int commPort() const = 0;
    // Who uses the port, in words for a message ("\"Transmit\" window"): another port of the
    // same factory that finds the device held says so. Empty: this program, unnamed.
    virtual void setHolder(const QString&) {}

    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Throw away bytes not yet sent, or received and not yet handed over.
    virtual void discardOutput() = 0;
    virtual void discardInput() = 0;

    // `received` comes when at least this many bytes are waiting; 0 turns it off and throws
    // away what is waiting and what arrives meanwhile.
    virtual void setReceiveThreshold(int bytes) = 0;

    virtual bool write(const QByteArray& bytes) = 0;
    // Asks for `drained` once every byte written so far has left the port: the driver holds
    // none of them and they have had their time on the line at its rate. It comes on a later
    // turn of the event loop, never inside this call; with false (and errorString() saying why)
    // when the bytes have not left within their line time and a margin. A close or the loss of
    // the port meanwhile ends the wait without it.
    virtual void drain() = 0;

    // Why the last open() or write() failed, or why the port was lost.
    virtual QString errorString() const = 0;

signals:
    void received(const QByteArray& bytes);
    void drained(bool sent);
    // The open port failed (an adapter unplugged, the other end of a pseudo-terminal gone):
    // it has been closed.
    void lost(const QString& reason);
};

// Makes the serial ports of the link windows, and says which device "Com N" stands for.
class SerialPortFactory {
public:
    virtual ~SerialPortFactory() = default;
    virtual std::unique_ptr<SerialPort> createPort() = 0;
    // The device path of "Com N", or an empty text when there is none.
    virtual QString deviceFor(int number) const = 0;
};

// A factory for machines without serial ports: every port fails to open.
class NoSerialPorts : public SerialPortFactory {
public:
    std::unique_ptr<SerialPort> createPort() override;
    QString deviceFor(int) const override { return {}; }
};

} // namespace orv
