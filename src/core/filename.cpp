// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "filename.h"

#include <QDir>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>

#include <vector>
#endif

namespace orv {

namespace {

constexpr char16_t EscapeBase = 0xDC00; // + the byte, 0x80..0xFF

// The byte that the character at `i` stands for, or -1. Only a lone low surrogate stands for a
// byte: after a high one it completes a pair.
int EscapedByte(const QString& name, qsizetype i) {
    const char16_t c = name[i].unicode();
    if (c < EscapeBase + 0x80 || c > EscapeBase + 0xFF || (i > 0 && name[i - 1].isHighSurrogate()))
        return -1;
    return c - EscapeBase;
}

// The length of the well-formed UTF-8 sequence at `i` (RFC 3629: no overlong forms, no
// surrogates, nothing above U+10FFFF), or 0 when there is none.
int SequenceLength(const QByteArray& s, qsizetype i) {
    const auto at = [&s](qsizetype k) {
        return static_cast<unsigned char>(s[k]);
    };
    const unsigned char b = at(i);
    if (b < 0x80)
        return 1;
    int n = 0;
    unsigned char lo = 0x80, hi = 0xBF; // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0)
            lo = 0xA0;
        if (b == 0xED)
            hi = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0)
            lo = 0x90;
        if (b == 0xF4)
            hi = 0x8F;
    } else {
        return 0;
    }
    if (i + n > s.size() || at(i + 1) < lo || at(i + 1) > hi)
        return 0;
    for (int k = 2; k < n; ++k) {
        if (at(i + k) < 0x80 || at(i + k) > 0xBF)
            return 0;
    }
    return n;
}

} // namespace

QString FileNameFromBytes(const QByteArray& bytes) {
    QString name;
    name.reserve(bytes.size());
    qsizetype run = 0; // start of the UTF-8 run not yet decoded
    qsizetype i = 0;
    while (i < bytes.size()) {
        if (const int n = SequenceLength(bytes, i)) {
            i += n;
            continue;
        }
        name += QString::fromUtf8(bytes.constData() + run, i - run);
        name += QChar(char16_t(EscapeBase + static_cast<unsigned char>(bytes[i])));
        run = ++i;
    }
    name += QString::fromUtf8(bytes.constData() + run, i - run);
    return name;
}

QStringList ArgumentsFromBytes(int argc, const char* const* argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << FileNameFromBytes(QByteArray(argv[i]));
    return arguments;
}

QByteArray FileNameBytes(const QString& name) {
    QByteArray bytes;
    qsizetype run = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const int byte = EscapedByte(name, i);
        if (byte < 0)
            continue;
        bytes += QStringView(name).mid(run, i - run).toUtf8();
        bytes += static_cast<char>(byte);
        run = i + 1;
    }
    bytes += QStringView(name).mid(run).toUtf8();
    return bytes;
}

QString ShownFileName(const QString& name) {
    QString shown;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const int byte = EscapedByte(name, i);
        if (byte < 0)
            shown += name[i];
        else
            shown += QStringLiteral("\\x") + QString::number(byte, 16).toUpper();
    }
    return shown;
}

QString AbsoluteFileName(const QString& name) {
    if (name.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(name);
    QString folder;
#ifdef Q_OS_UNIX
    // The current folder's own bytes: QDir::currentPath() would decode them as UTF-8.
    std::vector<char> buffer(4096);
    const char* cwd = nullptr;
    while (!(cwd = ::getcwd(buffer.data(), buffer.size())) && errno == ERANGE)
        buffer.resize(buffer.size() * 2);
    folder = cwd ? FileNameFromBytes(QByteArray(cwd)) : QDir::currentPath();
#else
    folder = QDir::currentPath();
#endif
    return QDir::cleanPath(folder + QLatin1Char('/') + name);
}

} // namespace orv
