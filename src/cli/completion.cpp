// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "completion.h"

#include "commandset.h"

#include "core/catalogue.h"
#include "core/config.h"

namespace orv {

namespace {

// What a word of the command line is completed with.
struct Completion {
    enum Kind { Nothing, File, Port, Key, Assignment, Words } kind = Nothing;
    QStringList words = {}; // Words: the words it takes
};

struct OptionSpec {
    QStringList names; // "-o", "--output"
    QString description;
    bool repeats = false;
    QString valueName;               // "OUT"
    std::optional<Completion> value; // nothing: the option takes no value
};

struct OperandSpec {
    Completion completion;
    bool repeats = false;
};

struct CommandSpec {
    QString name;
    QString summary;
    std::vector<OptionSpec> options;
    std::vector<OperandSpec> operands;
};

QStringList Tokens(const Setting& s) {
    QStringList tokens;
    for (const SettingValue& v : s.values)
        tokens << QString::fromLatin1(v.token);
    return tokens;
}

// The link options whose values are those of the decoder's own line settings (the baud rates
// are the link's own list, which goes further down than the decoder's).
const struct {
    const char* option;
    const char* key;
} LineOptionKeys[] = {{"parity", "bar.comm.parity"},
                      {"data-bits", "bar.comm.data_bits"},
                      {"stop-bits", "bar.comm.stop_bits"}};

// The first sentence of a description, for a one-line hint.
QString FirstSentence(const QString& text) {
    const qsizetype end = text.indexOf(QLatin1String(". "));
    return end < 0 ? text : text.left(end + 1);
}

OptionSpec Option(const QCommandLineOption& o) {
    OptionSpec entry;
    for (const QString& n : o.names())
        entry.names << (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n;
    entry.description = FirstSentence(o.description());
    entry.valueName = o.valueName();
    if (o.valueName().isEmpty())
        return entry;
    const QString name = o.names().constLast();
    entry.value = Completion{};
    if (name == QLatin1String("port")) {
        entry.value->kind = Completion::Port;
        entry.repeats = true; // one command serves several ports
    } else if (o.valueName() == QLatin1String("FILE") || o.valueName() == QLatin1String("OUT")) {
        entry.value->kind = Completion::File;
    }
    for (const auto& k : LineOptionKeys) {
        if (name == QLatin1String(k.option))
            entry.value = Completion{Completion::Words, Tokens(SettingOf(k.key))};
    }
    if (name == QLatin1String("baud"))
        entry.value = Completion{Completion::Words, LinkBaudRates};
    return entry;
}

// The operands a synopsis names before its options: "get FILE KEY..." is a file, then keys;
// "memory read|clear --port P..." one of two words.
std::vector<OperandSpec> Operands(const QString& synopsis) {
    std::vector<OperandSpec> operands;
    const QStringList words = synopsis.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < words.size(); ++i) {
        QString w = words.at(i);
        if (w.startsWith(QLatin1Char('-')) || w.startsWith(QLatin1Char('[')))
            break;
        OperandSpec entry;
        entry.repeats = w.endsWith(QLatin1String("..."));
        if (entry.repeats)
            w.chop(3);
        if (w.contains(QLatin1Char('|')))
            entry.completion = {Completion::Words, w.split(QLatin1Char('|'))};
        else if (w == QLatin1String("KEY"))
            entry.completion.kind = Completion::Key;
        else if (w.contains(QLatin1Char('=')))
            entry.completion.kind = Completion::Assignment;
        else
            entry.completion.kind = Completion::File;
        operands.push_back(entry);
    }
    return operands;
}

// Every command, and "help COMMAND", which the command set answers itself.
std::vector<CommandSpec> Specs(const std::vector<Command>& commands) {
    std::vector<CommandSpec> specs;
    const OptionSpec help = Option(CommandHelpOption());
    QStringList names;
    for (const Command& c : commands) {
        CommandSpec entry{c.name, c.summary, {}, Operands(c.synopsis)};
        for (const QCommandLineOption& o : c.options)
            entry.options.push_back(Option(o));
        entry.options.push_back(help);
        specs.push_back(entry);
        names << c.name;
    }
    specs.push_back({QStringLiteral("help"),
                     QStringLiteral("Describe a command."),
                     {},
                     {{{Completion::Words, names}}}});
    return specs;
}

// The settings that take a value out of a list, with their tokens.
std::vector<std::pair<QString, QStringList>> KeyValues() {
    std::vector<std::pair<QString, QStringList>> rows;
    for (const Setting& s : Catalogue()) {
        if (!s.values.empty())
            rows.emplace_back(QString::fromLatin1(s.key), Tokens(s));
    }
    return rows;
}

QStringList Keys() {
    QStringList keys;
    for (const Setting& s : Catalogue())
        keys << QString::fromLatin1(s.key);
    return keys;
}

// "com1 com2 ...": the ports the window offers as "Com N".
QStringList ComPorts() {
    QStringList ports = Tokens(SettingOf("header.com_port"));
    for (QString& p : ports)
        p.prepend(QStringLiteral("com"));
    return ports;
}

// A text between single quotes, for either shell.
QString Quoted(const QString& text) {
    return QLatin1Char('\'') + QString(text).replace(QLatin1String("'"), QLatin1String("'\\''")) +
           QLatin1Char('\'');
}

// ----- bash -----

// @file, @port, @key, @assignment, or the words themselves.
QString BashKind(const Completion& c) {
    switch (c.kind) {
    case Completion::Nothing:
        return QString();
    case Completion::File:
        return QStringLiteral("@file");
    case Completion::Port:
        return QStringLiteral("@port");
    case Completion::Key:
        return QStringLiteral("@key");
    case Completion::Assignment:
        return QStringLiteral("@assignment");
    case Completion::Words:
        break;
    }
    return c.words.join(QLatin1Char(' '));
}

QString BashEcho(const Completion& c) {
    const QString kind = BashKind(c);
    return kind.isEmpty() ? QStringLiteral(":") : QStringLiteral("echo ") + Quoted(kind);
}

const char* const BashTemplate =
    R"sh(# Bash completion of @P@, written by "@P@ --completion bash" from its command table and its
# settings catalogue.

_@P@_commands=@COMMANDS@
_@P@_keys=@KEYS@

# The serial devices of this machine, then the ports the window offers as "Com N".
_@P@_ports() {
    local d
    for d in /dev/ttyS* /dev/ttyUSB* /dev/ttyACM*; do
        [ -e "$d" ] && printf '%s\n' "$d"
    done
    printf '%s\n' @COM@
}

# _@P@_key_values KEY: the values of a setting that takes one out of a list.
_@P@_key_values() {
    case $1 in
@KEYVALUES@    esac
}

# _@P@_options COMMAND: the options of a command.
_@P@_options() {
    case $1 in
@OPTIONS@    esac
}

# _@P@_option_value COMMAND OPTION: what the option's value is (@file, @port, or the words it
# takes; nothing for free text); status 1 when the option takes no value.
_@P@_option_value() {
    case "$1 $2" in
@VALUES@    *) return 1 ;;
    esac
}

# _@P@_operand COMMAND N: what the operand N (from 0) of a command is (@file, @key,
# @assignment, or the words it takes); status 1 when the command takes no more operands.
_@P@_operand() {
    case $1 in
@OPERANDS@    *) return 1 ;;
    esac
}

