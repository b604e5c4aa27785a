#include "wholefile.h"

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

} // namespace orv
