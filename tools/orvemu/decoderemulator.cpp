// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "decoderemulator.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace orv::emu {

DecoderEmulator::DecoderEmulator(Kind kind, QObject* parent) : QObject(parent), core_(kind) {
    clock_.start();
    core_.clock = [this] {
        return clock_.nsecsElapsed();
    };
}

qint64 DecoderEmulator::byteNsecs() const {
    const Line l = line();
    if (l.baudRate <= 0)
        return 0;
    const int bits = 1 + 8 + l.stopBits;
    return qint64(bits) * 1'000'000'000 / l.baudRate;
}

DecoderEmulator::~DecoderEmulator() {
    stop();
}

bool DecoderEmulator::start() {
    if (master_ >= 0)
        return true;
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    // Programs started meanwhile (orvctl run by a test) must not inherit either end: a master
    // held open by a child would keep the line up after stop().
    if (master_ >= 0)
        ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        stop();
        return false;
    }
    char name[128] = {};
    if (::ptsname_r(master_, name, sizeof name) != 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        stop();
        return false;
    }
    device_ = QString::fromLocal8Bit(name);
    // Raw line discipline from the start: no echo, no CR/LF translation, 8-bit bytes.
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave_ < 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        stop();
        return false;
    }
    termios tio{};
    if (::tcgetattr(slave_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(slave_, TCSANOW, &tio);
    }
    notifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &DecoderEmulator::readable);
    return true;
}

bool DecoderEmulator::createLink(const QString& linkPath) {
    if (device_.isEmpty())
        return false;
    QFile::remove(linkPath);
    if (!QFile::link(device_, linkPath)) {
        error_ = QStringLiteral("cannot create the link %1").arg(linkPath);
        return false;
    }
    link_ = linkPath;
    return true;
}

void DecoderEmulator::stop() {
    delete notifier_;
    notifier_ = nullptr;
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
    slave_ = master_ = -1;
    if (!link_.isEmpty())
        QFile::remove(link_);
    link_.clear();
}

void DecoderEmulator::setReading(bool reading) {
    if (notifier_)
        notifier_->setEnabled(reading);
}

DecoderEmulator::Line DecoderEmulator::line() const {
    Line line;
    termios tio{};
    if (slave_ < 0 || ::tcgetattr(slave_, &tio) != 0)
        return line;
    switch (::cfgetospeed(&tio)) {
    case B600:
        line.baudRate = 600;
        break;
    case B1200:
        line.baudRate = 1200;
        break;
    case B2400:
        line.baudRate = 2400;
        break;
    case B4800:
        line.baudRate = 4800;
        break;
    case B9600:
        line.baudRate = 9600;
        break;
    case B19200:
        line.baudRate = 19200;
        break;
    case B38400:
        line.baudRate = 38400;
        break;
    case B921600:
        line.baudRate = 921600;
        break;
    default:
        line.baudRate = -1;
        break;
    }
    line.stopBits = (tio.c_cflag & CSTOPB) ? 2 : 1;
    return line;
}

void DecoderEmulator::readable() {
    QByteArray bytes;
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: all read
    }
    if (bytes.isEmpty())
        return;
    received.append(bytes);
    if (strictLoaderLine && core_.loader.active) {
        const int rate = line().baudRate;
        if (rate != LoaderBaudRate) {
            core_.loader.errors << QStringLiteral("%1 bytes arrived at %2 baud and were lost")
                                       .arg(bytes.size())
                                       .arg(rate);
            if (core_.onEvent)
                core_.onEvent(core_.loader.errors.constLast());
            return;
        }
    }
    if (paceLine)
        lineFree_ = qMax(lineFree_, clock_.nsecsElapsed()) + bytes.size() * byteNsecs();
    const qsizetype framesBefore = core_.frames.size();
    const QList<QByteArray> replies = core_.feed(bytes);
    for (qsizetype i = framesBefore; i < core_.frames.size(); ++i)
        emit frameReceived(core_.frames[i]);
    for (const QByteArray& r : replies)
        reply(r);
}

void DecoderEmulator::reply(const QByteArray& bytes) {
    switch (core_.fault) {
    case Fault::Late:
        QTimer::singleShot(lateMsecs, Qt::PreciseTimer, this, [this, bytes] { send(bytes); });
        break;
    case Fault::Split: {
        const int size = qMax(1, chunkSize);
        int delay = 0;
        for (qsizetype pos = 0; pos < bytes.size(); pos += size, delay += chunkGapMsecs) {
            const QByteArray piece = bytes.mid(pos, size);
            QTimer::singleShot(delay, Qt::PreciseTimer, this, [this, piece] { send(piece); });
        }
        break;
    }
    default:
        if (paceLine) {
            // The reply goes out once the request has crossed the line, and arrives after its
            // own line time.
            const qint64 due = lineFree_ + bytes.size() * byteNsecs() - clock_.nsecsElapsed();
            const int msecs = static_cast<int>((qMax<qint64>(due, 0) + 999'999) / 1'000'000);
            QTimer::singleShot(msecs, Qt::PreciseTimer, this, [this, bytes] { send(bytes); });
            break;
        }
        send(bytes);
        break;
    }
}

void DecoderEmulator::send(const QByteArray& bytes) {
    if (master_ < 0)
        return;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    emit bytesSent(bytes.left(done));
}

} // namespace orv::emu
