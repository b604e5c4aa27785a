// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>

namespace orv {

// The language of the windows, for as long as the object lives: the program's own translation
// (orvcfg_<language>.qm, built into the program) and the toolkit's (qtbase_<language>.qm from
// Qt's translations folder, for the buttons and texts of the standard dialogs), installed into
// the application. The languages are tried in order of preference, as QLocale::uiLanguages()
// lists them ("de-DE", "de", "C"): the first that is English ("en", "en-US"), the C locale
// ("C", "POSIX") or one the program has a translation for decides. English is the program's own
// language: no translation is installed for it, nor where none of the languages has one.
class Translations {
public:
    explicit Translations(const QStringList& languages);
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    // The language the windows are shown in ("de"); empty for English.
    QString language() const { return language_; }
    // Whether the toolkit's own translation of that language was found and installed.
    bool hasToolkitTranslation() const { return toolkitInstalled_; }

private:
    QTranslator program_;
    QTranslator toolkit_;
    QString language_;
    bool programInstalled_ = false;
    bool toolkitInstalled_ = false;
};

} // namespace orv
