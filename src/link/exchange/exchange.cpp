// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange.h"

#include <QPointer>

namespace orv {

Exchange::Exchange(const LinkTiming& timing, QObject* parent) : QObject(parent), timing_(timing) {}

Exchange::~Exchange() {
    // The concrete exchange is gone already: no halt(), only what the base holds.
    running_ = false;
    letGoOfLink();
}

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
    letGoOfLink();
}

void Exchange::finish(LinkOutcome outcome, ExchangeResult result, const QStringList& parts) {
    if (!running_)
        return;
    running_ = false;
    halt();
    result.status = OutcomeStatus(outcome);
    Dialogs::Message message = OutcomeMessage(outcome, parts);
    message.details = std::move(result.message.details);
    result.message = std::move(message);
    // The link is held while the outcome is handled (a window shows it first). A receiver that
    // deletes the exchange lets go of it in ~Exchange.
    QPointer<Exchange> self(this);
    emit finished(result);
    if (self)
        letGoOfLink();
}

void Exchange::finishUploaded(UploadRequest request, const UploadBlock& block) {
    ExchangeResult result;
    result.upload = block;
    result.versionText = VersionText(block);
    if (request == UploadRequest::Version)
        finish(LinkOutcome::VersionOk, result, {result.versionText});
    else
        finish(LinkOutcome::UploadOk, std::move(result));
}

void Exchange::letGoOfLink() {
    if (auto letGo = std::exchange(letGo_, nullptr))
        letGo();
}

} // namespace orv
