#include "processlauncher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace orv {

bool ProcessLauncher::startDetached(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

bool ProcessLauncher::openFile(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace orv
