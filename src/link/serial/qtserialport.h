#pragma once

#include "comports.h"
#include "serialport.h"

#include <QSerialPort>

#include <functional>
#include <optional>

namespace orv {

// The parts of a settings text such as "9600,N,8,1 ".
struct SerialSettings {
    qint32 baudRate = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;

    friend bool operator==(const SerialSettings&, const SerialSettings&) = default;
};

// Nothing when the text is not a positive baud rate, a parity letter N, E, O, M or S (either
// case), 7 or 8 data bits and 1 or 2 stop bits, separated by commas; blanks around each part
// are allowed.
std::optional<SerialSettings> ParseSerialSettings(const QString& text);

// Why `device` could not be opened, in words for the user: "Permission denied" with the way to
// get access, "No such file" for a missing device, "busy" for a device in use, otherwise the
// port's own text. `error` and `portError` are what QSerialPort reported; `userMayUse` says
// whether this user may read and write the device: QSerialPort reports another program's lock
// or exclusive use as a permission error too.
QString OpenFailureReason(QSerialPort::SerialPortError error, const QString& portError,
                          const QString& device, bool userMayUse);

// The serial port through QSerialPort. Incoming chunks are collected until the receive
// threshold is reached; then all of them are handed over at once. Any error of an open port
// closes it and is reported through `lost`, so a vanished device is never read in a loop.
class QtSerialPort : public SerialPort {
    Q_OBJECT
public:
    // deviceOf: the device path of "Com N", empty when there is none.
    explicit QtSerialPort(std::function<QString(int)> deviceOf, QObject* parent = nullptr);
    ~QtSerialPort() override;

    bool setSettings(const QString& settings) override;
    void setCommPort(int number) override { commPort_ = number; }
    int commPort() const override { return commPort_; }
    bool open() override;
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    void discardOutput() override;
    void discardInput() override;
    void setReceiveThreshold(int bytes) override { threshold_ = bytes; }
    bool write(const QByteArray& bytes) override;
    QString errorString() const override { return error_; }

    // The device the port was last opened on.
    QString device() const { return port_.portName(); }

private:
    void readArrived();
    void portError(QSerialPort::SerialPortError error);

    std::function<QString(int)> deviceOf_;
    QSerialPort port_;
    SerialSettings settings_;
    int commPort_ = 1;
    int threshold_ = 0;
    QByteArray pending_;
    QString error_;
};

// Makes QtSerialPort objects; "Com N" is the link comN in the per-user configuration folder,
// else the N-th device the lister gives (see DeviceForComPort).
class QtSerialPortFactory : public SerialPortFactory {
public:
    using Lister = std::function<QList<SerialDevice>()>;
    explicit QtSerialPortFactory(QString configDir, Lister lister = SystemSerialDevices);

    std::unique_ptr<SerialPort> createPort() override;
    QString deviceFor(int number) const override;

private:
    QString configDir_;
    Lister lister_;
};

} // namespace orv
