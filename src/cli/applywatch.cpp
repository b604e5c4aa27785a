// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "applywatch.h"

#include "applyjob.h"
#include "commandset.h"
#include "console.h"
#include "decoderrecord.h"
#include "devicewatch.h"
#include "interrupts.h"

#include "link/protocol/text.h"

#include <QEventLoop>

#include <unistd.h>

namespace orv {

WatchSession::WatchSession(Console& console, DeviceWatch& watch, JobMaker makeJob, Options options)
    : console_(console), watch_(watch), makeJob_(std::move(makeJob)), options_(options) {
    terminal_ = ::isatty(STDERR_FILENO) && qgetenv("TERM") != "dumb";
    connect(&watch_, &DeviceWatch::appeared, this, &WatchSession::appeared);
    connect(&watch_, &DeviceWatch::vanished, this, [this](const QString& path) {
        print(VisibleText(path, VisibleStyle::Terminal) + QStringLiteral(": unplugged\n"), true);
    });
}

WatchSession::~WatchSession() = default;

int WatchSession::exec() {
    QEventLoop loop;
    loop_ = &loop;
    InterruptWatcher interrupts;
    connect(&interrupts, &InterruptWatcher::interrupted, this, &WatchSession::interrupted);
    if (options_.log)
        connect(options_.log, &FrameLog::failed, this,
                [this] { trouble(options_.log->errorMessage(), true); });
    if (options_.record)
        connect(options_.record, &DecoderRecord::failed, this,
                [this] { trouble(options_.record->errorMessage(), false); });
    watch_.start();
    console_.printError(QStringLiteral("watching %1 for decoders (%2 there now left alone); "
                                       "Ctrl+C ends.\n")
                            .arg(watch_.description())
                            .arg(watch_.initialCount()));
    console_.flush();
    drawBoard();
    loop.exec();
    loop_ = nullptr;
    eraseBoard();

    QString summary = countText();
    if (!failedPorts_.isEmpty())
        summary += QStringLiteral("; not: ") + failedPorts_.join(QStringLiteral(", "));
    summary = VisibleText(summary, VisibleStyle::Terminal) + QLatin1Char('\n');
    if (failed_ == 0 && !trouble_ && !options_.json)
        console_.print(summary);
    else
        console_.printError(summary);
    console_.flush();
    if (cancelled_)
        return 128 + signal_;
    if (trouble_)
        return ExitTrouble;
    if (failed_ > 0)
        return ExitLinkFailed;
    return options_.check && wouldChange_ > 0 ? ExitWouldChange : ExitOk;
}

void WatchSession::appeared(const QString& path) {
    if (!watching_)
        return;
    // Unplugged and plugged again while its job still runs: served again once that has ended.
    if (running_.count(path)) {
        again_.insert(path);
        return;
    }
    start(path);
}

void WatchSession::start(const QString& path) {
    ApplyJob* job = makeJob_(path).release();
    job->setParent(this); // deleted once done, or with the session
    running_[path] = job;
    connect(job, &PortJob::done, this, [this, job] { jobDone(job); });
    connect(job, &ApplyJob::stepChanged, this, &WatchSession::drawBoard);
    if (options_.record)
        options_.record->watch(*job);
    job->start();
    drawBoard();
}

void WatchSession::jobDone(ApplyJob* job) {
    QString path;
    for (const auto& [p, j] : running_) {
        if (j == job)
            path = p;
    }
    running_.erase(path);
    job->deleteLater();
    ++served_;
    const PortOutcome& o = job->outcome();
    const bool ok = o.status == PortStatus::Ok;
    if (o.key == Changed) {
        ++changed_;
    } else if (o.key == Unchanged) {
        ++unchanged_;
    } else if (o.key == WouldChange) {
        ++wouldChange_;
    } else {
        ++failed_;
        failedPorts_ << job->name().label;
    }
    if (options_.json) {
        QJsonObject line = PortJson(*job);
        line.insert(QStringLiteral("count"), served_);
        eraseBoard();
        console_.writeOut(TerminalSafeJson(QJsonDocument(line), QJsonDocument::Compact) + '\n');
        console_.flush();
        drawBoard();
    } else {
        print(QStringLiteral("#%1 ").arg(served_) + ResultLines(*job), !ok);
    }
    if (again_.remove(path) && watching_)
        start(path);
    finishIfIdle();
}

void WatchSession::interrupted(int signalNumber) {
    if (signal_ == 0) {
        signal_ = signalNumber;
        watching_ = false;
        watch_.stop();
        again_.clear();
        if (!running_.empty())
            print(QStringLiteral("stopping: waiting for the %1 decoder(s) under way (Ctrl+C again "
                                 "ends them at once)\n")
                      .arg(running_.size()),
                  true);
        finishIfIdle();
        return;
    }
    if (running_.empty() || cancelled_)
        return;
    cancelled_ = true;
    stopJobs(PortStatus::Interrupted, QStringLiteral("interrupted"), QStringLiteral("interrupted"));
}

void WatchSession::stopJobs(PortStatus status, const QString& key, const QString& text) {
    PortOutcome o;
    o.status = status;
    o.key = key;
    o.text = text;
    std::vector<ApplyJob*> jobs; // each leaves running_ as it stops
    for (const auto& [path, job] : running_)
        jobs.push_back(job);
    for (ApplyJob* job : jobs)
        job->stop(o);
}

void WatchSession::trouble(const QString& message, bool stopRunning) {
    if (std::exchange(trouble_, true))
        return;
    eraseBoard();
    console_.error(message);
    console_.flush();
    watching_ = false;
    watch_.stop();
    again_.clear();
    if (stopRunning)
        stopJobs(PortStatus::Trouble, QStringLiteral("file_error"),
                 QStringLiteral("stopped: the log could not be written"));
    drawBoard();
    finishIfIdle();
}

void WatchSession::finishIfIdle() {
    if (!watching_ && running_.empty() && loop_)
        loop_->quit();
}

void WatchSession::print(const QString& text, bool toErr) {
    eraseBoard();
    if (toErr)
        console_.printError(text);
    else
        console_.print(text);
    console_.flush();
    drawBoard();
}

QString WatchSession::countText() const {
    QStringList parts;
    if (changed_ || !options_.check)
        parts << QStringLiteral("%1 changed").arg(changed_);
    if (options_.check)
        parts << QStringLiteral("%1 would change").arg(wouldChange_);
    parts << QStringLiteral("%1 unchanged").arg(unchanged_);
    parts << QStringLiteral("%1 failed").arg(failed_);
    return QStringLiteral("%1 decoder%2: ").arg(served_).arg(served_ == 1 ? "" : "s") +
           parts.join(QStringLiteral(", "));
}

void WatchSession::eraseBoard() {
    if (boardLines_ == 0)
        return;
    QString erase = QStringLiteral("\r");
    if (boardLines_ > 1)
        erase += QStringLiteral("\033[%1A").arg(boardLines_ - 1);
    console_.printError(erase + QStringLiteral("\033[J"));
    boardLines_ = 0;
}

void WatchSession::drawBoard() {
    if (!terminal_)
        return;
    eraseBoard();
    QStringList lines;
    for (const auto& [path, job] : running_)
        lines << job->name().label + QStringLiteral(": ") + job->stepText() + QChar(0x2026);
    QString count = countText();
    if (!running_.empty())
        count += QStringLiteral("; %1 in progress").arg(running_.size());
    if (!watching_)
        count += QStringLiteral("; stopping");
    lines << count;
    // A line that wraps would take two rows: each is cut to the width.
    const int width = std::max(20, console_.width() - 1);
    for (QString& l : lines)
        l = VisibleText(l.left(width), VisibleStyle::Terminal).left(width);
    console_.printError(lines.join(QLatin1Char('\n')));
    console_.flush();
    boardLines_ = int(lines.size());
}

} // namespace orv
