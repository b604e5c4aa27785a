// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/config.h"
#include "link/exchange/exchange.h"
#include "link/exchange/serialexchange.h"

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace orv {

class Console;
class DecoderRecord;
class InterruptWatcher;
class SerialPort;

// A port as given on the command line: a device path, or "com N" as the window maps it.
struct PortName {
    QString label;    // as the results name it: "/dev/ttyUSB0", "com 2"
    QString device;   // the device path given; empty for "com N"
    int comPort = 0;  // N of "com N"; 0 for a device path
    QString resolved; // the device "com N" stands for when the command started (may be empty)

    bool isComPort() const { return comPort > 0; }
};

// Reads "com N" (any letter case, a blank or none before N, N from 1 to MaxComPort) or a device: a
// path, or a bare name, which is the file of that name in the current folder when there is one and
// otherwise the device /dev/NAME. Nothing, with the reason, for an empty text or another N.
std::optional<PortName> ParsePortName(const QString& text, QString* why);

// Opens a file to write (with these further open() flags: O_TRUNC, O_APPEND), only when it is a
// regular file or is created: a named pipe or a device is refused without waiting on it. The
// file descriptor, or -1 with the reason.
int OpenRegularFileToWrite(const QString& path, int flags, QString* why);

// The frame log of --log: a regular file only (a named pipe or a device is refused without
// waiting on it), every line written at once and checked. The first write that fails ends the
// log; `failed` tells it on the event loop, not inside the port operation that wrote.
class FrameLog : public QObject {
    Q_OBJECT
public:
    // Nothing, with the reason, when `path` is not a regular file or cannot be written.
    static std::shared_ptr<FrameLog> open(const QString& path, QString* why);
    ~FrameLog() override;

    const QString& path() const { return path_; }
    // Writes the line and a line end.
    void write(const QString& line);
    // Why a write failed; empty while none did.
    const QString& error() const { return error_; }
    // "the log FILE could not be written: REASON".
    QString errorMessage() const;

signals:
    void failed();

private:
    FrameLog(QString path, int fd) : path_(std::move(path)), fd_(fd) {}

    QString path_;
    int fd_ = -1;
    QString error_;
};

// How one port's part of a command ended.
enum class PortStatus {
    Ok,
    Failed,      // the decoder or the port failed (time-out, refusal, port missing or lost)
    Trouble,     // a file or the log could not be written
    Interrupted, // SIGINT, SIGTERM or SIGHUP came first
};

struct PortOutcome {
    PortStatus status = PortStatus::Failed;
    QString key;       // "ok", "timed_out", "refused", "port_unavailable", "port_lost",
                       // "verify_failed", "file_error", "interrupted"
    QString text;      // the result line without the port: the window's message and what was done
    QString title;     // the window's message title, if any
    QString details;   // the port's reason, if any
    QJsonObject extra; // what the command adds to the port's JSON
    QStringList more;  // lines for a person under the result line (the settings apply changed)
};

// The outcome of a failed exchange: its status and the window's message.
PortOutcome FailureOutcome(const ExchangeResult& result);

// One port's part of a command: one exchange, or several in a row (a download and its
// verifying upload), each started when the one before has finished.
class PortJob : public QObject {
    Q_OBJECT
public:
    PortJob(PortName name, std::unique_ptr<SerialPort> port, SerialSettings settings,
            LinkTiming timing);
    ~PortJob() override;

    const PortName& name() const { return name_; }
    SerialPort& port() const { return *port_; }
    const LinkTiming& timing() const { return timing_; }
    SerialTarget target() const {
        return {*port_, lineSettings_, name_.isComPort() ? name_.comPort : 1};
    }

    void start();
    // Cancels the running exchange, closes the port and ends with this outcome.
    void stop(PortOutcome outcome);
    // How long the job may still take, in milliseconds, as far as it can tell (0: no idea).
    virtual qint64 msecsLeft() const { return 0; }
    bool isDone() const { return outcome_.has_value(); }
    const PortOutcome& outcome() const { return *outcome_; }
    // The progress its exchange reported last (0 of 0 before any).
    int progressValue() const { return progressValue_; }
    int progressMaximum() const { return progressMaximum_; }

signals:
    void progress(int value, int maximum);
    // One of the job's exchanges has ended (before the job goes on).
    void exchangeFinished(const orv::Exchange* exchange, const orv::ExchangeResult& result);
    void done();

protected:
    // Starts the first exchange (through run()) or ends at once (through complete()).
    virtual void begin() = 0;
    // An exchange started by run() has finished.
    virtual void finished(const ExchangeResult& result) = 0;

    // Starts an exchange; `finished` follows when it ends.
    void run(std::unique_ptr<Exchange> exchange);
    void complete(PortOutcome outcome);

private:
    PortName name_;
    std::unique_ptr<SerialPort> port_;
    SerialSettings lineSettings_;
    LinkTiming timing_;
    Exchange* runningExchange_ = nullptr; // deleted later once it has finished
    std::optional<PortOutcome> outcome_;
    int progressValue_ = 0;
    int progressMaximum_ = 0;
};

// A finished job as JSON: what its command adds, the port, the device, the status and the
// message.
QJsonObject PortJson(const PortJob& job);
// A finished job for a person: "PORT: result", and the lines under it, each ended by a line end;
// what a decoder sent in them shows its control bytes by name.
QString ResultLines(const PortJob& job);

// Runs one command on several ports at once: every port's job on the one event loop, each with
// its own exchange object. Prints a line per port as it finishes and a summary, or JSON at the
// end; shows the progress of long transfers; ends every exchange cleanly on SIGINT, SIGTERM or
// SIGHUP, and when the frame log cannot be written. What a decoder sent is shown in the lines
// with its control bytes by name, so none reaches a terminal as a command.
class LinkSession {
public:
    struct Options {
        QString command; // "download", "memory read", ...
        bool json = false;
        bool showProgress = false;
        // Where the lines of the ports that succeeded go: the output, or the error stream when
        // the output carries the data itself.
        bool resultsToErr = false;
        // A transfer that must not stop half-way (the decoder would be left without firmware):
        // the signals are held until every job has ended, and a log that fails does not stop
        // it either.
        bool uninterruptible = false;
        // The frame log, if there is one.
        FrameLog* log = nullptr;
        // The decoder record, if there is one: a line for every job once it is done.
        DecoderRecord* record = nullptr;
    };

    LinkSession(Console& console, Options options);
    ~LinkSession();

    void add(std::unique_ptr<PortJob> job);
    // Runs every job to its end and returns the exit code: 0 when every port succeeded, 1 when
    // a decoder or port failed, 2 when a file or the log could not be written, 128 + the
    // signal's number when interrupted.
    int exec();

    const std::vector<std::unique_ptr<PortJob>>& jobs() const { return jobs_; }

private:
    // Starts every job and runs the event loop until each has ended.
    void runJobs(const InterruptWatcher& interrupts);
    // The results at the end: JSON, or the summary line of several ports.
    void printJson(bool interrupted) const;
    void printSummary() const;
    void jobDone(PortJob* job);
    void interrupted(int signalNumber);
    void logFailed();
    void recordFailed();
    // Ends every exchange still running with this outcome.
    void stopJobs(PortStatus status, const QString& key, const QString& text);
    void showProgress();

    Console& console_;
    Options options_;
    std::vector<std::unique_ptr<PortJob>> jobs_;
    std::vector<int> tenthShown_;
    bool barOnTerminal_ = false;
    bool barShown_ = false;
    int jobsRunning_ = 0;
    bool holdAnnounced_ = false;
    bool logFailureShown_ = false;
    bool recordFailureShown_ = false;
};

// The exit codes of the link commands beyond those of every command.
enum LinkExitCode : int {
    ExitLinkFailed = 1, // a decoder or port failed on at least one port
};

} // namespace orv
