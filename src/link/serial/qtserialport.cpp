// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtserialport.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

#include <algorithm>
#include <chrono>
#include <thread>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace orv {

namespace {

// The groups that serial devices belong to: dialout on Debian and its kin, uucp on others.
bool IsSerialGroup(const QString& group) {
    return group == QLatin1String("dialout") || group == QLatin1String("uucp");
}

} // namespace

QString OpenFailureReason(QSerialPort::SerialPortError error, const QString& portError,
                          const QString& device, const DeviceAccess& access) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return QCoreApplication::translate(
                   "orv::SerialPort",
                   "No such file or device: %1. The device is missing; is the adapter "
                   "plugged in?")
            .arg(device);
    case QSerialPort::PermissionError:
        if (access.holder) {
            if (access.holder->isEmpty())
                return QCoreApplication::translate("orv::SerialPort",
                                                   "%1 is busy: this program is already using it.")
                    .arg(device);
            return QCoreApplication::translate("orv::SerialPort",
                                               "%1 is busy: this program's %2 is using it.")
                .arg(device, *access.holder);
        }
        if (access.userMayUse)
            return QCoreApplication::translate("orv::SerialPort",
                                               "%1 is busy: another program is using it.")
                .arg(device);
        if (IsSerialGroup(access.group)) {
            return QCoreApplication::translate(
                       "orv::SerialPort",
                       "Permission denied: %1. Serial devices belong to the group "
                       "%2: add your user to it (sudo usermod -aG %2 $USER), then log "
                       "out and in again.")
                .arg(device, access.group);
        }
        // Not a serial device's group (root, tty, a console): joining it is no advice to give.
        if (access.owner.isEmpty() || access.group.isEmpty())
            return QCoreApplication::translate("orv::SerialPort", "Permission denied: %1.")
                .arg(device);
        return QCoreApplication::translate("orv::SerialPort",
                                           "Permission denied: %1 (owner %2, group %3).")
            .arg(device, access.owner, access.group);
    default:
        return device + QStringLiteral(": ") +
               (portError.isEmpty()
                    ? QCoreApplication::translate("orv::SerialPort", "Unknown error")
                    : portError);
    }
}

std::optional<QString> LostPortReason(QSerialPort::SerialPortError error,
                                      const QString& portError) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:       // ENODEV: the adapter was unplugged
    case QSerialPort::ResourceError:             // EIO, EBADF: hung up, the other end gone
    case QSerialPort::UnsupportedOperationError: // ENOTTY: no longer a terminal
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::UnknownError: // ENXIO and the rest
        break;
    default:
        return std::nullopt; // errors of open(), of a setting or a call: told by their callers
    }
    QString reason = QCoreApplication::translate("orv::SerialPort",
                                                 "the device was removed or stopped answering");
    if (!portError.isEmpty())
        reason += QStringLiteral(" (") + portError + QLatin1Char(')');
    return reason;
}

namespace {

constexpr qint64 MsecNsecs = 1'000'000;

// Whether this user may read and write the file (checked with the identity the process opens
// files with), and its owner and group.
DeviceAccess AccessOf(const QString& path) {
    DeviceAccess access;
#ifdef Q_OS_UNIX
    access.userMayUse =
        ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), R_OK | W_OK, AT_EACCESS) == 0;
#endif
    const QFileInfo info(path);
    access.owner = info.owner();
    access.group = info.group();
    return access;
}

// The key of a device in HeldDevices: its path with links resolved, so that "Com 1" and the
// device it links to are one device.
QString HeldKey(const QString& device) {
    const QString canonical = QFileInfo(device).canonicalFilePath();
    return canonical.isEmpty() ? device : canonical;
}

// QSerialPort's value of a parity.
QSerialPort::Parity QtParity(Parity parity) {
    switch (parity) {
    case Parity::Even:
        return QSerialPort::EvenParity;
    case Parity::Odd:
        return QSerialPort::OddParity;
    case Parity::Mark:
        return QSerialPort::MarkParity;
    case Parity::Space:
        return QSerialPort::SpaceParity;
    case Parity::None:
        break;
    }
    return QSerialPort::NoParity;
}

// The line time of one byte: start bit, data bits, parity bit, stop bits.
qint64 ByteNsecs(const SerialSettings& s) {
    const int bits = 1 + s.dataBits + (s.parity == Parity::None ? 0 : 1) + s.stopBits;
    return qint64(bits) * 1'000'000'000 / qMax(1, s.baudRate);
}

