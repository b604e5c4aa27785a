// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "recordingportaccess.h"

namespace orv::test {

bool RecordingPortAccess::InitializeWinIo() {
    ++initCalls;
    return failingInits >= 0 && initCalls > failingInits;
}

bool RecordingPortAccess::SetPortVal(quint32 port, quint32 value, quint8 size) {
    writes.append({port, value, size, clock.nsecsElapsed()});
    if (onWrite)
        onWrite(writes.constLast());
    return writeResult;
}

QList<quint32> RecordingPortAccess::valuesTo(quint32 port) const {
    QList<quint32> out;
    for (const Write& w : writes) {
        if (w.port == port)
            out << w.value;
    }
    return out;
}

QByteArray RecordingPortAccess::keyboardText() const {
    QByteArray out;
    for (quint32 v : valuesTo(KeyboardDataPort))
        out.append(static_cast<char>(v));
    return out;
}

} // namespace orv::test
