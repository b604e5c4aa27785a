#include "savedocument.h"

#include "core/wholefile.h"

namespace orv {

SaveOutcome SaveDocument(Dialogs& dialogs, const DocumentKind& kind, SaveMode mode,
                         const QString& fileName, const DocumentBytes& bytes, QString* savedTo) {
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
    QString why;
    const std::optional<QByteArray> content = bytes(&why);
    if (!content || !WriteWholeFile(path, *content, &why)) {
        dialogs.message({QStringLiteral("The %1 could not be saved to %2: %3. The file was not "
                                        "changed.")
                             .arg(kind.what, path, why),
                         kind.title, Dialogs::Buttons::Ok, Dialogs::Icon::Critical});
        return SaveOutcome::Failed;
    }
    if (savedTo)
        *savedTo = path;
    return SaveOutcome::Saved;
}

} // namespace orv
