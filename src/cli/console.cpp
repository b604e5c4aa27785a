#include "console.h"

#include <cstdio>

namespace orv {

void Console::error(const QString& text) {
    writeErr(QByteArrayLiteral("orvctl: ") + text.toUtf8() + '\n');
}

void StdConsole::writeOut(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
}

void StdConsole::writeErr(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}

void StdConsole::flush() {
    std::fflush(stdout);
    std::fflush(stderr);
}

} // namespace orv
