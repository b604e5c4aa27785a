// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "devicewatch.h"

#include "core/filename.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace orv {

namespace {

bool HasWildcards(const QString& text) {
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?')) ||
           text.contains(QLatin1Char('['));
}

// The device number of a character device (links followed), or 0.
quint64 CharacterDevice(const QString& path) {
    struct stat st {};
    if (::stat(FileNameBytes(path).constData(), &st) != 0 || !S_ISCHR(st.st_mode))
        return 0;
    return st.st_rdev == 0 ? 1 : quint64(st.st_rdev);
}

// A short wait for a burst of changes to settle into one look.
constexpr int SoonMsecs = 10;
// How often a device that cannot be opened yet is looked at again.
constexpr int ClosedLookMsecs = 50;

} // namespace

std::unique_ptr<DeviceWatch> DeviceWatch::create(const QString& pattern, QString* why) {
    if (pattern.isEmpty())
        return std::unique_ptr<DeviceWatch>(
            new DeviceWatch(QStringLiteral("/dev"), QStringLiteral("tty*"), true));
    const QString absolute = QDir::cleanPath(QFileInfo(pattern).absoluteFilePath());
    QString folder = absolute;
    QString names = QStringLiteral("*");
    if (!pattern.endsWith(QLatin1Char('/')) && !QFileInfo(absolute).isDir()) {
        folder = QFileInfo(absolute).path();
        names = QFileInfo(absolute).fileName();
    }
    if (HasWildcards(folder)) {
        *why = QStringLiteral("'%1': wildcards are taken in the last part of the path only")
                   .arg(pattern);
        return nullptr;
    }
    return std::unique_ptr<DeviceWatch>(new DeviceWatch(folder, names, false));
}

DeviceWatch::DeviceWatch(QString folder, QString names, bool serialOnly)
    : folder_(std::move(folder)), names_(std::move(names)), serialOnly_(serialOnly) {
    poll_.setInterval(PollMsecs);
    soon_.setSingleShot(true);
    connect(&poll_, &QTimer::timeout, this, &DeviceWatch::update);
    connect(&soon_, &QTimer::timeout, this, &DeviceWatch::update);
    auto changed = [this] {
        if (!soon_.isActive())
            soon_.start(SoonMsecs);
    };
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, changed);
}

QString DeviceWatch::description() const {
    if (serialOnly_)
        return QStringLiteral("every serial port");
    return names_ == QLatin1String("*") ? folder_ + QLatin1Char('/')
                                        : QDir(folder_).filePath(names_);
}

QMap<QString, quint64> DeviceWatch::look() {
    const QDir dir(folder_);
    const QStringList entries =
        dir.entryList({names_}, QDir::AllEntries | QDir::System | QDir::Hidden |
                                    QDir::NoDotAndDotDot | QDir::CaseSensitive);
    QMap<QString, quint64> devices;
    QHash<QString, bool> serial;
    for (const QString& e : entries) {
        if (serialOnly_) {
            // A terminal with a device behind it (a USB adapter, a UART), not a console: asked
            // of sysfs once for every name that appears.
            const auto known = serial_.constFind(e);
            serial.insert(
                e, known != serial_.cend()
                       ? *known
                       : QFileInfo::exists(QStringLiteral("/sys/class/tty/%1/device").arg(e)));
            if (!serial.value(e))
                continue;
        }
        if (const quint64 number = CharacterDevice(dir.filePath(e)))
            devices.insert(dir.filePath(e), number);
    }
    serial_ = std::move(serial);
    return devices;
}

void DeviceWatch::arm() {
    QString folder = folder_;
    while (!QFileInfo(folder).isDir() && folder != QLatin1String("/"))
        folder = QFileInfo(folder).path();
    const QStringList watched = watcher_.directories();
    if (watched.size() == 1 && watched.front() == folder)
        return;
    if (!watched.isEmpty())
        watcher_.removePaths(watched);
    watcher_.addPath(folder); // when it cannot, the look every PollMsecs remains
}

void DeviceWatch::start() {
    known_ = look();
    initial_ = int(known_.size());
    watching_ = true;
    arm();
    poll_.start();
}

void DeviceWatch::stop() {
    watching_ = false;
    poll_.stop();
    soon_.stop();
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
}

void DeviceWatch::update() {
    if (!watching_)
        return;
    arm();
    const QMap<QString, quint64> now = look();
    for (auto it = known_.begin(); it != known_.end();) {
        if (now.value(it.key()) == it.value()) {
            ++it;
            continue;
        }
        const QString path = it.key();
        it = known_.erase(it);
        emit vanished(path);
    }
    for (auto it = closed_.begin(); it != closed_.end();) {
        if (now.contains(it.key()))
            ++it;
        else
            it = closed_.erase(it);
    }
    for (auto it = now.cbegin(); it != now.cend() && watching_; ++it) {
        if (known_.contains(it.key()))
            continue;
        const bool open = ::access(FileNameBytes(it.key()).constData(), R_OK | W_OK) == 0;
        if (!open) {
            QElapsedTimer& since = closed_[it.key()];
            if (!since.isValid())
                since.start();
            if (!since.hasExpired(AccessWaitMsecs)) {
                soon_.start(ClosedLookMsecs);
                continue;
            }
        }
        closed_.remove(it.key());
        known_.insert(it.key(), it.value());
        emit appeared(it.key());
    }
}

} // namespace orv
