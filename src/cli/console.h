// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <QJsonDocument>

namespace orv {

// JSON text in which, besides the escapes JSON needs, DEL and the C1 controls (U+0080..U+009F)
// are written as \u escapes, so that no byte a terminal acts on is in it; a reader gets the
// same strings.
QByteArray TerminalSafeJson(const QJsonDocument& document, QJsonDocument::JsonFormat format);

// A value for a message that echoes it: at most 80 characters, the rest cut off with "…", so that
// a refused value of 128 KiB does not flood the terminal.
QString Shortened(const QString& value);

// Where a command-line command writes: its output and its messages. The program writes to the
// standard streams; tests read what a command wrote from a buffer. Text is written in UTF-8, with
// the bytes of a file name that are not UTF-8 as \xFF (see core/filename.h).
class Console {
public:
    virtual ~Console() = default;

    // Text in UTF-8 on the output stream.
    void print(const QString& text);
    // A message on the error stream: "orvctl: " + text, and a line end.
    void error(const QString& text);
    // Text on the error stream as it stands (usage texts).
    void printError(const QString& text);
    // A JSON document on the output stream, indented, as TerminalSafeJson writes it.
    void printJson(const QJsonDocument& document);

    // The width help texts are wrapped to: the terminal's, 80 when the output is no terminal.
    virtual int width() const { return 80; }

    virtual void writeOut(const QByteArray& bytes) = 0;
    virtual void writeErr(const QByteArray& bytes) = 0;
    // Sends what was written on its way (for output that comes bit by bit).
    virtual void flush() {}
};

// The standard output and error streams.
class StdConsole : public Console {
public:
    void writeOut(const QByteArray& bytes) override;
    void writeErr(const QByteArray& bytes) override;
    void flush() override;
    int width() const override;
};

// Keeps what was written.
class BufferConsole : public Console {
public:
    QByteArray out;
    QByteArray err;
    void writeOut(const QByteArray& bytes) override { out += bytes; }
    void writeErr(const QByteArray& bytes) override { err += bytes; }
};

} // namespace orv
