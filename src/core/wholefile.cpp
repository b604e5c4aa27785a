#include "wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace orv {

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* why) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *why = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

bool ReadWholeFile(const QString& path, qint64 maxSize, QByteArray* bytes, QString* why) {
    const QFileInfo info(path);
    if (!info.exists()) {
        *why = QStringLiteral("No such file");
        return false;
    }
    if (!info.isFile()) {
        *why = info.isDir() ? QStringLiteral("It is a folder")
                            : QStringLiteral("It is not a regular file");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = file.errorString();
        return false;
    }
    *bytes = file.read(maxSize + 1);
    if (file.error() != QFileDevice::NoError) {
        *why = file.errorString();
        return false;
    }
    if (bytes->size() > maxSize) {
        *why = QStringLiteral("It is far too large");
        return false;
    }
    return true;
}

} // namespace orv
