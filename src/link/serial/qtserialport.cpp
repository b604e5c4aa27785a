#include "qtserialport.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace orv {

std::optional<SerialSettings> ParseSerialSettings(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    SerialSettings s;
    bool ok = false;
    const QString baud = parts[0].trimmed();
    s.baudRate = baud.toInt(&ok);
    if (!ok || s.baudRate <= 0 || baud.startsWith(QLatin1Char('+')))
        return std::nullopt;

    // Parity letters in the order of their QSerialPort values.
    static const QSerialPort::Parity Parities[] = {QSerialPort::NoParity, QSerialPort::EvenParity,
                                                   QSerialPort::OddParity, QSerialPort::MarkParity,
                                                   QSerialPort::SpaceParity};
    const QString parity = parts[1].trimmed().toUpper();
    const qsizetype letter = parity.size() == 1 ? QStringLiteral("NEOMS").indexOf(parity) : -1;
    if (letter < 0)
        return std::nullopt;
    s.parity = Parities[letter];

    const QString data = parts[2].trimmed();
    if (data == QLatin1String("7"))
        s.dataBits = QSerialPort::Data7;
    else if (data == QLatin1String("8"))
        s.dataBits = QSerialPort::Data8;
    else
        return std::nullopt;

    const QString stop = parts[3].trimmed();
    if (stop == QLatin1String("1"))
        s.stopBits = QSerialPort::OneStop;
    else if (stop == QLatin1String("2"))
        s.stopBits = QSerialPort::TwoStop;
    else
        return std::nullopt;
    return s;
}

QString OpenFailureReason(QSerialPort::SerialPortError error, const QString& portError,
                          const QString& device, bool userMayUse) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("No such file or device: %1. The device is missing; is the adapter "
                              "plugged in?")
            .arg(device);
    case QSerialPort::PermissionError:
        if (!userMayUse) {
            return QStringLiteral("Permission denied: %1. Serial devices belong to the group "
                                  "dialout: add your user to it (sudo usermod -aG dialout "
                                  "$USER), then log out and in again.")
                .arg(device);
        }
        return QStringLiteral("%1 is busy: another program is using it.").arg(device);
    default:
        return device + QStringLiteral(": ") +
               (portError.isEmpty() ? QStringLiteral("Unknown error") : portError);
    }
}

namespace {

// Whether this user may read and write the file (checked with the identity the process opens
// files with).
bool UserMayUse(const QString& path) {
#ifdef Q_OS_UNIX
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), R_OK | W_OK, AT_EACCESS) == 0;
#else
    Q_UNUSED(path);
    return true;
#endif
}

} // namespace

QtSerialPort::QtSerialPort(std::function<QString(int)> deviceOf, QObject* parent)
    : SerialPort(parent), deviceOf_(std::move(deviceOf)) {
    connect(&port_, &QSerialPort::readyRead, this, &QtSerialPort::readArrived);
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialPort::portError);
}

QtSerialPort::~QtSerialPort() {
    // No signal may reach this object while the port closes.
    port_.disconnect(this);
}

bool QtSerialPort::setSettings(const QString& settings) {
    const auto parsed = ParseSerialSettings(settings);
    if (!parsed) {
        error_ = QStringLiteral("Unusable serial settings \"%1\"").arg(settings);
        return false;
    }
    settings_ = *parsed;
    return true;
}

bool QtSerialPort::open() {
    if (port_.isOpen())
        return true;
    const QString device = deviceOf_ ? deviceOf_(commPort_) : QString();
    if (device.isEmpty()) {
        error_ = QStringLiteral("No serial device for Com %1").arg(commPort_);
        return false;
    }
    pending_.clear();
    port_.setPortName(device);
    port_.setBaudRate(settings_.baudRate);
    port_.setParity(settings_.parity);
    port_.setDataBits(settings_.dataBits);
    port_.setStopBits(settings_.stopBits);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) {
        error_ = OpenFailureReason(port_.error(), port_.errorString(), device, UserMayUse(device));
        return false;
    }
    error_.clear();
    return true;
}

void QtSerialPort::close() {
    if (port_.isOpen())
        port_.close();
    pending_.clear();
}

void QtSerialPort::discardOutput() {
    if (port_.isOpen())
        port_.clear(QSerialPort::Output);
}

void QtSerialPort::discardInput() {
    pending_.clear();
    if (port_.isOpen())
        port_.clear(QSerialPort::Input);
}

bool QtSerialPort::write(const QByteArray& bytes) {
    if (!port_.isOpen()) {
        error_ = QStringLiteral("The port is not open");
        return false;
    }
    if (port_.write(bytes) != bytes.size()) {
        error_ = port_.errorString();
        return false;
    }
    // Hand the bytes to the driver now rather than on the next turn of the event loop.
    port_.flush();
    return true;
}

void QtSerialPort::readArrived() {
    pending_.append(port_.readAll());
    if (threshold_ > 0 && pending_.size() >= threshold_) {
        const QByteArray bytes = std::exchange(pending_, {});
        emit received(bytes);
    }
}

void QtSerialPort::portError(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::UnknownError:
        break;
    default:
        return; // errors of open(), write() or a setting: reported by their callers
    }
    if (!port_.isOpen())
        return;
    error_ = port_.errorString();
    close();
    emit lost(error_);
}

namespace {

// The machine's devices are listed only when no link names the port.
QString DeviceOf(int number, const QString& configDir, const QtSerialPortFactory::Lister& lister) {
    if (const auto linked = LinkedComDevice(number, configDir))
        return *linked;
    return lister ? ListedComDevice(number, lister()) : QString();
}

} // namespace

QtSerialPortFactory::QtSerialPortFactory(QString configDir, Lister lister)
    : configDir_(std::move(configDir)), lister_(std::move(lister)) {}

std::unique_ptr<SerialPort> QtSerialPortFactory::createPort() {
    // The port keeps its own copy of the mapping, so it may outlive the factory.
    return std::make_unique<QtSerialPort>(
        [dir = configDir_, lister = lister_](int n) { return DeviceOf(n, dir, lister); });
}

QString QtSerialPortFactory::deviceFor(int number) const {
    return DeviceOf(number, configDir_, lister_);
}

std::unique_ptr<SerialPort> NoSerialPorts::createPort() {
    return std::make_unique<QtSerialPort>(nullptr);
}

} // namespace orv
