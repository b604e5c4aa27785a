// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineOption>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace orv {

class Console;

// Exit codes of every command, as diff(1) has them.
enum ExitCode : int {
    ExitOk = 0,      // done; for diff: the files hold the same configuration
    ExitDiffer = 1,  // diff: the files differ
    ExitTrouble = 2, // a usage error, or trouble: a file that cannot be read or written, a value
                     // that is refused
};

// A usage error: the message ("orvctl: MESSAGE"), then where the help is: "Try 'CALLED
// --help'.", CALLED being the program ("orvctl") or the program and the command ("orvctl set").
// Returns ExitTrouble.
int UsageError(Console& console, const QString& message, const QString& called);

// What a command is called with: its operands and options, after parsing.
class CommandCall {
public:
    // `called`: the program and the command, as the help is asked for ("orvctl set").
    CommandCall(QStringList operands, QHash<QString, QStringList> options, Console& console,
                QString called)
        : operands_(std::move(operands)), options_(std::move(options)), console_(console),
          called_(std::move(called)) {}

    const QStringList& operands() const { return operands_; }
    // Whether an option was given, by any of its names.
    bool isSet(const QString& name) const { return options_.contains(name); }
    // The value of an option that takes one (its last occurrence), or a null string.
    QString value(const QString& name) const {
        const QStringList v = options_.value(name);
        return v.isEmpty() ? QString() : v.constLast();
    }
    // Every value given to an option that may be repeated, in order.
    QStringList values(const QString& name) const { return options_.value(name); }
    Console& console() const { return console_; }
    // The command as called ("download"), without the program.
    QString name() const { return called_.section(QLatin1Char(' '), 1); }
    // Says what is wrong with the command line and where this command's help is; returns
    // ExitTrouble.
    int usageError(const QString& message) const { return UsageError(console_, message, called_); }

private:
    QStringList operands_;
    QHash<QString, QStringList> options_; // every name of every option given -> its values
    Console& console_;
    QString called_;
};

// One subcommand: "orvctl NAME [OPTIONS] OPERANDS".
struct Command {
    QString name;
    QString synopsis;    // after "orvctl ": "show FILE [--json]"
    QString summary;     // one line for the list of commands
    QString description; // what --help says below the usage line
    QList<QCommandLineOption> options = {};
    int minOperands = 0;
    int maxOperands = -1; // -1: no limit
    std::function<int(const CommandCall&)> run = {};
    // Whether output that cannot be written (a full disk, a closed pipe) makes the command fail.
    // Not so for a command whose output only tells how it goes while its real work is done
    // elsewhere (a firmware transfer): losing the lines loses nothing else.
    bool outputIsResult = true;
};

// -h, --help: the option every command takes besides its own.
const QCommandLineOption& CommandHelpOption();

// The subcommands of a program, with the parsing, the help texts and the exit codes they share.
// "PROGRAM --help" lists the commands, "PROGRAM --version" (-v) prints the version, and
// "PROGRAM COMMAND --help" (or "PROGRAM help COMMAND") describes one command.
class CommandSet {
public:
    CommandSet(QString program, QString version, QString about);

    void add(Command command);
    const std::vector<Command>& commands() const { return commands_; }

    // Runs the command the arguments name (the program's own name not among them) and returns
    // the exit code.
    int run(const QStringList& arguments, Console& console) const;

    // The help texts, wrapped to `width` characters.
    QString overview(int width) const;
    QString help(const Command& command, int width) const;

    // The command of that name, if there is one.
    const Command* find(const QString& name) const;

private:
    // --help, --version, --completion and "help COMMAND": their exit code; nothing for a command.
    std::optional<int> runProgramRequest(const QStringList& arguments, Console& console) const;
    // Parses the arguments that follow the command's name and runs it.
    int runCommand(const Command& command, const QStringList& arguments, Console& console) const;

    QString program_;
    QString version_;
    QString about_;
    std::vector<Command> commands_;
};

} // namespace orv
