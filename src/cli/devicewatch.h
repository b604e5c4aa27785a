// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QHash>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

namespace orv {

// Tells of serial devices as they appear and go: the character devices whose paths match a
// pattern (a folder of links to devices counts too, links followed), or every serial port: a
// terminal device in /dev with a device behind it in sysfs (/sys/class/tty/NAME/device: a USB
// adapter or modem, a UART), which leaves out the consoles and pseudo-terminals.
//
// How it notices: a file system watcher (inotify) on the folder of the pattern (/dev for every
// port) asks for a look at once when the folder changes; the look is a read of the folder and
// a stat() of each match, a few dozen microseconds. As a fallback for changes the watcher does
// not see (a folder that does not exist yet, a link whose target appears later, a file system
// without inotify, the watcher's limits), the same look is taken every `PollMsecs`, which keeps
// detection within half a second whatever happens and costs next to nothing while idle.
//
// A device that appears but cannot be opened for reading and writing yet (udev gives it its
// group a moment after the kernel makes it) is told once it can, or after `AccessWaitMsecs`, so
// that a port that stays closed to the user is reported with its reason rather than ignored.
// A device that goes and comes again (unplugged and plugged, a link made anew, a link turned to
// another device) is told again.
class DeviceWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int PollMsecs = 400;
    static constexpr int AccessWaitMsecs = 1000;

    // `pattern`: a path whose last part may hold the wildcards * ? [...] (/dev/ttyUSB*), or a
    // folder (every entry in it); relative paths are taken from the current folder. Empty:
    // every serial port. Nothing, with the reason, when the folder part holds
    // wildcards.
    static std::unique_ptr<DeviceWatch> create(const QString& pattern, QString* why);

    // Takes the devices there now as known (they are not told) and starts watching.
    void start();
    // Stops watching; nothing is told any more.
    void stop();
    // The devices there when watching started.
    int initialCount() const { return initial_; }
    // What is watched, for a person: "/dev/ttyUSB*", "every serial port".
    QString description() const;

signals:
    void appeared(const QString& path);
    void vanished(const QString& path);

private:
    DeviceWatch(QString folder, QString names, bool serialOnly);

    // The character devices there now: path -> device number.
    QMap<QString, quint64> look();
    void update();
    // Watches the folder, or the nearest folder above it that exists while it does not.
    void arm();

    QString folder_;
    QString names_;               // the wildcard pattern of the names in the folder
    bool serialOnly_ = false;     // every serial port: /dev/tty* with a device in sysfs
    QHash<QString, bool> serial_; // names seen at the last look -> whether each is a serial port
    QFileSystemWatcher watcher_;
    QTimer poll_;
    QTimer soon_; // a look shortly after a change, so that a burst of changes is one look
    QMap<QString, quint64> known_;
    QMap<QString, QElapsedTimer> closed_; // appeared, but not open to the user yet
    int initial_ = 0;
    bool watching_ = false;
};

} // namespace orv