# _@P@_reply KIND WORD [PREFIX]: COMPREPLY from the completions of WORD of a kind, each after
# PREFIX.
_@P@_reply() {
    case $1 in
    @file)
        compopt -o filenames 2>/dev/null
        local IFS=$'\n'
        COMPREPLY=($(compgen -P "$3" -f -- "$2"))
        ;;
    @port) COMPREPLY=($(compgen -P "$3" -W "$(_@P@_ports)" -- "$2")) ;;
    @key) COMPREPLY=($(compgen -P "$3" -W "$_@P@_keys" -- "$2")) ;;
    *) COMPREPLY=($(compgen -P "$3" -W "$1" -- "$2")) ;;
    esac
}

_@P@() {
    COMPREPLY=()
    local cur=${COMP_WORDS[COMP_CWORD]} prev= command= expect= n=0 i w kind
    [ "$COMP_CWORD" -gt 0 ] && prev=${COMP_WORDS[COMP_CWORD - 1]}
    # The command, and the number of operands before the word: option values, and the pieces
    # of KEY=VALUE that bash splits at "=", are no operands.
    for ((i = 1; i < COMP_CWORD; i++)); do
        w=${COMP_WORDS[i]}
        if [ -n "$expect" ]; then
            expect=
            continue
        fi
        [ "$w" = = ] || [ "${COMP_WORDS[i - 1]}" = = ] && continue
        if [ -z "$command" ]; then
            [[ $w == -* ]] || command=$w
            continue
        fi
        case $w in
        --*=*) ;;
        -?*) _@P@_option_value "$command" "$w" >/dev/null && expect=$w ;;
        *) n=$((n + 1)) ;;
        esac
    done
    if [ -z "$command" ]; then
        case $cur in
        -*) COMPREPLY=($(compgen -W '-h --help -v --version' -- "$cur")) ;;
        *) COMPREPLY=($(compgen -W "$_@P@_commands" -- "$cur")) ;;
        esac
        return 0
    fi

    # A value after OPTION= or KEY=, as one word or split at "=".
    local before= value=$cur prefix=
    if [ "$cur" = = ]; then
        before=$prev value=
    elif [ "$prev" = = ] && [ "$COMP_CWORD" -ge 2 ]; then
        before=${COMP_WORDS[COMP_CWORD - 2]}
    elif [[ $cur == [!-]*=* || $cur == --*=* ]]; then
        before=${cur%%=*} value=${cur#*=} prefix=$before=
    fi
    if [[ $before == -* ]]; then
        kind=$(_@P@_option_value "$command" "$before") && _@P@_reply "$kind" "$value" "$prefix"
        return 0
    fi
    if [ -n "$expect" ]; then
        kind=$(_@P@_option_value "$command" "$expect") && _@P@_reply "$kind" "$cur"
        return 0
    fi
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_@P@_options "$command")" -- "$cur"))
        return 0
    fi
    kind=$(_@P@_operand "$command" "$n") || return 0
    if [ "$kind" = @assignment ]; then
        if [ -n "$before" ]; then
            _@P@_reply "$(_@P@_key_values "$before")" "$value" "$prefix"
        else
            COMPREPLY=($(compgen -S = -W "$_@P@_keys" -- "$cur"))
            compopt -o nospace 2>/dev/null
        fi
        return 0
    fi
    _@P@_reply "$kind" "$cur"
}

