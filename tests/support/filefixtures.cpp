// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "filefixtures.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace orv::test {

TestFifo::TestFifo(QString path) : path_(std::move(path)) {
    const QByteArray name = QFile::encodeName(path_);
    made_ = ::mkfifo(name.constData(), 0600) == 0;
    if (!made_)
        return;
    watchdog_ = std::thread([this, name] {
        while (!stop_) {
            // Succeeds only while a reader has the pipe open (or waits in its open).
            const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                opened_ = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
}

TestFifo::~TestFifo() {
    stop_ = true;
    if (watchdog_.joinable())
        watchdog_.join();
    if (made_)
        QFile::remove(path_);
}

FullFilesystem::FullFilesystem(QString mountPoint) : mountPoint_(std::move(mountPoint)) {
    QDir().mkpath(mountPoint_);
}

FullFilesystem::~FullFilesystem() {
    if (mounted_)
        ::umount2(QFile::encodeName(mountPoint_).constData(), MNT_DETACH);
}

bool FullFilesystem::mount(QString* why) {
    const QByteArray options = "size=" + QByteArray::number(SizeKiB) + "k,mode=0755";
    if (::mount("tmpfs", QFile::encodeName(mountPoint_).constData(), "tmpfs",
                MS_NOSUID | MS_NODEV | MS_NOEXEC, options.constData()) != 0) {
        *why = QStringLiteral("cannot mount a %1 KiB tmpfs on %2 (%3); this needs root")
                   .arg(SizeKiB)
                   .arg(mountPoint_, qt_error_string(errno));
        return false;
    }
    mounted_ = true;
    return true;
}

bool FullFilesystem::fill(QString* why) {
    const QByteArray name = QFile::encodeName(filePath(QStringLiteral(".filler")));
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) {
        *why = QStringLiteral("cannot create the filler file: %1").arg(qt_error_string(errno));
        return false;
    }
    // Whole pages first, then single bytes into the last page.
    const char block[4096] = {};
    while (::write(fd, block, sizeof block) > 0) {
    }
    while (::write(fd, block, 1) > 0) {
    }
    ::close(fd);
    if (freeBytes() != 0) {
        *why = QStringLiteral("%1 bytes are still free").arg(freeBytes());
        return false;
    }
    return true;
}

qint64 FullFilesystem::freeBytes() const {
    struct statvfs s {};
    if (::statvfs(QFile::encodeName(mountPoint_).constData(), &s) != 0)
        return -1;
    return static_cast<qint64>(s.f_bavail) * static_cast<qint64>(s.f_frsize);
}

QString FullFilesystem::filePath(const QString& name) const {
    return QDir(mountPoint_).filePath(name);
}

} // namespace orv::test
