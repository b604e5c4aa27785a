// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace orv {

// Every file the program saves goes through WriteWholeFile, and every file it reads (a
// configuration, the defaults file, a firmware image) through ReadWholeFile. Both take a name as
// filename.h has it, so a name that is not UTF-8 opens the file it names.

// What tells one file from another, and one version of a file from the next: where it is
// stored, its size and when it was last written.
struct FileStamp {
    bool known = false; // false: there was no file
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modified = 0; // nanoseconds since 1970
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file a path names now (symbolic links followed); not known when there is none.
FileStamp StampOf(const QString& path);

enum class WriteStatus {
    Ok,
    Changed, // the file is no longer the one expected: another program changed or replaced it
    Failed,
};

struct WriteResult {
    WriteStatus status = WriteStatus::Failed;
    QString why;     // otherwise: the reason, as a clause for a message ("No space left on device")
    FileStamp stamp; // Ok: the file as written
    bool ok() const { return status == WriteStatus::Ok; }
};

// Writes a whole file so that it ends up either holding all of `bytes` or as it was before, as
// a careful editor saves. The bytes go to a new temporary file in the same folder, written with
// every write checked and synchronised to the disk; the new file takes the old one's permissions,
// owner, group, access control lists and extended attributes; only then does it replace the old
// one (rename), and the folder is synchronised. So a full disk leaves the old file byte for byte
// as it was, and a save never widens who may read the file: where the owner, the group or an
// attribute cannot be kept, the save fails and says so. A symbolic link stays a link: the file it
// leads to is replaced. Other hard links of the file keep the old contents. An existing file that
// is not a regular file (a folder, a named pipe, a device) is never replaced.
// With a known `expected` stamp, the file is replaced only while it still is that file (a file
// that has gone meanwhile is written anew); otherwise the result is Changed and nothing is written.
WriteResult WriteWholeFile(const QString& path, const QByteArray& bytes,
                           const FileStamp& expected = {});
// The same, without the stamps: true, or false with the reason in `why`.
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* why);

enum class ReadStatus {
    Ok,
    NotRegular, // a folder, a named pipe, a device, ...: refused before it is opened
    TooLarge,   // larger than the caller's limit: refused before it is read
    Failed,     // missing, no permission, or a read error
};

struct ReadResult {
    ReadStatus status = ReadStatus::Failed;
    QByteArray bytes; // Ok: the whole file
    QString why;      // otherwise: what is wrong, as a clause for a message ("it is a named pipe")
    FileStamp stamp;  // Ok: the file as read
};

// Reads a whole regular file of at most `maxSize` bytes. Anything that is not a regular file is
// refused before it is opened, so a named pipe or a device node never blocks the program, and a
// file larger than `maxSize` is refused without being read.
ReadResult ReadWholeFile(const QString& path, qint64 maxSize);

} // namespace orv