complete -F _@P@ @P@
)sh";

QString BashScript(const QString& program, const std::vector<CommandSpec>& specs) {
    QStringList commands;
    QString options;
    QString values;
    QString operands;
    for (const CommandSpec& c : specs) {
        commands << c.name;
        QStringList names;
        for (const OptionSpec& o : c.options) {
            names << o.names;
            if (!o.value)
                continue;
            QStringList cases;
            for (const QString& n : o.names)
                cases << Quoted(c.name + QLatin1Char(' ') + n);
            values += QStringLiteral("    %1) %2 ;;\n")
                          .arg(cases.join(QLatin1String(" | ")), BashEcho(*o.value));
        }
        if (!names.isEmpty())
            options += QStringLiteral("    %1) echo %2 ;;\n").arg(c.name, Quoted(names.join(' ')));
        if (c.operands.empty())
            continue;
        operands += QStringLiteral("    %1)\n        case $2 in\n").arg(c.name);
        for (size_t i = 0; i < c.operands.size(); ++i) {
            const OperandSpec& o = c.operands[i];
            const bool last = i + 1 == c.operands.size();
            operands += QStringLiteral("        %1) %2 ;;\n")
                            .arg(last && o.repeats ? QStringLiteral("*") : QString::number(i),
                                 BashEcho(o.completion));
        }
        if (!c.operands.back().repeats)
            operands += QStringLiteral("        *) return 1 ;;\n");
        operands += QStringLiteral("        esac\n        ;;\n");
    }
    QString keyValues;
    for (const auto& [key, tokens] : KeyValues())
        keyValues += QStringLiteral("    %1) echo %2 ;;\n").arg(key, Quoted(tokens.join(' ')));

    return QString::fromLatin1(BashTemplate)
        .replace(QLatin1String("@COMMANDS@"), Quoted(commands.join(' ')))
        .replace(QLatin1String("@KEYS@"), Quoted(Keys().join(' ')))
        .replace(QLatin1String("@COM@"), ComPorts().join(' '))
        .replace(QLatin1String("@KEYVALUES@"), keyValues)
        .replace(QLatin1String("@OPTIONS@"), options)
        .replace(QLatin1String("@VALUES@"), values)
        .replace(QLatin1String("@OPERANDS@"), operands)
        .replace(QLatin1String("@P@"), program);
}

// ----- zsh -----

// A description inside an _arguments item: its brackets and colons escaped.
QString ZshHint(const QString& text) {
    QString t = text;
    t.replace(QLatin1String("\\"), QLatin1String("\\\\"))
        .replace(QLatin1String("["), QLatin1String("\\["))
        .replace(QLatin1String("]"), QLatin1String("\\]"))
        .replace(QLatin1String(":"), QLatin1String("\\:"));
    return t;
}

QString ZshAction(const QString& program, const Completion& c) {
    switch (c.kind) {
    case Completion::Nothing:
        return QStringLiteral(" ");
    case Completion::File:
        return QStringLiteral("_files");
    case Completion::Port:
        return QStringLiteral("_%1_ports").arg(program);
    case Completion::Key:
        return QStringLiteral("_%1_keys").arg(program);
    case Completion::Assignment:
        return QStringLiteral("_%1_assignment").arg(program);
    case Completion::Words:
        break;
    }
    return QStringLiteral("(%1)").arg(c.words.join(QLatin1Char(' ')));
}

