#include "linksession.h"

#include "commandset.h"
#include "console.h"
#include "interrupts.h"

#include "link/serial/serialport.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include <cstdio>
#include <unistd.h>

namespace orv {

std::optional<PortName> ParsePortName(const QString& text, QString* why) {
    static const QRegularExpression Com(QStringLiteral("^\\s*com\\s*([1-9][0-9]?)\\s*$"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (text.trimmed().isEmpty()) {
        *why = QStringLiteral("--port needs a device path or \"com N\"");
        return std::nullopt;
    }
    PortName name;
    const QRegularExpressionMatch m = Com.match(text);
    if (m.hasMatch()) {
        name.comPort = m.captured(1).toInt();
        name.label = QStringLiteral("com %1").arg(name.comPort);
    } else {
        name.device = text;
        name.label = text;
    }
    return name;
}

QString StatusKey(LinkStatus status) {
    switch (status) {
    case LinkStatus::Ok:
        return QStringLiteral("ok");
    case LinkStatus::TimedOut:
        return QStringLiteral("timed_out");
    case LinkStatus::Refused:
        return QStringLiteral("refused");
    case LinkStatus::PortUnavailable:
        return QStringLiteral("port_unavailable");
    case LinkStatus::PortLost:
        return QStringLiteral("port_lost");
    }
    return QStringLiteral("failed");
}

PortOutcome FailureOutcome(const ExchangeResult& result) {
    PortOutcome o;
    o.status = PortStatus::Failed;
    o.key = StatusKey(result.status);
    o.title = result.message.title;
    o.details = result.message.details;
    switch (result.status) {
    case LinkStatus::PortUnavailable:
    case LinkStatus::PortLost:
        // The window says "COM 2: not available."; the line names the port already, and a
        // device path has no number.
        o.text = result.status == LinkStatus::PortLost ? QStringLiteral("not available (lost)")
                                                       : QStringLiteral("not available");
        o.text += result.message.details.isEmpty() ? QStringLiteral(".")
                                                   : QStringLiteral(": ") + result.message.details;
        break;
    default:
        o.text = result.message.text.simplified();
        if (!result.message.details.isEmpty())
            o.text += QStringLiteral(" (") + result.message.details + QLatin1Char(')');
        break;
    }
    return o;
}

// ----- PortJob -----

PortJob::PortJob(PortName name, std::unique_ptr<SerialPort> port, QString settings,
                 LinkTiming timing)
    : name_(std::move(name)), port_(std::move(port)), settings_(std::move(settings)),
      timing_(timing) {}

PortJob::~PortJob() {
    if (exchange_) {
        exchange_->disconnect(this);
        exchange_->cancel();
        delete exchange_;
    }
}

void PortJob::start() {
    begin();
}

void PortJob::run(std::unique_ptr<Exchange> exchange) {
    exchange_ = exchange.release();
    exchange_->setParent(this);
    connect(exchange_, &Exchange::progress, this, &PortJob::progress);
    connect(exchange_, &Exchange::finished, this, [this](const ExchangeResult& result) {
        Exchange* e = std::exchange(exchange_, nullptr);
        e->disconnect(this);
        e->deleteLater();
        finished(result);
    });
    exchange_->start();
}

void PortJob::interrupt() {
    if (isDone())
        return;
    if (exchange_) {
        Exchange* e = std::exchange(exchange_, nullptr);
        e->disconnect(this);
        e->cancel();
        e->deleteLater();
    }
    port_->close();
    PortOutcome o;
    o.status = PortStatus::Interrupted;
    o.key = QStringLiteral("interrupted");
    o.text = QStringLiteral("interrupted");
    complete(o);
}

void PortJob::complete(PortOutcome outcome) {
    if (isDone())
        return;
    outcome_ = std::move(outcome);
    emit done();
}

// ----- LinkSession -----

LinkSession::LinkSession(Console& console, Options options)
    : console_(console), options_(std::move(options)) {
    const QByteArray term = qgetenv("TERM");
    terminal_ = ::isatty(STDERR_FILENO) && term != "dumb";
}

LinkSession::~LinkSession() = default;

void LinkSession::add(std::unique_ptr<PortJob> job) {
    const int index = static_cast<int>(jobs_.size());
    QObject::connect(job.get(), &PortJob::done, job.get(), [this, j = job.get()] { jobDone(j); });
    QObject::connect(job.get(), &PortJob::progress, job.get(), [this, index](int value, int max) {
        progress_[index] = {value, max};
        showProgress();
    });
    jobs_.push_back(std::move(job));
    progress_.emplace_back(0, 0);
    lastTenth_.push_back(-1);
}

QString LinkSession::line(const PortJob& job) const {
    return job.name().label + QStringLiteral(": ") + job.outcome().text;
}

void LinkSession::showProgress() {
    if (!options_.showProgress || options_.json)
        return;
    if (!terminal_) {
        // Plain lines, one for every tenth of a port's transfer.
        for (size_t i = 0; i < jobs_.size(); ++i) {
            const auto [value, max] = progress_[i];
            if (max <= 0 || jobs_[i]->isDone())
                continue;
            const int tenth = static_cast<int>(qint64(value) * 10 / max);
            if (tenth == lastTenth_[i])
                continue;
            lastTenth_[i] = tenth;
            console_.printError(QStringLiteral("%1: %2% (%3/%4)\n")
                                    .arg(jobs_[i]->name().label)
                                    .arg(qint64(value) * 100 / max)
                                    .arg(value)
                                    .arg(max));
        }
        console_.flush();
        return;
    }
    qint64 sum = 0;
    qint64 total = 0;
    QStringList parts;
    for (size_t i = 0; i < jobs_.size(); ++i) {
        const auto [value, max] = progress_[i];
        if (jobs_[i]->isDone() || max <= 0)
            continue;
        sum += value;
        total += max;
        if (jobs_.size() > 1)
            parts << QStringLiteral("%1 %2%")
                         .arg(jobs_[i]->name().label)
                         .arg(qint64(value) * 100 / max);
    }
    if (total <= 0)
        return;
    constexpr int Width = 30;
    const int filled = static_cast<int>(sum * Width / total);
    QString bar = QStringLiteral("\r\033[K[") + QString(filled, QLatin1Char('#')) +
                  QString(Width - filled, QLatin1Char(' ')) +
                  QStringLiteral("] %1%").arg(sum * 100 / total, 3);
    if (jobs_.size() == 1)
        bar += QStringLiteral(" %1/%2").arg(sum).arg(total);
    else
        bar += QStringLiteral("  ") + parts.join(QStringLiteral("  "));
    console_.printError(bar);
    console_.flush();
    barShown_ = true;
}

void LinkSession::jobDone(PortJob* job) {
    --remaining_;
    if (options_.json)
        return;
    if (barShown_) {
        console_.printError(QStringLiteral("\r\033[K"));
        barShown_ = false;
    }
    const PortOutcome& o = job->outcome();
    if (o.status == PortStatus::Ok && !options_.resultsToErr)
        console_.print(line(*job) + QLatin1Char('\n'));
    else
        console_.printError(line(*job) + QLatin1Char('\n'));
    console_.flush();
    showProgress();
}

int LinkSession::exec() {
    QEventLoop loop;
    InterruptWatcher interrupts;
    remaining_ = static_cast<int>(jobs_.size());
    for (auto& job : jobs_)
        QObject::connect(job.get(), &PortJob::done, &loop, [this, &loop] {
            if (remaining_ == 0)
                loop.quit();
        });
    QObject::connect(&interrupts, &InterruptWatcher::interrupted, &loop, [this] {
        for (auto& job : jobs_)
            job->interrupt();
    });
    for (auto& job : jobs_) {
        if (!interrupts.signalNumber())
            job->start();
    }
    if (remaining_ > 0)
        loop.exec();

    int ok = 0;
    bool failed = false;
    bool trouble = false;
    QStringList failedPorts;
    QJsonArray ports;
    for (const auto& job : jobs_) {
        const PortOutcome& o = job->outcome();
        switch (o.status) {
        case PortStatus::Ok:
            ++ok;
            break;
        case PortStatus::Failed:
            failed = true;
            break;
        case PortStatus::Trouble:
            trouble = true;
            break;
        case PortStatus::Interrupted:
            break;
        }
        if (o.status != PortStatus::Ok)
            failedPorts << job->name().label;
        if (options_.json) {
            QJsonObject p = o.extra;
            p.insert(QStringLiteral("port"), job->name().label);
            p.insert(QStringLiteral("device"),
                     job->name().isComPort() ? job->name().resolved : job->name().device);
            p.insert(QStringLiteral("status"), o.key);
            p.insert(QStringLiteral("ok"), o.status == PortStatus::Ok);
            p.insert(QStringLiteral("message"), o.text);
            p.insert(QStringLiteral("title"), o.title);
            p.insert(QStringLiteral("details"), o.details);
            ports.append(p);
        }
    }
    const int count = static_cast<int>(jobs_.size());
    if (options_.json) {
        const QJsonObject doc{{QStringLiteral("command"), options_.command},
                              {QStringLiteral("ports"), ports},
                              {QStringLiteral("succeeded"), ok},
                              {QStringLiteral("failed"), count - ok},
                              {QStringLiteral("interrupted"), interrupts.signalNumber() != 0}};
        console_.writeOut(QJsonDocument(doc).toJson(QJsonDocument::Indented));
    } else if (count > 1) {
        QString summary = QStringLiteral("%1 of %2 ports succeeded").arg(ok).arg(count);
        if (!failedPorts.isEmpty())
            summary += QStringLiteral("; not: ") + failedPorts.join(QStringLiteral(", "));
        if (ok == count && !options_.resultsToErr)
            console_.print(summary + QLatin1Char('\n'));
        else
            console_.printError(summary + QLatin1Char('\n'));
    }
    console_.flush();
    if (interrupts.signalNumber())
        return 128 + interrupts.signalNumber();
    if (trouble)
        return ExitTrouble;
    return failed ? int(ExitLinkFailed) : int(ExitOk);
}

} // namespace orv
