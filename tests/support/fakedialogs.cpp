// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakedialogs.h"

namespace orv::test {

Dialogs::Answer FakeDialogs::message(const Message& m) {
    if (onMessage)
        onMessage(m);
    Answer a;
    if (!answers.isEmpty()) {
        a = answers.takeFirst();
    } else if (m.defaultButton) {
        a = *m.defaultButton;
    } else {
        switch (m.buttons) {
        case Buttons::Ok:
        case Buttons::OkCancel:
            a = Answer::Ok;
            break;
        default:
            a = Answer::Yes;
            break;
        }
    }
    shown.append({m, a});
    return a;
}

std::optional<QString> FakeDialogs::openFileName(const FileRequest& r) {
    openRequests.append(r);
    return openResults.isEmpty() ? std::nullopt : openResults.takeFirst();
}

std::optional<QString> FakeDialogs::saveFileName(const FileRequest& r) {
    saveRequests.append(r);
    return saveResults.isEmpty() ? std::nullopt : saveResults.takeFirst();
}

QStringList FakeDialogs::texts() const {
    QStringList out;
    for (const Shown& s : shown)
        out << s.message.text;
    return out;
}

void FakeDialogs::clear() {
    answers.clear();
    openResults.clear();
    saveResults.clear();
    shown.clear();
    openRequests.clear();
    saveRequests.clear();
}

} // namespace orv::test
