// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "comports.h"
#include "serialport.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSerialPort>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

namespace orv {

// What is known of a device that could not be opened, besides the port's error.
struct DeviceAccess {
    // Whether this user may read and write the device: QSerialPort reports another program's
    // lock or exclusive use as a permission error too.
    bool userMayUse = true;
    QString owner; // the device's owner and group ("root", "dialout")
    QString group;
    // Set when a port of this program holds the device: who (empty: not named).
    std::optional<QString> holder;
};

// Why `device` could not be opened, in words for the user: "Permission denied", with the way
// into the group when the device belongs to the serial group (dialout, or uucp elsewhere);
// "No such file" for a missing device; "busy" for a device in use, by another program or by
// this one (naming who); otherwise the port's own text. `error` and `portError` are what
// QSerialPort reported.
QString OpenFailureReason(QSerialPort::SerialPortError error, const QString& portError,
                          const QString& device, const DeviceAccess& access);

// Why an open port failed, in words for the user, when the error means it is gone or no longer
// answers (removed, hung up, no longer a terminal, reading or writing failed): "the device was
// removed or stopped answering" and the driver's words in brackets. Nothing for errors that do
// not end an open port.
std::optional<QString> LostPortReason(QSerialPort::SerialPortError error, const QString& portError);

// The devices that the ports of one factory hold open, each with its holder's name.
using HeldDevices = QHash<QString, QString>;

// The serial port through QSerialPort. Incoming chunks are collected until the receive
// threshold is reached; then all of them are handed over at once. QSerialPort reads at most
// ReadAheadBytes ahead of this, so a receiver that does not return (a message box shown while
// the decoder keeps sending) leaves the rest to the driver, which drops what it cannot hold.
// Any error of an open port closes it and is reported through `lost`, so a vanished device is
// never read in a loop.
class QtSerialPort : public SerialPort {
    Q_OBJECT
public:
    static constexpr qint64 ReadAheadBytes = 4096;
    // How long after their line time written bytes may still be on their way before a drain
    // (or a close) gives up on them.
    static constexpr int DrainMarginMsecs = 500;

    // deviceOf: the device path of "Com N", empty when there is none. held: shared by the ports
    // of one factory (none: the port is on its own).
    explicit QtSerialPort(std::function<QString(int)> deviceOf,
                          std::shared_ptr<HeldDevices> held = nullptr, QObject* parent = nullptr);
    ~QtSerialPort() override;

    bool setSettings(const SerialSettings& settings) override;
    void setCommPort(int number) override { commPort_ = number; }
    int commPort() const override { return commPort_; }
    void setHolder(const QString& holder) override { holder_ = holder; }
    bool open() override;
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    void discardOutput() override;
    void discardInput() override;
    void setReceiveThreshold(int bytes) override;
    bool write(const QByteArray& bytes) override;
    void drain() override;
    QString errorString() const override { return error_; }

    // The device the port was last opened on.
    QString device() const { return port_.portName(); }

private:
    void readArrived();
    void portError(QSerialPort::SerialPortError error);
    // Closes the port; with `letOut`, the bytes written first leave it (bounded, blocking).
    void closePort(bool letOut);
    // Hands what QSerialPort holds to the driver, as far as it takes it now.
    void pushWritten();
    // Bytes written and not yet sent by the driver.
    qint64 queuedBytes() const;
    // Whether every byte written has left: none queued, and their line time is over.
    // When a drain starting now gives up: the written bytes' line time and a margin.
    qint64 drainDeadline() const;
    bool allSent() const;
    void checkDrained();

    std::function<QString(int)> deviceOf_;
    std::shared_ptr<HeldDevices> held_;
    QString heldKey_; // the device this port holds in held_
    QString holder_;
    QSerialPort port_;
    SerialSettings settings_;
    int commPort_ = 1;
    int threshold_ = 0;
    QByteArray pending_;
    QString error_;
    QElapsedTimer clock_;
    qint64 lineFreeNsecs_ = 0; // when the bytes written so far have had their line time
    qint64 giveUpNsecs_ = 0;   // the end of the drain under way
    QTimer drainTimer_;
    bool closing_ = false; // close() waits for the bytes written
    bool stopped_ = false; // the port failed meanwhile
};

// Makes QtSerialPort objects; "Com N" is the link comN in the per-user configuration folder,
// else the N-th device the lister gives (see DeviceForComPort). Its ports know which devices
// the others hold open: a second one is refused as busy, with the first one's holder named.
class QtSerialPortFactory : public SerialPortFactory {
public:
    using Lister = std::function<QList<SerialDevice>()>;
    explicit QtSerialPortFactory(QString configDir, Lister lister = SystemSerialDevices);

    std::unique_ptr<SerialPort> createPort() override;
    // A port on this one device, whatever its "Com N" number.
    std::unique_ptr<SerialPort> createDevicePort(const QString& device);
    QString deviceFor(int number) const override;

private:
    QString configDir_;
    Lister lister_;
    std::shared_ptr<HeldDevices> held_ = std::make_shared<HeldDevices>();
};

} // namespace orv
