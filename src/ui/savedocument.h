// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/dialogs.h"
#include "core/wholefile.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace orv {

// The one Save / Save As path of the files the user saves under names of his own choosing
// (configurations, memory data): the save dialog, the checked write through WriteWholeFile, and
// the message when the file could not be written, which then stays as it was.

enum class SaveOutcome { Saved, Cancelled, Failed };

// What kind of file is saved.
struct DocumentKind {
    QString filter;           // of the save dialog: "Config Setup Files(*.cfg)|*.cfg"
    QString defaultExtension; // without the dot
    QString what;             // in the failure message: "configuration", "memory data"
    QString title;            // of the failure message
};

// The file's bytes, or nothing with the reason in `why`.
using DocumentBytes = std::function<std::optional<QByteArray>(QString* why)>;

enum class SaveMode {
    Save,   // writes to the file name given
    SaveAs, // asks for the name first, proposing the file name given
};

// Saves a file; `savedTo` gets the path written. A cancelled dialog changes nothing. A failure
// is shown as "The <what> could not be saved to <path>: <reason>. The file was not changed."
// (OK button, critical icon; the last sentence only where a file is there) and leaves the file on
// disk byte for byte as it was.
// `stamp`, when given, is the file as it was opened or last saved, and becomes the file as saved.
// Save then asks before it overwrites a file that another program has changed or replaced since;
// the answer No is Failed without a message: the file stays as the other program left it.
SaveOutcome SaveDocument(Dialogs& dialogs, const DocumentKind& kind, SaveMode mode,
                         const QString& fileName, const DocumentBytes& bytes,
                         QString* savedTo = nullptr, FileStamp* stamp = nullptr);

} // namespace orv
