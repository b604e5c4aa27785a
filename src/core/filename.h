// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orv {

// File names are bytes. Most are UTF-8, but a name may hold any byte but NUL and '/', and Qt's
// UTF-8 decoding would turn such bytes into U+FFFD, naming another file. A name taken from the
// command line is therefore decoded with FileNameFromBytes, which keeps every byte that is not
// part of UTF-8 as a lone surrogate U+DC80..U+DCFF; every file function of the program opens a
// name through FileNameBytes, which gives those bytes back. For a name that is UTF-8 (every name
// a file dialog gives) both are plain UTF-8 conversions.

QString FileNameFromBytes(const QByteArray& bytes);
QByteArray FileNameBytes(const QString& name);

// The words of a command line, argv[0] included, each as FileNameFromBytes decodes it: how every
// program of the project reads its command line, so that the file names on it are their bytes.
QStringList ArgumentsFromBytes(int argc, const char* const* argv);

// The name for a message: each byte that is not UTF-8 written as \xFF.
QString ShownFileName(const QString& name);

// The name as an absolute path, taken from the current folder when it is relative, with "." and
// ".." removed as QFileInfo::absoluteFilePath does, and every byte kept.
QString AbsoluteFileName(const QString& name);

} // namespace orv
