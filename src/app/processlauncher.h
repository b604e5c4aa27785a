#pragma once

#include "core/launcher.h"

namespace orv {

// Starts programs with QProcess and opens files with QDesktopServices.
class ProcessLauncher : public Launcher {
public:
    bool startDetached(const QString& program, const QStringList& arguments) override;
    bool openFile(const QString& path) override;
};

} // namespace orv
