// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "console.h"

#include "core/filename.h"
#include <QJsonDocument>

#include <cstdio>
#include <sys/ioctl.h>
#include <unistd.h>

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

QByteArray TerminalSafeJson(const QJsonDocument& document, QJsonDocument::JsonFormat format) {
    const QByteArray json = document.toJson(format);
    QByteArray out;
    out.reserve(json.size());
    // Outside strings JSON holds no such character, so every one of them is inside a string.
    for (qsizetype i = 0; i < json.size(); ++i) {
        const auto b = static_cast<quint8>(json[i]);
        if (b == 0x7F) {
            out += "\\u007f";
        } else if (b == 0xC2 && i + 1 < json.size() && static_cast<quint8>(json[i + 1]) >= 0x80 &&
                   static_cast<quint8>(json[i + 1]) <= 0x9F) {
            out += "\\u00" + QByteArray::number(static_cast<quint8>(json[++i]), 16);
        } else {
            out += json[i];
        }
    }
    return out;
}

void Console::printJson(const QJsonDocument& document) {
    writeOut(TerminalSafeJson(document, QJsonDocument::Indented));
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

int StdConsole::width() const {
    winsize size{};
    if (::isatty(STDOUT_FILENO) && ::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 &&
        size.ws_col > 0)
        return size.ws_col;
    return 80;
}

} // namespace orv