// One option as _arguments takes it: '(-o --output)'{-o,--output}'[Hint.]:OUT:_files'.
QString ZshOption(const QString& program, const OptionSpec& o) {
    QString entry;
    if (o.repeats)
        entry += QStringLiteral("'*'");
    else if (o.names.size() > 1)
        entry += Quoted(QStringLiteral("(%1)").arg(o.names.join(' ')));
    // A long option's value may follow it in the same word, after "=".
    QStringList names = o.names;
    if (o.value)
        names.last() += QLatin1Char('=');
    entry += names.size() > 1 ? QStringLiteral("{%1}").arg(names.join(',')) : names.first();
    QString rest = QLatin1Char('[') + ZshHint(o.description) + QLatin1Char(']');
    if (o.value)
        rest += QStringLiteral(":%1:%2").arg(o.valueName, ZshAction(program, *o.value));
    return entry + Quoted(rest);
}

const char* const ZshTemplate = R"sh(#compdef @P@
# Zsh completion of @P@, written by "@P@ --completion zsh" from its command table and its
# settings catalogue.

# The serial devices of this machine, then the ports the window offers as "Com N".
_@P@_ports() {
    local expl
    local -a ports
    ports=(/dev/ttyS*(N) /dev/ttyUSB*(N) /dev/ttyACM*(N) @COM@)
    _wanted ports expl port compadd -a ports
}

_@P@_keys() {
    local expl
    local -a keys
    keys=(@KEYS@)
    _wanted keys expl key compadd "$@" -a keys
}

# KEY=VALUE: a key, then the values of that key.
_@P@_assignment() {
    local expl
    local -a values
    if [[ $PREFIX == *=* ]]; then
        local key=${PREFIX%%=*}
        case $key in
@KEYVALUES@        esac
        compset -P '*='
        _wanted values expl "value of $key" compadd -a values
    else
        _@P@_keys -S =
    fi
}

_@P@() {
    local curcontext=$curcontext state state_descr line ret=1
    typeset -A opt_args
    local -a commands
    commands=(
@DESCRIBED@    )
    _arguments -C \
        '(- *)'{-h,--help}'[Show this help and exit.]' \
        '(- *)'{-v,--version}'[Show the version and exit.]' \
        '1:command:->command' \
        '*::argument:->argument' && return 0
    case $state in
    command)
        _describe -t commands '@P@ command' commands && ret=0
        ;;
    argument)
        curcontext=${curcontext%:*:*}:@P@-$words[1]:
        case $words[1] in
@COMMANDS@        esac
        ;;
    esac
    return ret
}

_@P@ "$@"
)sh";

QString ZshScript(const QString& program, const std::vector<CommandSpec>& specs) {
    QString described;
    QString cases;
    for (const CommandSpec& c : specs) {
        described += QStringLiteral("        %1\n").arg(Quoted(c.name + ':' + c.summary));
        QStringList args;
        for (const OptionSpec& o : c.options)
            args << ZshOption(program, o);
        for (const OperandSpec& o : c.operands) {
            const QString what = o.completion.kind == Completion::Words ? QStringLiteral("word")
                                 : o.completion.kind == Completion::Key ? QStringLiteral("key")
                                 : o.completion.kind == Completion::Assignment
                                     ? QStringLiteral("setting")
                                     : QStringLiteral("file");
            args << Quoted(QStringLiteral("%1:%2:%3")
                               .arg(o.repeats ? QStringLiteral("*") : QString(), what,
                                    ZshAction(program, o.completion)));
        }
        cases += QStringLiteral("        %1)\n").arg(c.name);
        if (!args.isEmpty()) {
            cases += QStringLiteral("            _arguments \\\n                %1 && ret=0\n")
                         .arg(args.join(QLatin1String(" \\\n                ")));
        }
        cases += QStringLiteral("            ;;\n");
    }
    QString keyValues;
    for (const auto& [key, tokens] : KeyValues())
        keyValues += QStringLiteral("        %1) values=(%2) ;;\n").arg(key, tokens.join(' '));

    return QString::fromLatin1(ZshTemplate)
        .replace(QLatin1String("@KEYS@"), Keys().join(' '))
        .replace(QLatin1String("@COM@"), ComPorts().join(' '))
        .replace(QLatin1String("@KEYVALUES@"), keyValues)
        .replace(QLatin1String("@DESCRIBED@"), described)
        .replace(QLatin1String("@COMMANDS@"), cases)
        .replace(QLatin1String("@P@"), program);
}

} // namespace

std::optional<Shell> ShellNamed(const QString& name) {
    if (name == QLatin1String("bash"))
        return Shell::Bash;
    if (name == QLatin1String("zsh"))
        return Shell::Zsh;
    return std::nullopt;
}

QString CompletionScript(Shell shell, const QString& program,
                         const std::vector<Command>& commands) {
    const std::vector<CommandSpec> specs = Specs(commands);
    return shell == Shell::Bash ? BashScript(program, specs) : ZshScript(program, specs);
}

} // namespace orv
