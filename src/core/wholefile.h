#pragma once

#include <QByteArray>
#include <QString>

namespace orv {

// Writes a whole file through QSaveFile, so that a failed write leaves the old file as it was.
// False with the reason in `why` when the file could not be written.
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* why);

} // namespace orv
