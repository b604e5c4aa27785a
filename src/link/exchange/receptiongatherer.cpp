// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "receptiongatherer.h"

namespace orv {

ReceptionGatherer::ReceptionGatherer(int waitMsecs, VisibleStyle style, qsizetype keptChars,
                                     QObject* parent)
    : QObject(parent), style_(style), keptChars_(keptChars) {
    wait_.setSingleShot(true);
    wait_.setTimerType(Qt::PreciseTimer);
    wait_.setInterval(waitMsecs);
    connect(&wait_, &QTimer::timeout, this, &ReceptionGatherer::flush);
}

void ReceptionGatherer::add(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return;
    datum_.append(bytes);
    // Every byte shows as one character at least, so the last keptChars bytes give all the
    // characters kept. The older ones go in one move once as many again have come.
    if (keptChars_ != Unbounded && datum_.size() > 2 * keptChars_)
        datum_.remove(0, datum_.size() - keptChars_);
    if (!wait_.isActive())
        wait_.start();
}

void ReceptionGatherer::flush() {
    wait_.stop();
    if (datum_.isEmpty())
        return;
    const QByteArray bytes = std::exchange(datum_, {});
    if (keptChars_ == Unbounded) {
        emit gathered(VisibleText(bytes, style_));
        return;
    }
    const QByteArrayView kept = QByteArrayView(bytes).last(qMin(bytes.size(), keptChars_));
    emit gathered(VisibleText(kept, style_).right(keptChars_));
}

void ReceptionGatherer::clear() {
    wait_.stop();
    datum_.clear();
}

} // namespace orv
