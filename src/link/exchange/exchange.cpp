// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange.h"

namespace orv {

Exchange::Exchange(const LinkTiming& timing, QObject* parent) : QObject(parent), timing_(timing) {}

void Exchange::start() {
    if (started_)
        return;
    started_ = true;
    running_ = true;
    begin();
}

void Exchange::cancel() {
    if (!running_)
        return;
    running_ = false;
    halt();
}

void Exchange::finish(ExchangeResult result) {
    if (!running_)
        return;
    running_ = false;
    halt();
    emit finished(result);
}

} // namespace orv
