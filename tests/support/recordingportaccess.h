// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/portaccess/portaccess.h"

#include <QElapsedTimer>
#include <QList>

#include <functional>

namespace orv::test {

// Port access that writes nothing anywhere: it records every call with a time stamp.
class RecordingPortAccess : public PortAccess {
public:
    struct Write {
        quint32 port;
        quint32 value;
        quint8 size;
        qint64 nsecs; // since the double was created
    };

    RecordingPortAccess() { clock.start(); }

    bool InitializeWinIo() override;
    bool SetPortVal(quint32 port, quint32 value, quint8 size) override;
    void ShutdownWinIo() override { ++shutdownCalls; }

    // How many InitializeWinIo calls fail before one succeeds; -1: all fail.
    int failingInits = 0;
    bool writeResult = true;
    // Called after each recorded write (e.g. to answer like a decoder).
    std::function<void(const Write&)> onWrite;

    int initCalls = 0;
    int shutdownCalls = 0;
    QList<Write> writes;
    QElapsedTimer clock;

    // The values written to one port, in order.
    QList<quint32> valuesTo(quint32 port) const;
    // The bytes written to the keyboard data port as text.
    QByteArray keyboardText() const;
};

} // namespace orv::test
