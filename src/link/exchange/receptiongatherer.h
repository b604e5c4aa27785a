// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/protocol/text.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

namespace orv {

// Gathers what a decoder sends on its own into data to show: the first bytes of a datum start
// a wait (the link timing's receptionWaitMsecs), and what has arrived by its end is one datum,
// handed on as its visible text (VisibleText in the style given). With a bound only the last
// `keptChars` characters of a datum are kept, and the bytes behind them, so that a decoder
// sending without end costs the same memory for every datum.
class ReceptionGatherer : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype Unbounded = -1;

    ReceptionGatherer(int waitMsecs, VisibleStyle style, qsizetype keptChars = Unbounded,
                      QObject* parent = nullptr);

    void setWaitMsecs(int msecs) { wait_.setInterval(msecs); }

    // Received bytes: the first of a datum start the wait, later ones join it.
    void add(QByteArrayView bytes);
    // Ends the wait at once: the datum gathered so far, if any, is handed on now.
    void flush();
    // Ends the wait and drops what was gathered.
    void clear();

signals:
    // A datum as visible text.
    void gathered(const QString& text);

private:
    VisibleStyle style_;
    qsizetype keptChars_;
    QTimer wait_;
    QByteArray datum_; // the bytes received since the wait started
};

} // namespace orv
