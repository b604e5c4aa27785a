#pragma once

#include <QByteArray>
#include <QString>

namespace orv {

// Writes a whole file through QSaveFile, so that a failed write leaves the old file as it was.
// False with the reason in `why` when the file could not be written.
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* why);

// Reads a whole regular file of at most maxSize bytes into `bytes`. False with the reason in
// `why` when the path is no regular file (a named pipe or a device would block or never end),
// cannot be read, or is larger.
bool ReadWholeFile(const QString& path, qint64 maxSize, QByteArray* bytes, QString* why);

} // namespace orv
