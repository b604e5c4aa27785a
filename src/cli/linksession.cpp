// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "linksession.h"

#include "commandset.h"
#include "console.h"
#include "decoderrecord.h"
#include "interrupts.h"

#include "core/filename.h"
#include "link/protocol/text.h"
#include "link/serial/serialport.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

std::optional<PortName> ParsePortName(const QString& text, QString* why) {
    static const QRegularExpression Com(QStringLiteral("^\\s*com\\s*([0-9]+)\\s*$"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (text.trimmed().isEmpty()) {
        *why = QStringLiteral("--port needs a device path or \"com N\"");
        return std::nullopt;
    }
    PortName name;
    const QRegularExpressionMatch m = Com.match(text);
    if (m.hasMatch()) {
        bool ok = false;
        const int n = m.captured(1).toInt(&ok);
        if (!ok || n < 1 || n > MaxComPort) {
            *why = QStringLiteral("'%1': \"com N\" takes N from 1 to %2, as the window's ports; "
                                  "give any other port as a device path")
                       .arg(text.trimmed())
                       .arg(MaxComPort);
            return std::nullopt;
        }
        name.comPort = n;
        name.label = QStringLiteral("com %1").arg(name.comPort);
        return name;
    }
    name.label = text;
    // "ttyUSB0" is the device /dev/ttyUSB0, unless a file of that name is in the current
    // folder; a path is taken from the current folder. (The device is given as an absolute
    // path: the serial port would take any other name as one under /dev.)
    const QFileInfo file(text);
    if (text.startsWith(QLatin1Char('/')))
        name.device = text;
    else if (text.contains(QLatin1Char('/')) || file.exists() || file.isSymLink())
        name.device = QDir::cleanPath(file.absoluteFilePath());
    else
        name.device = QStringLiteral("/dev/") + text;
    return name;
}

int OpenRegularFileToWrite(const QString& path, int flags, QString* why) {
    const QByteArray file = FileNameBytes(path);
    auto notRegular = [why](const struct stat& st) {
        *why = S_ISDIR(st.st_mode) ? QStringLiteral("it is a folder")
                                   : QStringLiteral("it is not a regular file");
    };
    struct stat st {};
    if (::stat(file.constData(), &st) == 0 && !S_ISREG(st.st_mode)) {
        notRegular(st);
        return -1;
    }
    // Without O_NONBLOCK a named pipe put there meanwhile would hold the open until a reader
    // comes; the check on what was opened refuses it.
    const int fd = ::open(file.constData(),
                          O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | flags, 0666);
    if (fd < 0) {
        *why = QString::fromLocal8Bit(std::strerror(errno));
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        notRegular(st);
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// ----- FrameLog -----

std::shared_ptr<FrameLog> FrameLog::open(const QString& path, QString* why) {
    const int fd = OpenRegularFileToWrite(path, O_TRUNC, why);
    if (fd < 0)
        return nullptr;
    return std::shared_ptr<FrameLog>(new FrameLog(path, fd));
}

FrameLog::~FrameLog() {
    ::close(fd_);
}

void FrameLog::write(const QString& line) {
    if (!error_.isEmpty())
        return;
    const QByteArray bytes = line.toUtf8() + '\n';
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        error_ = n < 0 ? QString::fromLocal8Bit(std::strerror(errno))
                       : QStringLiteral("nothing could be written");
        // Told on the event loop: the write came from inside a port operation.
        QMetaObject::invokeMethod(this, &FrameLog::failed, Qt::QueuedConnection);
        return;
    }
}

QString FrameLog::errorMessage() const {
    return QStringLiteral("the log %1 could not be written: %2").arg(path_, error_);
}

PortOutcome FailureOutcome(const ExchangeResult& result) {
    PortOutcome o;
    o.status = PortStatus::Failed;
    o.key = LinkStatusKey(result.status);
    o.title = result.message.title;
    o.details = result.message.details;
    // The port's failures in orvctl's words: the window says "COM 2: not available."; the line
    // names the port already, and a device path has no number.
    const QString line = LinkStatusLine(result.status);
    if (!line.isEmpty()) {
        o.text = line + (result.message.details.isEmpty()
                             ? QStringLiteral(".")
                             : QStringLiteral(": ") + result.message.details);
        return o;
    }
    o.text = result.message.text.simplified();
    if (!result.message.details.isEmpty())
        o.text += QStringLiteral(" (") + result.message.details + QLatin1Char(')');
    return o;
}

QJsonObject PortJson(const PortJob& job) {
    const PortOutcome& o = job.outcome();
    QJsonObject p = o.extra;
    p.insert(QStringLiteral("port"), job.name().label);
    p.insert(QStringLiteral("device"),
             job.name().isComPort() ? job.name().resolved : job.name().device);
    p.insert(QStringLiteral("status"), o.key);
    p.insert(QStringLiteral("ok"), o.status == PortStatus::Ok);
    p.insert(QStringLiteral("message"), o.text);
    p.insert(QStringLiteral("title"), o.title);
    p.insert(QStringLiteral("details"), o.details);
    return p;
}

QString ResultLines(const PortJob& job) {
    // The text may hold what the decoder sent (its firmware version).
    QString text = VisibleText(job.name().label + QStringLiteral(": ") + job.outcome().text,
                               VisibleStyle::Terminal) +
                   QLatin1Char('\n');
    for (const QString& more : job.outcome().more)
        text += VisibleText(more, VisibleStyle::Terminal) + QLatin1Char('\n');
    return text;
}

// ----- PortJob -----

PortJob::PortJob(PortName name, std::unique_ptr<SerialPort> port, SerialSettings settings,
                 LinkTiming timing)
    : name_(std::move(name)), port_(std::move(port)), lineSettings_(std::move(settings)),
      timing_(timing) {}

PortJob::~PortJob() {
    if (runningExchange_) {
        runningExchange_->disconnect(this);
        runningExchange_->cancel();
        delete runningExchange_;
    }
}

void PortJob::start() {
    begin();
}

void PortJob::run(std::unique_ptr<Exchange> exchange) {
    runningExchange_ = exchange.release();
    runningExchange_->setParent(this);
    connect(runningExchange_, &Exchange::progress, this, [this](int value, int maximum) {
        progressValue_ = value;
        progressMaximum_ = maximum;
        emit progress(value, maximum);
    });
    connect(runningExchange_, &Exchange::finished, this, [this](const ExchangeResult& result) {
        Exchange* e = std::exchange(runningExchange_, nullptr);
        e->disconnect(this);
        e->deleteLater();
        emit exchangeFinished(e, result);
        finished(result);
    });
    runningExchange_->start();
}

void PortJob::stop(PortOutcome outcome) {
    if (isDone())
        return;
    if (runningExchange_) {
        Exchange* e = std::exchange(runningExchange_, nullptr);
        e->disconnect(this);
        e->cancel();
        e->deleteLater();
    }
    port_->close();
    complete(std::move(outcome));
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
    barOnTerminal_ = ::isatty(STDERR_FILENO) && term != "dumb";
}

LinkSession::~LinkSession() = default;

void LinkSession::add(std::unique_ptr<PortJob> job) {
    QObject::connect(job.get(), &PortJob::done, job.get(), [this, j = job.get()] { jobDone(j); });
    QObject::connect(job.get(), &PortJob::progress, job.get(), [this] { showProgress(); });
    if (options_.record)
        options_.record->watch(*job);
    jobs_.push_back(std::move(job));
    tenthShown_.push_back(-1);
}

void LinkSession::interrupted(int signalNumber) {
    if (!options_.uninterruptible) {
        stopJobs(PortStatus::Interrupted, QStringLiteral("interrupted"),
                 QStringLiteral("interrupted"));
        return;
    }
    if (holdAnnounced_ || jobsRunning_ == 0)
        return;
    holdAnnounced_ = true;
    qint64 left = 0;
    for (const auto& job : jobs_) {
        if (!job->isDone())
            left = std::max(left, job->msecsLeft());
    }
    const QString name = signalNumber == SIGINT    ? QStringLiteral("Ctrl+C (SIGINT)")
                         : signalNumber == SIGTERM ? QStringLiteral("SIGTERM")
                                                   : QStringLiteral("SIGHUP");
    console_.error(QStringLiteral("%1 held: a firmware transfer cannot be interrupted, as the "
                                  "decoder would be left without firmware; it ends in about %2 s, "
                                  "and then orvctl stops")
                       .arg(name)
                       .arg(std::max<qint64>(1, (left + 999) / 1000)));
    console_.flush();
}

void LinkSession::logFailed() {
    if (logFailureShown_)
        return;
    logFailureShown_ = true;
    if (barShown_) {
        console_.printError(QStringLiteral("\r\033[K"));
        barShown_ = false;
    }
    console_.error(options_.log->errorMessage());
    console_.flush();
    if (options_.uninterruptible)
        return; // the transfer runs to its end; the exit status tells of the log
    stopJobs(PortStatus::Trouble, QStringLiteral("file_error"),
             QStringLiteral("stopped: the log could not be written"));
}

void LinkSession::recordFailed() {
    if (std::exchange(recordFailureShown_, true))
        return;
    // The exchanges under way go on: their decoders are being changed already.
    console_.error(options_.record->errorMessage());
    console_.flush();
}

void LinkSession::stopJobs(PortStatus status, const QString& key, const QString& text) {
    PortOutcome o;
    o.status = status;
    o.key = key;
    o.text = text;
    for (auto& job : jobs_)
        job->stop(o);
}

void LinkSession::showProgress() {
    if (!options_.showProgress || options_.json)
        return;
    if (!barOnTerminal_) {
        // Plain lines, one for every tenth of a port's transfer.
        for (size_t i = 0; i < jobs_.size(); ++i) {
            const int value = jobs_[i]->progressValue();
            const int max = jobs_[i]->progressMaximum();
            if (max <= 0 || jobs_[i]->isDone())
                continue;
            const int tenth = static_cast<int>(qint64(value) * 10 / max);
            if (tenth == tenthShown_[i])
                continue;
            tenthShown_[i] = tenth;
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
        const int value = jobs_[i]->progressValue();
        const int max = jobs_[i]->progressMaximum();
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
    --jobsRunning_;
    if (options_.json)
        return;
    if (barShown_) {
        console_.printError(QStringLiteral("\r\033[K"));
        barShown_ = false;
    }
    if (job->outcome().status == PortStatus::Ok && !options_.resultsToErr)
        console_.print(ResultLines(*job));
    else
        console_.printError(ResultLines(*job));
    console_.flush();
    showProgress();
}

int LinkSession::exec() {
    // Watching until the results are out: a signal meanwhile is told in the exit status.
    InterruptWatcher interrupts;
    runJobs(interrupts);
    // A log line written as the last port closed.
    const bool logFailedToo = options_.log && !options_.log->error().isEmpty();
    if (logFailedToo)
        logFailed();
    // A record line that failed as the last job ended.
    const bool recordFailedToo = options_.record && !options_.record->error().isEmpty();
    if (recordFailedToo)
        recordFailed();
    bool failed = false;
    bool trouble = logFailedToo || recordFailedToo;
    for (const auto& job : jobs_) {
        failed = failed || job->outcome().status == PortStatus::Failed;
        trouble = trouble || job->outcome().status == PortStatus::Trouble;
    }
    if (options_.json)
        printJson(interrupts.signalNumber() != 0);
    else if (jobs_.size() > 1)
        printSummary();
    console_.flush();
    if (interrupts.signalNumber())
        return 128 + interrupts.signalNumber();
    if (trouble)
        return ExitTrouble;
    return failed ? int(ExitLinkFailed) : int(ExitOk);
}

void LinkSession::runJobs(const InterruptWatcher& interrupts) {
    QEventLoop loop;
    jobsRunning_ = static_cast<int>(jobs_.size());
    for (auto& job : jobs_)
        QObject::connect(job.get(), &PortJob::done, &loop, [this, &loop] {
            if (jobsRunning_ == 0)
                loop.quit();
        });
    QObject::connect(&interrupts, &InterruptWatcher::interrupted, &loop,
                     [this](int number) { interrupted(number); });
    if (options_.log)
        QObject::connect(options_.log, &FrameLog::failed, &loop, [this] { logFailed(); });
    if (options_.record)
        QObject::connect(options_.record, &DecoderRecord::failed, &loop,
                         [this] { recordFailed(); });
    for (auto& job : jobs_) {
        if (!interrupts.signalNumber())
            job->start();
    }
    if (jobsRunning_ > 0)
        loop.exec();
}

void LinkSession::printJson(bool interrupted) const {
    int ok = 0;
    QJsonArray ports;
    for (const auto& job : jobs_) {
        const PortOutcome& o = job->outcome();
        if (o.status == PortStatus::Ok)
            ++ok;
        ports.append(PortJson(*job));
    }
    const int count = static_cast<int>(jobs_.size());
    const QJsonObject doc{{QStringLiteral("command"), options_.command},
                          {QStringLiteral("ports"), ports},
                          {QStringLiteral("succeeded"), ok},
                          {QStringLiteral("failed"), count - ok},
                          {QStringLiteral("interrupted"), interrupted}};
    console_.printJson(QJsonDocument(doc));
}

void LinkSession::printSummary() const {
    int ok = 0;
    QStringList failedPorts;
    for (const auto& job : jobs_) {
        if (job->outcome().status == PortStatus::Ok)
            ++ok;
        else
            failedPorts << job->name().label;
    }
    const int count = static_cast<int>(jobs_.size());
    QString summary = QStringLiteral("%1 of %2 ports succeeded").arg(ok).arg(count);
    if (!failedPorts.isEmpty())
        summary += QStringLiteral("; not: ") + failedPorts.join(QStringLiteral(", "));
    if (ok == count && !options_.resultsToErr)
        console_.print(VisibleText(summary, VisibleStyle::Terminal) + QLatin1Char('\n'));
    else
        console_.printError(VisibleText(summary, VisibleStyle::Terminal) + QLatin1Char('\n'));
}

} // namespace orv
