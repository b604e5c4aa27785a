// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "decodercore.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace orv::emu {

// A decoder on the far end of a pseudo-terminal. start() opens the pty; the program opens the
// device path (directly, or through a comN link made by createLink()) as its serial port.
// Bytes from the program go to the DecoderCore; its replies go back, late or in pieces when the
// fault says so. Everything runs on the thread's event loop: no threads.
class DecoderEmulator : public QObject {
    Q_OBJECT
public:
    explicit DecoderEmulator(Kind kind = Kind::Mag, QObject* parent = nullptr);
    ~DecoderEmulator() override;

    bool start();
    bool isRunning() const { return master_ >= 0; }
    QString devicePath() const { return device_; }
    QString errorString() const { return error_; }

    // Makes linkPath a symbolic link to the device (replacing an old link); it is removed again
    // when the emulator stops.
    bool createLink(const QString& linkPath);
    // Closes the pty: to the program, its serial port disappears.
    void stop();
    // Sends bytes of the decoder's own accord (its data in RS232 mode), at once.
    void transmit(const QByteArray& bytes) { send(bytes); }
    // Stops taking bytes from the line (and starts again): a decoder whose input is held up.
    // What the program writes meanwhile fills the line's buffers and then waits at its end.
    void setReading(bool reading);

    // The line settings the program last gave its end of the pty. (A Linux pty keeps the baud
    // rate and stop bits; it always reports 8 data bits and no parity.)
    struct Line {
        int baudRate = 0;
        int stopBits = 0;
    };
    Line line() const;

    DecoderCore& core() { return core_; }
    const DecoderCore& core() const { return core_; }

    // Timing of the Late and Split faults.
    int lateMsecs = 4000;
    int chunkSize = 3;
    int chunkGapMsecs = 20;

    // Line pacing: the bytes from the program take the time the line rate gives them
    // (start bit, 8 data bits, the stop bits) before the decoder has them, and a reply takes its
    // own line time before it reaches the program. Without it a pty moves bytes at once.
    bool paceLine = false;
    // The firmware loader listens at 19200 baud only, as a real one does: bytes that reach it
    // while the program's end of the line is at another rate (a port closed, and so put back to
    // its old settings, before they were read) are lost and noted in the loader's errors.
    bool strictLoaderLine = false;
    static constexpr int LoaderBaudRate = 19200;
    // The line time of one byte at the line settings the program gave its end.
    qint64 byteNsecs() const;
    // Nanoseconds since the emulator was made (the time stamps of the core's loader packets).
    qint64 nsecs() const { return clock_.nsecsElapsed(); }

    // Everything received from the program.
    QByteArray received;

signals:
    void frameReceived(const orv::emu::Frame& frame);
    void bytesSent(const QByteArray& bytes);

private:
    void readable();
    void reply(const QByteArray& bytes);
    void send(const QByteArray& bytes);

    DecoderCore core_;
    int master_ = -1;
    int slave_ = -1; // held open so that the master never sees a hang-up between program runs
    QSocketNotifier* notifier_ = nullptr;
    QString device_;
    QString link_;
    QString error_;
    QElapsedTimer clock_;
    qint64 lineFree_ = 0; // when the last byte received has crossed the line (paceLine)
};

} // namespace orv::emu
