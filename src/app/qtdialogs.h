#pragma once

#include "core/dialogs.h"

class QWidget;

namespace orv {

// Dialogs shown with QMessageBox and QFileDialog.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
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
    QWidget* parent_;
};

} // namespace orv
