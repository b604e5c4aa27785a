// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandset.h"

#include "completion.h"
#include "console.h"
#include "texttable.h"

#include <QCommandLineParser>

namespace orv {

const QCommandLineOption& CommandHelpOption() {
    static const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                         QStringLiteral("Show this help and exit."));
    return help;
}

namespace {

// "-o, --output=OUT": the names of an option as the help lists them.
QString OptionNames(const QCommandLineOption& option) {
    QStringList names;
    for (const QString& n : option.names())
        names << (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n;
    QString text = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        text += QLatin1Char(' ') + option.valueName();
    return text;
}

} // namespace

CommandSet::CommandSet(QString program, QString version, QString about)
    : program_(std::move(program)), version_(std::move(version)), about_(std::move(about)) {}

void CommandSet::add(Command command) {
    commands_.push_back(std::move(command));
}

const Command* CommandSet::find(const QString& name) const {
    for (const Command& c : commands_) {
        if (c.name == name)
            return &c;
    }
    return nullptr;
}

QString CommandSet::overview(int width) const {
    QString text =
        WrapText(QStringLiteral("Usage: %1 COMMAND [OPTIONS] [ARGUMENTS]").arg(program_), width) +
        QLatin1Char('\n') + WrapText(about_, width) + QStringLiteral("\nCommands:\n");
    std::vector<std::pair<QString, QString>> rows;
    for (const Command& c : commands_)
        rows.emplace_back(c.synopsis, c.summary);
    text += DefinitionList(rows, width);
    text += QStringLiteral("\nOptions:\n");
    text += DefinitionList(
        {{QStringLiteral("-h, --help"), QStringLiteral("Show this help and exit.")},
         {QStringLiteral("-v, --version"), QStringLiteral("Show the version and exit.")}},
        width);
    text +=
        QLatin1Char('\n') +
        WrapText(QStringLiteral("'%1 COMMAND --help' describes a command.").arg(program_), width);
    return text;
}

QString CommandSet::help(const Command& command, int width) const {
    const QString usage = QStringLiteral("Usage: %1 ").arg(program_);
    QString text = WrapText(usage + command.synopsis, width, static_cast<int>(usage.size())) +
                   QLatin1Char('\n') + WrapText(command.description, width) +
                   QStringLiteral("\nOptions:\n");
    QList<QCommandLineOption> options = command.options;
    options << CommandHelpOption();
    std::vector<std::pair<QString, QString>> rows;
    for (const QCommandLineOption& o : options)
        rows.emplace_back(OptionNames(o), o.description());
    return text + DefinitionList(rows, width);
}

int UsageError(Console& console, const QString& message, const QString& called) {
    console.error(message);
    console.printError(QStringLiteral("Try '%1 --help'.\n").arg(called));
    return ExitTrouble;
}

int CommandSet::run(const QStringList& arguments, Console& console) const {
    if (arguments.isEmpty()) {
        console.printError(overview(console.width()));
        return ExitTrouble;
    }
    if (const auto code = runProgramRequest(arguments, console))
        return *code;
    const QString first = arguments.first();
    const Command* command = find(first);
    if (!command) {
        return UsageError(console,
                          first.startsWith(QLatin1Char('-'))
                              ? QStringLiteral("unknown option '%1'").arg(first)
                              : QStringLiteral("unknown command '%1'").arg(first),
                          program_);
    }
    return runCommand(*command, arguments.mid(1), console);
}

std::optional<int> CommandSet::runProgramRequest(const QStringList& arguments,
                                                 Console& console) const {
    const QString first = arguments.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
        console.print(overview(console.width()));
        return ExitOk;
    }
    if (first == QLatin1String("--version") || first == QLatin1String("-v")) {
        console.print(QStringLiteral("%1 %2\n").arg(program_, version_));
        return ExitOk;
    }
    // Not in the help: the build writes the completion scripts with it.
    if (first == QLatin1String("--completion") && arguments.size() == 2) {
        const auto shell = ShellNamed(arguments.at(1));
        if (!shell)
            return UsageError(
                console, QStringLiteral("no completion for '%1'").arg(arguments.at(1)), program_);
        console.print(CompletionScript(*shell, program_, commands_));
        return ExitOk;
    }
    if (first != QLatin1String("help"))
        return std::nullopt;
    if (arguments.size() == 1) {
        console.print(overview(console.width()));
        return ExitOk;
    }
    const Command* c = find(arguments.at(1));
    if (!c)
        return UsageError(console, QStringLiteral("unknown command '%1'").arg(arguments.at(1)),
                          program_);
    console.print(help(*c, console.width()));
    return ExitOk;
}

int CommandSet::runCommand(const Command& command, const QStringList& arguments,
                           Console& console) const {
    const QString called = program_ + QLatin1Char(' ') + command.name;
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.addOptions(command.options);
    parser.addOption(CommandHelpOption());
    // The parser skips the first argument, the program's name.
    if (!parser.parse(QStringList{program_} + arguments))
        return UsageError(console, parser.errorText(), called);
    if (parser.isSet(CommandHelpOption())) {
        console.print(help(command, console.width()));
        return ExitOk;
    }
    const QStringList operands = parser.positionalArguments();
    if (operands.size() < command.minOperands)
        return UsageError(console, QStringLiteral("too few arguments"), called);
    if (command.maxOperands >= 0 && operands.size() > command.maxOperands)
        return UsageError(console, QStringLiteral("too many arguments"), called);

    QHash<QString, QStringList> options;
    for (const QCommandLineOption& o : command.options) {
        if (!parser.isSet(o))
            continue;
        const QStringList values = o.valueName().isEmpty() ? QStringList() : parser.values(o);
        for (const QString& n : o.names())
            options.insert(n, values);
    }
    return command.run(CommandCall(operands, std::move(options), console, called));
}

} // namespace orv
