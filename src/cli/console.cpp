#include "console.h"

#include "core/filename.h"

#include <cstdio>

namespace orv {

QString Shortened(const QString& value) {
    constexpr qsizetype Longest = 80;
    if (value.size() <= Longest)
        return value;
    return value.left(Longest) + QChar(0x2026);
}

void Console::print(const QString& text) {
    writeOut(ShownFileName(text).toUtf8());
}

void Console::error(const QString& text) {
    writeErr(QByteArrayLiteral("orvctl: ") + ShownFileName(text).toUtf8() + '\n');
}

void Console::printError(const QString& text) {
    writeErr(ShownFileName(text).toUtf8());
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
