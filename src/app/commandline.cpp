// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include "core/filename.h"
#include "orvproject.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

namespace orv {

namespace {

const QCommandLineOption LanguageOption(
    QStringLiteral("lang"),
    QStringLiteral("Shows the windows in the language LANG (de, en, ...) instead of the "
                   "system's; a language without a translation gives English."),
    QStringLiteral("LANG"));

void DescribeOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Edits, stores and transfers the configuration of a bar-code and "
                       "magnetic-card decoder."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(LanguageOption);
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("A configuration file (.cfg) to open at start-up, as File > Open does."),
        QStringLiteral("[FILE]"));
}

// What is wrong with the FILE arguments, if anything.
std::optional<QString> FilesError(const QStringList& files) {
    if (files.size() > 1)
        return QStringLiteral("only one FILE can be opened; %1 were given").arg(files.size());
    if (files.size() == 1 && files.constFirst().isEmpty())
        return QStringLiteral("FILE is an empty name");
    return std::nullopt;
}

// The toolkit's own options, which it takes out of the command line when the application
// object is made (with one dash or two, "-style fusion" or "-style=fusion"): those that take a
// value, then those that take none.
const char* const ToolkitValueOptions[] = {"platform",
                                           "platformpluginpath",
                                           "platformtheme",
                                           "plugin",
                                           "qwindowgeometry",
                                           "qwindowicon",
                                           "qwindowtitle",
                                           "session",
                                           "display",
                                           "geometry",
                                           "title",
                                           "icon",
                                           "name",
                                           "style",
                                           "stylesheet",
                                           "qmljsdebugger",
                                           "dialogs",
                                           "fontengine"};
const char* const ToolkitFlagOptions[] = {"reverse", "widgetcount", "testability", "qdevel",
                                          "qdebug",  "sync",        "nograb",      "dograb"};

bool Among(const QString& name, const auto& names) {
    return std::any_of(std::begin(names), std::end(names),
                       [&](const char* n) { return name == QLatin1String(n); });
}

} // namespace

QString ProcessCommandLine(int argc, const char* const* argv, QString* language) {
    QCoreApplication::setApplicationName(QStringLiteral("orvcfg"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORV_VERSION));
    QCommandLineParser parser;
    DescribeOptions(parser);
    parser.process(ArgumentsFromBytes(argc, argv));
    const QStringList files = parser.positionalArguments();
    if (const auto error = FilesError(files)) {
        std::fprintf(stderr, "orvcfg: %s\n", qPrintable(*error));
        std::exit(1);
    }
    if (language)
        *language = parser.value(LanguageOption);
    return files.isEmpty() ? QString() : AbsoluteFileName(files.constFirst());
}

std::optional<QString> CommandLineError(int argc, const char* const* argv) {
    const QStringList words = ArgumentsFromBytes(argc, argv);
    QStringList arguments;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words.at(i);
        if (i == 0 || !word.startsWith(QLatin1Char('-')) || word == QLatin1String("--")) {
            arguments << word;
            if (word == QLatin1String("--") && i > 0) {
                arguments += words.mid(i + 1);
                break;
            }
            continue;
        }
        QString name = word.mid(word.startsWith(QLatin1String("--")) ? 2 : 1);
        const bool hasValue = name.contains(QLatin1Char('='));
        name = name.section(QLatin1Char('='), 0, 0);
        if (Among(name, ToolkitValueOptions)) {
            if (!hasValue)
                ++i; // its value
        } else if (!Among(name, ToolkitFlagOptions)) {
            arguments << word;
        }
    }
    QCommandLineParser parser;
    DescribeOptions(parser);
    if (!parser.parse(arguments))
        return parser.errorText();
    return FilesError(parser.positionalArguments());
}

bool AsksForHelpOrVersion(int argc, const char* const* argv) {
    // --help-all lists the toolkit's display options too, so it waits for the QApplication,
    // as does any other option (the toolkit's own, such as -platform, or a wrong one).
    static const char* const Options[] = {"-h", "-?", "--help", "-v", "--version"};
    bool asks = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break; // what follows are file names
        if (std::strcmp(argv[i], "--lang") == 0) {
            ++i; // its value: the text is English whatever the language
            continue;
        }
        if (argv[i][0] != '-' || std::strncmp(argv[i], "--lang=", 7) == 0)
            continue;
        const bool known = std::any_of(std::begin(Options), std::end(Options),
                                       [&](const char* o) { return std::strcmp(argv[i], o) == 0; });
        if (!known)
            return false;
        asks = true;
    }
    return asks;
}

} // namespace orv
