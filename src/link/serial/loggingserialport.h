// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "serialport.h"

#include <QElapsedTimer>

#include <functional>
#include <memory>

namespace orv {

// A serial port that writes a line for everything that happens on another one: each open and
// close with the settings, every chunk written and every chunk handed over as received, in hex,
// with the time. The port is named in every line, so several ports can share one log:
//
//   2026-12-09T01:02:03.456Z +12.345 ms com 1 > 02 80 03 81
//
// ">" is sent to the decoder, "<" received from it. Everything else is passed on unchanged.
class LoggingSerialPort : public SerialPort {
    Q_OBJECT
public:
    using Sink = std::function<void(const QString& line)>;

    LoggingSerialPort(std::unique_ptr<SerialPort> port, QString name, Sink sink,
                      QObject* parent = nullptr);
    ~LoggingSerialPort() override;

    bool setSettings(const SerialSettings& settings) override;
    void setCommPort(int number) override { port_->setCommPort(number); }
    int commPort() const override { return port_->commPort(); }
    void setHolder(const QString& holder) override { port_->setHolder(holder); }
    bool open() override;
    void close() override;
    bool isOpen() const override { return port_->isOpen(); }
    void discardOutput() override { port_->discardOutput(); }
    void discardInput() override { port_->discardInput(); }
    void setReceiveThreshold(int bytes) override { port_->setReceiveThreshold(bytes); }
    bool write(const QByteArray& bytes) override;
    void drain() override { port_->drain(); }
    QString errorString() const override { return port_->errorString(); }

    SerialPort& inner() const { return *port_; }

    // "02 80 03 81".
    static QString Hex(QByteArrayView bytes);

private:
    void log(const QString& what);

    std::unique_ptr<SerialPort> port_;
    QString name_;
    Sink sink_;
    QString settings_;
    QElapsedTimer clock_;
};

} // namespace orv
