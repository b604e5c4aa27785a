// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <atomic>
#include <thread>

namespace orv::test {

// A named pipe for a test. Should the program open it for reading, which blocks until a writer
// comes, a watchdog opens the writing end at once and closes it again: the program's open
// returns, it reads an empty file, and wasOpened() tells the test, which then fails instead of
// hanging.
class TestFifo {
public:
    explicit TestFifo(QString path);
    ~TestFifo();
    TestFifo(const TestFifo&) = delete;
    TestFifo& operator=(const TestFifo&) = delete;

    bool made() const { return made_; }
    const QString& path() const { return path_; }
    // Something opened the pipe for reading.
    bool wasOpened() const { return opened_; }

private:
    QString path_;
    bool made_ = false;
    std::atomic<bool> stop_{false};
    std::atomic<bool> opened_{false};
    std::thread watchdog_;
};

// A small tmpfs mounted on a folder for one test, and filled up, so that saves meet a real full
// disk. Mounting needs root (CAP_SYS_ADMIN); where it is not allowed, mount() says why and the
// test skips, saying so. The destructor unmounts it, also when a check of the test failed.
class FullFilesystem {
public:
    static constexpr int SizeKiB = 16;

    // `mountPoint` is made when it does not exist.
    explicit FullFilesystem(QString mountPoint);
    ~FullFilesystem();
    FullFilesystem(const FullFilesystem&) = delete;
    FullFilesystem& operator=(const FullFilesystem&) = delete;

    bool mount(QString* why);
    // Takes up every free byte with a filler file. False with the reason when the filesystem
    // still has room afterwards.
    bool fill(QString* why);
    // Free bytes left.
    qint64 freeBytes() const;
    const QString& path() const { return mountPoint_; }
    QString filePath(const QString& name) const;

private:
    QString mountPoint_;
    bool mounted_ = false;
};

} // namespace orv::test
