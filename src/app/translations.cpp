// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace orv {

namespace {

// Where the program's translations are built in (the resources of orv_app).
const QString ProgramTranslations = QStringLiteral(":/i18n");

// English, or the C locale: the program's own texts.
bool IsSourceLanguage(const QString& language) {
    if (language == QLatin1String("C") || language == QLatin1String("POSIX"))
        return true;
    return QLocale(language).language() == QLocale::English;
}

} // namespace

Translations::Translations(const QStringList& languages) {
    for (const QString& language : languages) {
        if (IsSourceLanguage(language))
            break;
        // "de-DE" -> "de_DE": the translator tries orvcfg_de_DE.qm, then orvcfg_de.qm.
        const QString name = QLocale(language).name();
        if (name == QLatin1String("C"))
            continue; // not a language QLocale knows
        if (!program_.load(QStringLiteral("orvcfg_") + name, ProgramTranslations,
                           QStringLiteral("_")))
            continue;
        language_ = program_.language().section(QLatin1Char('_'), 0, 0);
        programInstalled_ = QCoreApplication::installTranslator(&program_);
        toolkitInstalled_ = toolkit_.load(QStringLiteral("qtbase_") + name,
                                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                            QCoreApplication::installTranslator(&toolkit_);
        break;
    }
}

Translations::~Translations() {
    if (toolkitInstalled_)
        QCoreApplication::removeTranslator(&toolkit_);
    if (programInstalled_)
        QCoreApplication::removeTranslator(&program_);
}

} // namespace orv