// Whether the driver takes more bytes now. QSerialPort reports a write that finds it full as an
// error of the device, so it is given bytes only when it takes them.
bool Writable(qintptr handle) {
#ifdef Q_OS_UNIX
    pollfd p{static_cast<int>(handle), POLLOUT, 0};
    return handle >= 0 && ::poll(&p, 1, 0) == 1 && (p.revents & POLLOUT);
#else
    Q_UNUSED(handle);
    return true;
#endif
}

// Whether the device is gone (hung up, or an error on it): its bytes will never leave.
bool Broken(qintptr handle) {
#ifdef Q_OS_UNIX
    pollfd p{static_cast<int>(handle), POLLOUT, 0};
    return handle < 0 ||
           (::poll(&p, 1, 0) == 1 && (p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0);
#else
    Q_UNUSED(handle);
    return false;
#endif
}

// Bytes the driver still holds for sending (0 where it cannot say).
qint64 DriverQueue(qintptr handle) {
#ifdef Q_OS_UNIX
    int queued = 0;
    if (handle >= 0 && ::ioctl(static_cast<int>(handle), TIOCOUTQ, &queued) == 0)
        return queued;
#else
    Q_UNUSED(handle);
#endif
    return 0;
}

} // namespace

QtSerialPort::QtSerialPort(std::function<QString(int)> deviceOf, std::shared_ptr<HeldDevices> held,
                           QObject* parent)
    : SerialPort(parent), deviceOf_(std::move(deviceOf)), held_(std::move(held)) {
    clock_.start();
    port_.setReadBufferSize(ReadAheadBytes);
    drainTimer_.setSingleShot(true);
    drainTimer_.setTimerType(Qt::PreciseTimer);
    connect(&drainTimer_, &QTimer::timeout, this, &QtSerialPort::checkDrained);
    connect(&port_, &QSerialPort::readyRead, this, &QtSerialPort::readArrived);
    connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialPort::portError);
}

QtSerialPort::~QtSerialPort() {
    // No signal may reach this object while the port closes.
    port_.disconnect(this);
    closePort(true);
}

bool QtSerialPort::setSettings(const SerialSettings& settings) {
    if (!IsUsable(settings)) {
        error_ = QCoreApplication::translate("orv::SerialPort", "Unusable serial settings \"%1\"")
                     .arg(SerialSettingsText(settings));
        return false;
    }
    settings_ = settings;
    return true;
}

bool QtSerialPort::open() {
    if (port_.isOpen())
        return true;
    const QString device = deviceOf_ ? deviceOf_(commPort_) : QString();
    if (device.isEmpty()) {
        error_ = QCoreApplication::translate("orv::SerialPort", "No serial device for Com %1")
                     .arg(commPort_);
        return false;
    }
    const QString key = HeldKey(device);
    if (held_ && held_->contains(key)) {
        // Another port of this program: the kernel would let root open it a second time.
        DeviceAccess access;
        access.holder = held_->value(key);
        error_ = OpenFailureReason(QSerialPort::PermissionError, QString(), device, access);
        return false;
    }
    pending_.clear();
    lineFreeNsecs_ = 0;
    port_.setPortName(device);
    port_.setBaudRate(settings_.baudRate);
    port_.setParity(QtParity(settings_.parity));
    port_.setDataBits(settings_.dataBits == 7 ? QSerialPort::Data7 : QSerialPort::Data8);
    port_.setStopBits(settings_.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) {
        error_ = OpenFailureReason(port_.error(), port_.errorString(), device, AccessOf(device));
        return false;
    }
    if (held_) {
        held_->insert(key, holder_);
        heldKey_ = key;
    }
    error_.clear();
    return true;
}

void QtSerialPort::close() {
    closePort(true);
}

