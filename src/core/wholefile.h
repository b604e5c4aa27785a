#pragma once

#include <QByteArray>
#include <QString>

namespace orv {

// Every file the program saves goes through WriteWholeFile, and every file it reads (a
// configuration, the defaults file, a firmware image) through ReadWholeFile.

// Writes a whole file so that it ends up either holding all of `bytes` or as it was before. The
// bytes go to a temporary file beside it (QSaveFile); only once every write has succeeded and the
// data have reached the disk does the temporary file replace the old one. A full disk therefore
// leaves the old file byte for byte as it was. An existing file that is not a regular file (a
// folder, a named pipe, a device) is never replaced.
// False with the reason in `why` when the file could not be written ("No space left on device").
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
};

// Reads a whole regular file of at most `maxSize` bytes. Anything that is not a regular file is
// refused before it is opened, so a named pipe or a device node never blocks the program, and a
// file larger than `maxSize` is refused without being read.
ReadResult ReadWholeFile(const QString& path, qint64 maxSize);

} // namespace orv
