// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtdialogs.h"

#include "apppaths.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPushButton>
#include <QSettings>

namespace orv {

namespace {

QMessageBox::StandardButton StandardOf(Dialogs::Answer a) {
    switch (a) {
    case Dialogs::Answer::Ok:
        return QMessageBox::Ok;
    case Dialogs::Answer::Cancel:
        return QMessageBox::Cancel;
    case Dialogs::Answer::Yes:
        return QMessageBox::Yes;
    case Dialogs::Answer::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(Dialogs::Icon icon) {
    switch (icon) {
    case Dialogs::Icon::None:
        return QMessageBox::NoIcon;
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Exclamation:
        return QMessageBox::Warning;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QFileDialog::Options OptionsOf(const Dialogs::FileRequest& r) {
    QFileDialog::Options options;
    if (!r.overwritePrompt)
        options |= QFileDialog::DontConfirmOverwrite;
    return options;
}

const QString LastFolderKey = QStringLiteral("FileDialogs/lastFolder");

// A save dialog that can refuse a name whose folder does not exist ("path must exist"), which
// QFileDialog itself accepts: the message is shown and the dialog stays open for another name.
class SaveDialog : public QFileDialog {
public:
    SaveDialog(QWidget* parent, bool pathMustExist)
        : QFileDialog(parent), pathMustExist_(pathMustExist) {}

    void accept() override {
        // While the platform's own dialog is in use, it has already closed: saveFileName()
        // refuses the name and shows it again.
        const bool ownDialog = !testAttribute(Qt::WA_DontShowOnScreen);
        const QStringList files = selectedFiles();
        if (pathMustExist_ && ownDialog && !files.isEmpty()) {
            if (const auto text = QtDialogs::MissingFolderText(files.constFirst())) {
                QMessageBox::warning(this, windowTitle(), *text);
                return;
            }
        }
        QFileDialog::accept();
    }

private:
    bool pathMustExist_;
};

} // namespace

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const {
    if (info.isDir())
        return icon(Folder);
    if (!info.isFile())
        return icon(File);
    const QMimeType type = TypeByName(info);
    return QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName(), icon(File)));
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const {
    if (!info.isFile()) // a folder, a drive, a link without target: known without reading
        return QFileIconProvider::type(info);
    const QMimeType type = TypeByName(info);
    return type.comment().isEmpty() ? type.name() : type.comment();
}

QMimeType NameOnlyIconProvider::TypeByName(const QFileInfo& info) {
    return QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
}

void QtDialogs::prepare(QFileDialog& dialog, const FileRequest& r) const {
    dialog.setIconProvider(&icons_);
    if (!r.title.isEmpty())
        dialog.setWindowTitle(r.title);
    dialog.setNameFilter(QtFilter(r.filter));
    dialog.setDefaultSuffix(r.defaultExtension);
    dialog.setOptions(OptionsOf(r));
    // A proposed name with a folder ("/home/me/a.cfg") starts there; a bare name ("New File")
    // or none starts in the folder used last.
    QString folder = lastFolder_;
    if (const QString file = OpenableSettingsFile(settingsFile_);
        folder.isEmpty() && !file.isEmpty())
        folder = QSettings(file, QSettings::IniFormat).value(LastFolderKey).toString();
    const bool namesFolder = QDir::fromNativeSeparators(r.fileName).contains(QLatin1Char('/'));
    if (!namesFolder && QFileInfo(folder).isDir())
        dialog.setDirectory(folder);
    if (!r.fileName.isEmpty())
        dialog.selectFile(r.fileName);
}

std::optional<QString> QtDialogs::run(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog.selectedFiles().constFirst();
    lastFolder_ = QFileInfo(path).absolutePath();
    if (const QString file = OpenableSettingsFile(settingsFile_); !file.isEmpty())
        QSettings(file, QSettings::IniFormat).setValue(LastFolderKey, lastFolder_);
    return path;
}

QWidget* QtDialogs::dialogParent() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return parent_;
}

QString QtDialogs::DisplayText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            out += QLatin1Char('\n');
            const qsizetype next = i + 1;
            if (next < text.size() && text[next] != c &&
                (text[next] == QLatin1Char('\r') || text[next] == QLatin1Char('\n')))
                ++i; // a CR LF or LF CR pair is one line break
        } else {
            out += c;
        }
    }
    return out;
}

QString QtDialogs::QtFilter(const QString& filter) {
    // Descriptions stand at even positions of the "|" list; they already name their patterns.
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        QString description = parts[i];
        if (i + 1 < parts.size() && !description.contains(QLatin1Char('(')))
            description += QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
        filters << description;
    }
    return filters.join(QStringLiteral(";;"));
}

std::optional<QString> QtDialogs::MissingFolderText(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo(folder).isDir())
        return std::nullopt;
    return QCoreApplication::translate("orv::QtDialogs", "The folder %1 does not exist.")
        .arg(QDir::toNativeSeparators(folder));
}

Dialogs::Answer QtDialogs::message(const Message& m) {
    QMessageBox box(dialogParent());
    box.setWindowTitle(m.title.isEmpty() ? QCoreApplication::applicationName() : m.title);
    box.setText(DisplayText(m.text));
    box.setTextFormat(Qt::PlainText);
    box.setIcon(IconOf(m.icon));
    if (!m.details.isEmpty())
        box.setDetailedText(m.details);
    QList<Answer> answers;
    switch (m.buttons) {
    case Buttons::Ok:
        answers = {Answer::Ok};
        break;
    case Buttons::OkCancel:
        answers = {Answer::Ok, Answer::Cancel};
        break;
    case Buttons::YesNo:
        answers = {Answer::Yes, Answer::No};
        break;
    case Buttons::YesNoCancel:
        answers = {Answer::Yes, Answer::No, Answer::Cancel};
        break;
    }
    QMessageBox::StandardButtons buttons;
    for (Answer a : answers)
        buttons |= StandardOf(a);
    box.setStandardButtons(buttons);
    box.setDefaultButton(StandardOf(m.defaultButton.value_or(answers.first())));
    // Escape gives Cancel where there is one, else No (Yes/No), else OK.
    if (answers.contains(Answer::Cancel))
        box.setEscapeButton(QMessageBox::Cancel);
    else if (answers.contains(Answer::No))
        box.setEscapeButton(QMessageBox::No);
    else
        box.setEscapeButton(QMessageBox::Ok);
    const auto clicked = static_cast<QMessageBox::StandardButton>(box.exec());
    for (Answer a : answers) {
        if (StandardOf(a) == clicked)
            return a;
    }
    return answers.contains(Answer::Cancel) ? Answer::Cancel : answers.last();
}

std::optional<QString> QtDialogs::openFileName(const FileRequest& r) {
    QFileDialog dialog(dialogParent());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(r.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    prepare(dialog, r);
    return run(dialog);
}

std::optional<QString> QtDialogs::saveFileName(const FileRequest& r) {
    SaveDialog dialog(dialogParent(), r.pathMustExist);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    prepare(dialog, r);
    for (;;) {
        const auto path = run(dialog);
        if (!path || !r.pathMustExist)
            return path;
        const auto refused = MissingFolderText(*path);
        if (!refused)
            return path;
        // The platform's own dialog closed before the name could be refused: say why, and ask
        // again.
        message({*refused, dialog.windowTitle(), Buttons::Ok, Icon::Exclamation});
        dialog.selectFile(*path);
    }
}

} // namespace orv
