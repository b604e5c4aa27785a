// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "loggingserialport.h"

#include <QDateTime>

namespace orv {

LoggingSerialPort::LoggingSerialPort(std::unique_ptr<SerialPort> port, QString name, Sink sink,
                                     QObject* parent)
    : SerialPort(parent), port_(std::move(port)), name_(std::move(name)), sink_(std::move(sink)) {
    clock_.start();
    connect(port_.get(), &SerialPort::received, this, [this](const QByteArray& bytes) {
        log(QStringLiteral("< ") + Hex(bytes));
        emit received(bytes);
    });
    connect(port_.get(), &SerialPort::drained, this, [this](bool sent) {
        log(sent ? QStringLiteral("sent") : QStringLiteral("not sent: ") + port_->errorString());
        emit drained(sent);
    });
    connect(port_.get(), &SerialPort::lost, this, [this](const QString& reason) {
        log(QStringLiteral("lost: ") + reason);
        emit lost(reason);
    });
}

LoggingSerialPort::~LoggingSerialPort() {
    port_->disconnect(this);
}

QString LoggingSerialPort::Hex(QByteArrayView bytes) {
    return QString::fromLatin1(bytes.toByteArray().toHex(' ')).toUpper();
}

void LoggingSerialPort::log(const QString& what) {
    if (!sink_)
        return;
    sink_(QStringLiteral("%1 +%2 ms %3 %4")
              .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs))
              .arg(clock_.nsecsElapsed() / 1e6, 0, 'f', 3)
              .arg(name_, what));
}

bool LoggingSerialPort::setSettings(const SerialSettings& settings) {
    const bool ok = port_->setSettings(settings);
    if (ok)
        settings_ = SerialSettingsText(settings).trimmed();
    else
        log(QStringLiteral("settings refused: \"%1\"").arg(SerialSettingsText(settings)));
    return ok;
}

bool LoggingSerialPort::open() {
    const bool ok = port_->open();
    if (ok)
        log(QStringLiteral("open %1").arg(settings_));
    else
        log(QStringLiteral("open failed: %1").arg(port_->errorString()));
    return ok;
}

void LoggingSerialPort::close() {
    const bool wasOpen = port_->isOpen();
    port_->close();
    if (wasOpen)
        log(QStringLiteral("close"));
}

bool LoggingSerialPort::write(const QByteArray& bytes) {
    const bool ok = port_->write(bytes);
    log((ok ? QStringLiteral("> ")
            : QStringLiteral("> (write failed: %1) ").arg(port_->errorString())) +
        Hex(bytes));
    return ok;
}

} // namespace orv
