// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The File menu of the main window: New, Open, Save, Save As, Save As Default and Exit, the
// question whether to save first, and the loading of the defaults file at start-up.

#include "mainwindow.h"
#include "windowregistry.h"

#include "core/cfgformat.h"
#include "core/dialogs.h"
#include "core/filename.h"
#include "core/wholefile.h"
#include "ui/programtitle.h"

#include <QDir>
#include <QFileInfo>

namespace orv {

namespace {

// The texts in the user's language, read when they are shown.
QString CfgFilter() {
    return MainWindow::tr("Config Setup Files(*.cfg)|*.cfg");
}
DocumentKind ConfigurationKind() {
    return {CfgFilter(), QStringLiteral("cfg"),
            MainWindow::tr("configuration", "what could not be saved"), ProgramTitle()};
}
const QString DefaultsName = QStringLiteral("defaults");

} // namespace

QString MainWindow::defaultsReadPath() const {
    // Whatever the current folder holds under the name (a file, a folder, a pipe, a broken
    // link) is the one read; only where it holds nothing is the per-user file read.
    const QString local = QDir(paths_.currentDir).filePath(DefaultsName);
    const QFileInfo info(local);
    if (info.exists() || info.isSymLink())
        return local;
    return defaultsWritePath();
}

QString MainWindow::defaultsWritePath() const {
    return QDir(paths_.userConfigDir).filePath(DefaultsName);
}

void MainWindow::reportFileError(const QString& text) {
    services_.dialogs.message(
        {text, ProgramTitle(), Dialogs::Buttons::Ok, Dialogs::Icon::Critical});
}

void MainWindow::loadDefaults() {
    // Anything unusable (not a regular file, too large, unreadable, damaged) gives the factory
    // settings, without a message.
    const ReadResult file = ReadWholeFile(defaultsReadPath(), MaxDefaultsFileSize);
    if (file.status == ReadStatus::Ok) {
        if (const auto image = ParseDefaultsFile(file.bytes)) {
            config_.CfgDefault = *image;
            return;
        }
    }
    config_.BuildBarDefaults();
    config_.BuildMagDefaults();
}

bool MainWindow::askToSave(SaveQuestion question) {
    QString text;
    if (question == SaveQuestion::BeforeExit)
        text = tr("Do you want to save your file?");
    else if (config_.HasUnsavedChanges())
        text = tr("Configuration had been changed,do you want to save your file?");
    else
        return true;
    const auto answer =
        services_.dialogs.message({text, ProgramTitle(), Dialogs::Buttons::YesNoCancel});
    if (answer == Dialogs::Answer::Cancel)
        return false;
    // A Save As cancelled in its dialog goes on; a save that failed stops the command, so that
    // the changes are not thrown away.
    return answer != Dialogs::Answer::Yes || save() != SaveOutcome::Failed;
}

bool MainWindow::closeImageWindows() {
    // The windows that show the image; the memory and firmware windows stay open.
    for (const WindowRow& row : WindowRegistry()) {
        if (row.showsImage)
            closeWindow(row.info.number);
    }
    for (const WindowRow& row : WindowRegistry()) {
        if (row.showsImage && openWindow(row.info.number))
            return false; // a busy window refused to close
    }
    return true;
}

void MainWindow::mnuFileNew_Click() {
    if (!askToSave(SaveQuestion::IfChanged))
        return;
    // The windows that show the image close before it changes, so none shows a stale image.
    if (!closeImageWindows())
        return;
    config_.RestoreBarDefaults();
    config_.RestoreMagDefaults();
    config_.MarkSaved();
    config_.SetNewFileHeaders(today());
    setCaption(ProgramTitle());
}

void MainWindow::mnuFileOpen_Click() {
    if (!askToSave(SaveQuestion::IfChanged))
        return;
    Dialogs::FileRequest request;
    request.filter = CfgFilter();
    request.defaultExtension = QStringLiteral("cfg");
    request.fileMustExist = true;
    if (const auto path = services_.dialogs.openFileName(request))
        openFile(*path);
}

void MainWindow::openFile(const QString& path) {
    // Only a regular file of a sensible size is opened: a named pipe or a device would block.
    const ReadResult file = ReadWholeFile(path, MaxConfigFileSize);
    if (file.status == ReadStatus::NotRegular || file.status == ReadStatus::Failed) {
        reportFileError(
            tr("The file %1 could not be opened: %2.").arg(ShownFileName(path), file.why));
        return;
    }
    CfgParseResult parsed;
    if (file.status == ReadStatus::TooLarge) {
        parsed.status = CfgParseStatus::Damaged;
        parsed.reason = tr("it is far too large for a configuration file");
    } else {
        parsed = ParseCfgFile(file.bytes);
    }
    // A refused file changes nothing: not the image, the header strings, the link settings,
    // the caption, the open window, nor CfgFileName (so Save never writes over the refused file).
    if (parsed.status == CfgParseStatus::WrongSignature) {
        services_.dialogs.inform(tr("This File Is Not A Configuration Setup File"), ProgramTitle());
        return;
    }
    if (parsed.status == CfgParseStatus::Damaged) {
        reportFileError(tr("The file %1 is damaged and was not opened: %2.")
                            .arg(ShownFileName(path), parsed.reason));
        return;
    }
    if (!closeImageWindows())
        return;
    config_.CfgFileName = path;
    config_.CfgFileStamp = file.stamp;
    ApplyContents(config_, parsed.contents);
    config_.MarkSaved();
    setCaption(ProgramTitle());
}

void MainWindow::mnuFileSave_Click() {
    save();
}

void MainWindow::mnuFileSaveAs_Click() {
    saveAs();
}

SaveOutcome MainWindow::save() {
    if (config_.CfgFileName == Config::NewFileName)
        return saveAs();
    return saveConfiguration(SaveMode::Save);
}

SaveOutcome MainWindow::saveAs() {
    return saveConfiguration(SaveMode::SaveAs);
}

SaveOutcome MainWindow::saveConfiguration(SaveMode mode) {
    QString path;
    FileStamp stamp = config_.CfgFileStamp;
    const SaveOutcome outcome = SaveDocument(
        services_.dialogs, ConfigurationKind(), mode, config_.CfgFileName,
        [this](QString* why) { return WriteCfgFile(ContentsOf(config_), why); }, &path, &stamp);
    if (outcome != SaveOutcome::Saved)
        return outcome;
    config_.MarkSaved();
    config_.CfgFileStamp = stamp;
    if (mode == SaveMode::SaveAs) {
        // The configuration takes the new name only once it has been written there.
        config_.CfgFileName = path;
        setCaption(ProgramTitle());
    }
    return outcome;
}

void MainWindow::mnuFileExit_Click() {
    // Yes and No close the window, whose closing asks again over unsaved changes.
    if (askToSave(SaveQuestion::BeforeExit))
        close();
}

void MainWindow::mnuFileDefault_Click() {
    const QString path = defaultsWritePath();
    QString why;
    if (!QDir().mkpath(paths_.userConfigDir)) {
        why = tr("the folder %1 cannot be created").arg(paths_.userConfigDir);
    } else if (WriteWholeFile(path, WriteDefaultsFile(config_.CfgData), &why)) {
        config_.CfgDefault = config_.CfgData;
        return;
    }
    reportFileError(tr("The default configuration could not be saved to %1: %2. "
                       "The defaults were not changed.")
                        .arg(path, why));
}

} // namespace orv
