// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linksession.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

class QEventLoop;

namespace orv {

class ApplyJob;
class Console;
class DecoderRecord;
class DeviceWatch;

// apply --watch: a production line. Every decoder that appears is brought to the file at once,
// side by side with those under way; each gets a line when it is done (with a running count),
// or a JSON line with --json. On a terminal a live status line stands for every decoder in
// progress. A signal (Ctrl+C, SIGTERM, SIGHUP) stops the watch: the exchanges under way end
// as they would, then a summary follows; a second signal ends them at once.
class WatchSession : public QObject {
    Q_OBJECT
public:
    struct Options {
        bool json = false;
        bool check = false;
        FrameLog* log = nullptr;
        DecoderRecord* record = nullptr;
    };
    using JobMaker = std::function<std::unique_ptr<ApplyJob>(const QString& path)>;

    WatchSession(Console& console, DeviceWatch& watch, JobMaker makeJob, Options options);
    ~WatchSession() override;

    // Watches until stopped; returns the exit code: 0 when every decoder served is as the file
    // says, 1 when one failed, 2 when the log or the record could not be written, 3 (--check)
    // when one would change, 128 + the signal's number when a second signal ended exchanges.
    int exec();

private:
    void appeared(const QString& path);
    void start(const QString& path);
    void jobDone(ApplyJob* job);
    void interrupted(int signalNumber);
    // The log or the record failed: no more decoders are taken; with `stopRunning` the
    // exchanges under way end too.
    void trouble(const QString& message, bool stopRunning);
    void stopJobs(PortStatus status, const QString& key, const QString& text);
    void finishIfIdle();
    void print(const QString& text, bool toErr);
    // The live status lines: erased before other output, drawn again after it.
    void eraseBoard();
    void drawBoard();
    QString countText() const;

    Console& console_;
    DeviceWatch& watch_;
    JobMaker makeJob_;
    Options options_;
    QEventLoop* loop_ = nullptr;
    std::map<QString, ApplyJob*> running_; // by path; children, each deleted once done
    QSet<QString> again_;                  // appeared again while their job still ran
    bool watching_ = true;
    bool terminal_ = false;
    int boardLines_ = 0;
    int served_ = 0;
    int changed_ = 0;
    int unchanged_ = 0;
    int wouldChange_ = 0;
    int failed_ = 0;
    QStringList failedPorts_;
    bool trouble_ = false;
    int signal_ = 0;         // the first signal
    bool cancelled_ = false; // a second signal ended the exchanges
};

} // namespace orv
