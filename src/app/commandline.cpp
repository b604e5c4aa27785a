#include "commandline.h"

#include "core/filename.h"
#include "orvproject.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace orv {

QString ProcessCommandLine(int argc, const char* const* argv) {
    QCoreApplication::setApplicationName(QStringLiteral("orvcfg"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORV_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Edits, stores and transfers the configuration of a bar-code and "
                       "magnetic-card decoder."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("A configuration file (.cfg) to open at start-up, as File > Open does."),
        QStringLiteral("[FILE]"));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << FileNameFromBytes(QByteArray(argv[i]));
    parser.process(arguments);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "orvcfg: only one FILE can be opened; %d were given\n",
                     int(files.size()));
        std::exit(1);
    }
    if (files.size() == 1 && files.constFirst().isEmpty()) {
        std::fputs("orvcfg: FILE is an empty name\n", stderr);
        std::exit(1);
    }
    return files.isEmpty() ? QString() : AbsoluteFileName(files.constFirst());
}

bool AsksForHelpOrVersion(int argc, const char* const* argv) {
    // --help-all lists the toolkit's display options too, so it waits for the QApplication,
    // as does any other option (the toolkit's own, such as -platform, or a wrong one).
    static const char* const Options[] = {"-h", "-?", "--help", "-v", "--version"};
    bool asks = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break; // what follows are file names
        if (argv[i][0] != '-')
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
