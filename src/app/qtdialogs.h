// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/dialogs.h"

#include <QFileIconProvider>

class QFileDialog;
class QMimeType;
class QWidget;

namespace orv {

// Icons and types of the files a file dialog lists, from their names alone. Qt's own provider
// reads the start of every file to tell its type, in the interface thread: a file whose read
// blocks (a link to /proc/kmsg, a slow network file) would freeze the dialog, and with it every
// later dialog that starts in the same folder.
class NameOnlyIconProvider : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;

private:
    static QMimeType TypeByName(const QFileInfo& info);
};

// Dialogs shown with QMessageBox and QFileDialog. A file dialog whose proposed name names no
// folder starts in the folder of the file chosen last, which is kept in `settingsFile` (none:
// only while the program runs). The file dialogs never read the files they list.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QString settingsFile = QString(), QWidget* parent = nullptr)
        : settingsFile_(std::move(settingsFile)), parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    Answer message(const Message& m) override;
    std::optional<QString> openFileName(const FileRequest& r) override;
    std::optional<QString> saveFileName(const FileRequest& r) override;

    // Line breaks of a message as the box shows them: CR LF, LF CR, CR and LF each end a line.
    static QString DisplayText(const QString& text);
    // A filter of the form "Files(*.x)|*.x|All(*.*)|*.*" as QFileDialog takes it.
    static QString QtFilter(const QString& filter);
    // "Path must exist": the message that refuses a chosen file whose folder does not exist, or
    // nothing when the folder is there.
    static std::optional<QString> MissingFolderText(const QString& path);

private:
    QWidget* dialogParent() const;
    void prepare(QFileDialog& dialog, const FileRequest& r) const;
    std::optional<QString> run(QFileDialog& dialog);

    QString settingsFile_;
    QString lastFolder_;
    QWidget* parent_;
    mutable NameOnlyIconProvider icons_; // stateless; the dialogs only read it
};

} // namespace orv
