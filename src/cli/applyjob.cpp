// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "applyjob.h"

#include "decoderrecord.h"
#include "linksetup.h"
#include "texttable.h"

#include "link/exchange/configexchanges.h"

namespace orv {

ApplyJob::ApplyJob(PortName name, std::unique_ptr<SerialPort> port, SerialSettings settings,
                   LinkTiming timing, ConfigFile file, QString fileName, bool save, bool check)
    : PortJob(std::move(name), std::move(port), std::move(settings), timing),
      file_(std::move(file)), fileName_(std::move(fileName)), save_(save), check_(check) {}

QString ApplyJob::stepText() const {
    switch (step_) {
    case Step::Reading:
        return QStringLiteral("reading the settings");
    case Step::Sending:
        return QStringLiteral("sending %1").arg(fileName_);
    case Step::Verifying:
        return QStringLiteral("verifying");
    }
    return {};
}

void ApplyJob::begin() {
    run(std::make_unique<UploadExchange>(target(), UploadRequest::Configuration, timing()));
}

void ApplyJob::next(Step step) {
    step_ = step;
    emit stepChanged();
    // The exchange before lets go of the port once its `finished` has been handled.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isDone()) // interrupted meanwhile
                return;
            if (step_ == Step::Sending)
                run(std::make_unique<DownloadExchange>(target(), file_.contents.data, save_,
                                                       timing()));
            else
                run(std::make_unique<UploadExchange>(target(), UploadRequest::Configuration,
                                                     timing()));
        },
        Qt::QueuedConnection);
}

QString ApplyJob::decoderWords() const {
    if (!before_)
        return {};
    return (before_->region == Region::Bar ? QStringLiteral("bar decoder ")
                                           : QStringLiteral("magnetic reader ")) +
           VersionLine(*before_);
}

PortOutcome ApplyJob::makeOutcome(const QString& key, PortStatus status, const QString& what,
                                  const std::vector<SettingChange>& changes) const {
    PortOutcome o;
    o.status = status;
    o.key = key;
    o.text = before_ ? decoderWords() + QStringLiteral(": ") + what : what;
    o.extra.insert(QStringLiteral("decoder"),
                   before_ ? QJsonValue(RegionName(before_->region)) : QJsonValue());
    o.extra.insert(QStringLiteral("version"),
                   before_ ? QJsonValue(VersionLine(*before_)) : QJsonValue());
    o.extra.insert(QStringLiteral("changes"), DiffJson(changes));
    TextTable table;
    for (const SettingChange& c : changes)
        table.row({QString::fromLatin1(c.setting->key), c.setting->displayLabel(), ChangeText(c)});
    o.more = table.render().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return o;
}

void ApplyJob::finished(const ExchangeResult& result) {
    if (!result.ok()) {
        const PortOutcome failure = FailureOutcome(result);
        PortOutcome o =
            makeOutcome(ApplyFailed, PortStatus::Failed,
                        QStringLiteral("%1 failed: %2").arg(stepText(), failure.text), {});
        o.title = failure.title;
        o.details = failure.details;
        o.extra.insert(QStringLiteral("reason"), failure.key);
        complete(o);
        return;
    }
    switch (step_) {
    case Step::Reading: {
        before_ = result.upload;
        // Every setting of the decoder's region, as the decoder holds it -> as the file has it.
        const auto changes = Compare(WithBlock(file_, *before_), file_);
        if (changes.empty())
            complete(makeOutcome(Unchanged, PortStatus::Ok, Unchanged, {}));
        else if (check_)
            complete(makeOutcome(WouldChange, PortStatus::Ok,
                                 QStringLiteral("would change %1 setting%2")
                                     .arg(changes.size())
                                     .arg(changes.size() == 1 ? "" : "s"),
                                 changes));
        else
            next(Step::Sending);
        return;
    }
    case Step::Sending:
        next(Step::Verifying);
        return;
    case Step::Verifying: {
        const auto changes = Compare(WithBlock(file_, *before_), file_);
        const auto left = Compare(WithBlock(file_, *result.upload), file_);
        if (left.empty() && result.upload->region == before_->region) {
            complete(makeOutcome(Changed, PortStatus::Ok,
                                 QStringLiteral("changed and verified, %1 setting%2")
                                     .arg(changes.size())
                                     .arg(changes.size() == 1 ? "" : "s"),
                                 changes));
            return;
        }
        // The decoder did not take the file: what it holds now -> what the file has.
        PortOutcome o = makeOutcome(
            ApplyFailed, PortStatus::Failed,
            QStringLiteral("verify failed: after the download the decoder differs from %1 in %2 "
                           "setting%3")
                .arg(fileName_)
                .arg(left.size())
                .arg(left.size() == 1 ? "" : "s"),
            left);
        o.extra.insert(QStringLiteral("reason"), QStringLiteral("verify_failed"));
        complete(o);
        return;
    }
    }
}

} // namespace orv