void QtSerialPort::closePort(bool letOut) {
    drainTimer_.stop();
    if (port_.isOpen()) {
        if (letOut) {
            // QSerialPort's close() puts back the line settings it found, at once: bytes still
            // on their way would go out at those. A loss meanwhile ends the wait.
            // A device that is gone ends it too (its error may not have been announced yet,
            // or nobody listens any more, as in the destructor).
            closing_ = true;
            const qint64 giveUp = drainDeadline();
            while (!stopped_ && !allSent() && clock_.nsecsElapsed() < giveUp &&
                   !Broken(port_.handle())) {
                pushWritten();
                const qint64 left = lineFreeNsecs_ - clock_.nsecsElapsed();
                std::this_thread::sleep_for(
                    std::chrono::nanoseconds(std::clamp<qint64>(left, 100'000, MsecNsecs)));
            }
            closing_ = false;
            stopped_ = false;
        }
        port_.close();
    }
    if (held_ && !heldKey_.isEmpty())
        held_->remove(heldKey_);
    heldKey_.clear();
    pending_.clear();
}

void QtSerialPort::discardOutput() {
    if (port_.isOpen())
        port_.clear(QSerialPort::Output);
    lineFreeNsecs_ = qMin(lineFreeNsecs_, clock_.nsecsElapsed());
}

void QtSerialPort::discardInput() {
    pending_.clear();
    if (port_.isOpen())
        port_.clear(QSerialPort::Input);
}

void QtSerialPort::setReceiveThreshold(int bytes) {
    threshold_ = bytes;
    if (bytes <= 0)
        pending_.clear();
}

bool QtSerialPort::write(const QByteArray& bytes) {
    if (!port_.isOpen()) {
        error_ = QCoreApplication::translate("orv::SerialPort", "The port is not open");
        return false;
    }
    if (port_.write(bytes) != bytes.size()) {
        error_ = port_.errorString();
        return false;
    }
    // Hand the bytes to the driver now rather than on the next turn of the event loop.
    pushWritten();
    lineFreeNsecs_ =
        qMax(clock_.nsecsElapsed(), lineFreeNsecs_) + bytes.size() * ByteNsecs(settings_);
    return true;
}

void QtSerialPort::pushWritten() {
    if (port_.bytesToWrite() > 0 && Writable(port_.handle()))
        port_.flush();
}

qint64 QtSerialPort::queuedBytes() const {
    return port_.bytesToWrite() + DriverQueue(port_.handle());
}

bool QtSerialPort::allSent() const {
    return queuedBytes() == 0 && clock_.nsecsElapsed() >= lineFreeNsecs_;
}

qint64 QtSerialPort::drainDeadline() const {
    return qMax(clock_.nsecsElapsed(), lineFreeNsecs_) + DrainMarginMsecs * MsecNsecs;
}

void QtSerialPort::drain() {
    giveUpNsecs_ = drainDeadline();
    drainTimer_.start(0);
}

void QtSerialPort::checkDrained() {
    if (!port_.isOpen()) {
        error_ = QCoreApplication::translate("orv::SerialPort", "The port is not open");
        emit drained(false);
        return;
    }
    const qint64 now = clock_.nsecsElapsed();
    if (allSent()) {
        emit drained(true);
        return;
    }
    if (now >= giveUpNsecs_) {
        error_ = QCoreApplication::translate(
                     "orv::SerialPort",
                     "%1 bytes written had not left the port %2 ms after their time on "
                     "the line; the line or the adapter is held up.")
                     .arg(queuedBytes())
                     .arg(DrainMarginMsecs);
        emit drained(false);
        return;
    }
    // Until the bytes' line time is over, then every 2 ms while the driver still holds some.
    const qint64 wait = lineFreeNsecs_ > now ? lineFreeNsecs_ - now : 2 * MsecNsecs;
    drainTimer_.start(static_cast<int>(
        std::clamp<qint64>((wait + MsecNsecs - 1) / MsecNsecs, 1, DrainMarginMsecs)));
}

void QtSerialPort::readArrived() {
    // Once a receiver of `received` has returned, what came meanwhile is taken too: QSerialPort
    // does not announce it again, and stops reading once it holds ReadAheadBytes.
    const QPointer<QtSerialPort> self(this);
    bool handedOver = true;
    while (handedOver && port_.isOpen()) {
        handedOver = false;
        const QByteArray chunk = port_.readAll();
        if (chunk.isEmpty() || threshold_ <= 0)
            continue; // nobody waits: thrown away
        pending_.append(chunk);
        if (pending_.size() >= threshold_) {
            handedOver = true;
            emit received(std::exchange(pending_, {}));
            if (!self)
                return;
        }
    }
}

void QtSerialPort::portError(QSerialPort::SerialPortError error) {
    if (!port_.isOpen())
        return;
    const auto reason = LostPortReason(error, port_.errorString());
    if (!reason)
        return;
    error_ = *reason;
    if (closing_) {
        stopped_ = true; // close() is under way: it stops waiting for the bytes
        return;
    }
    closePort(false);
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
        [dir = configDir_, lister = lister_](int n) { return DeviceOf(n, dir, lister); }, held_);
}

std::unique_ptr<SerialPort> QtSerialPortFactory::createDevicePort(const QString& device) {
    return std::make_unique<QtSerialPort>([device](int) { return device; }, held_);
}

QString QtSerialPortFactory::deviceFor(int number) const {
    return DeviceOf(number, configDir_, lister_);
}

std::unique_ptr<SerialPort> NoSerialPorts::createPort() {
    return std::make_unique<QtSerialPort>(nullptr);
}

} // namespace orv
