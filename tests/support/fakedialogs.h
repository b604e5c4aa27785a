// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/dialogs.h"

#include <QList>
#include <QStringList>

#include <functional>

namespace orv::test {

// Dialogs that answer from queues and record every message and file request.
class FakeDialogs : public Dialogs {
public:
    struct Shown {
        Message message;
        Answer answer;
    };

    Answer message(const Message& m) override;
    std::optional<QString> openFileName(const FileRequest& r) override;
    std::optional<QString> saveFileName(const FileRequest& r) override;

    // Answers for the next messages, first in first out. An unscripted message gets its
    // default button, or its first button.
    QList<Answer> answers;
    // Results of the next file dialogs; an unscripted dialog is cancelled.
    QList<std::optional<QString>> openResults;
    QList<std::optional<QString>> saveResults;
    // Called for each message before it is answered (e.g. to act while a wait runs).
    std::function<void(const Message&)> onMessage;

    QList<Shown> shown;
    QList<FileRequest> openRequests;
    QList<FileRequest> saveRequests;

    QStringList texts() const;
    const Message& last() const { return shown.constLast().message; }
    void clear();
};

} // namespace orv::test
