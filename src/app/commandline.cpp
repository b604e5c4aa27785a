#include "commandline.h"

#include "orvproject.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

namespace orv {

QString ProcessCommandLine(const QCoreApplication& app) {
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
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fprintf(stderr, "orvcfg: only one FILE can be opened; %d were given\n",
                     int(files.size()));
        std::exit(1);
    }
    return files.isEmpty() ? QString() : QFileInfo(files.constFirst()).absoluteFilePath();
}

bool AsksForHelpOrVersion(int argc, const char* const* argv) {
    // --help-all lists the toolkit's display options too, so it waits for the QApplication.
    static const char* const Options[] = {"-h", "-?", "--help", "-v", "--version"};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false; // what follows are file names
        for (const char* option : Options) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

} // namespace orv
