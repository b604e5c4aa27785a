// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace orv {

// Every message box and file dialog of the program goes through this service, so that tests can
// answer them from a script and see every message shown.
class Dialogs {
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Icon { None, Information, Exclamation, Critical, Question };
    enum class Answer { Ok, Cancel, Yes, No };

    struct Message {
        Message() = default;
        Message(QString text_, QString title_, Buttons buttons_ = Buttons::Ok,
                Icon icon_ = Icon::None, std::optional<Answer> defaultButton_ = std::nullopt)
            : text(std::move(text_)), title(std::move(title_)), buttons(buttons_), icon(icon_),
              defaultButton(defaultButton_) {}

        QString text;  // shown with CR, LF and CR LF as line breaks
        QString title; // empty: the program's name
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        std::optional<Answer> defaultButton; // none: the first button
        QString details; // shown on request below the message (why it happened); empty: none
    };

    struct FileRequest {
        QString title;
        QString filter;           // "Description(*.ext)|*.ext"
        QString defaultExtension; // without the dot
        QString fileName;         // proposed name or path
        bool fileMustExist = false;
        bool overwritePrompt = false;
        bool pathMustExist = false;
    };

    virtual ~Dialogs() = default;

    virtual Answer message(const Message& m) = 0;
    // The chosen path, or nothing when the user cancelled.
    virtual std::optional<QString> openFileName(const FileRequest& r) = 0;
    virtual std::optional<QString> saveFileName(const FileRequest& r) = 0;

    // Shorthand for a message with an OK button.
    void inform(const QString& text, const QString& title) { message({text, title}); }
};

} // namespace orv
