// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "savedocument.h"

#include "core/filename.h"

#include <QCoreApplication>

namespace orv {

SaveOutcome SaveDocument(Dialogs& dialogs, const DocumentKind& kind, SaveMode mode,
                         const QString& fileName, const DocumentBytes& bytes, QString* savedTo,
                         FileStamp* stamp) {
    QString path = fileName;
    if (mode == SaveMode::SaveAs) {
        Dialogs::FileRequest request;
        request.filter = kind.filter;
        request.defaultExtension = kind.defaultExtension;
        request.fileName = fileName;
        request.overwritePrompt = true;
        request.pathMustExist = true;
        const auto chosen = dialogs.saveFileName(request);
        if (!chosen)
            return SaveOutcome::Cancelled;
        path = *chosen;
    }
    WriteResult written;
    const std::optional<QByteArray> content = bytes(&written.why);
    if (content) {
        // Save As has asked about the file in its dialog.
        const bool check = mode == SaveMode::Save && stamp;
        written = WriteWholeFile(path, *content, check ? *stamp : FileStamp());
    }
    if (written.status == WriteStatus::Changed) {
        const auto answer = dialogs.message(
            {QCoreApplication::translate("orv::SaveDocument",
                                         "The file %1 was changed by another program since it "
                                         "was opened or last saved. Overwrite it?")
                 .arg(ShownFileName(path)),
             kind.title, Dialogs::Buttons::YesNo, Dialogs::Icon::Exclamation, Dialogs::Answer::No});
        if (answer != Dialogs::Answer::Yes)
            return SaveOutcome::Failed;
        written = WriteWholeFile(path, *content);
    }
    if (!written.ok()) {
        QString text =
            QCoreApplication::translate("orv::SaveDocument", "The %1 could not be saved to %2: %3.")
                .arg(kind.what, ShownFileName(path), ShownFileName(written.why));
        if (StampOf(path).known)
            text += QCoreApplication::translate("orv::SaveDocument", " The file was not changed.");
        dialogs.message({text, kind.title, Dialogs::Buttons::Ok, Dialogs::Icon::Critical});
        return SaveOutcome::Failed;
    }
    if (savedTo)
        *savedTo = path;
    if (stamp)
        *stamp = written.stamp;
    return SaveOutcome::Saved;
}

} // namespace orv
