// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shownmessages.h"

#include "linkmessages.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <vector>

namespace orv {

namespace {

constexpr char Context[] = "orv::LinkMessages";

// A composed text's English form, and the pattern that matches it with its parts captured.
struct Composed {
    const char* form;
    QRegularExpression pattern;
};

QRegularExpression PatternOf(const QString& form) {
    QString pattern;
    qsizetype from = 0;
    for (auto parts = LinkPartMarker().globalMatch(form); parts.hasNext();) {
        const QRegularExpressionMatch part = parts.next();
        pattern += QRegularExpression::escape(form.mid(from, part.capturedStart() - from)) +
                   QStringLiteral("(.*)");
        from = part.capturedEnd();
    }
    pattern += QRegularExpression::escape(form.mid(from));
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                              QRegularExpression::DotMatchesEverythingOption);
}

const std::vector<Composed>& ComposedPatterns() {
    static const std::vector<Composed> patterns = [] {
        std::vector<Composed> list;
        for (const char* form : ComposedLinkForms())
            list.push_back({form, PatternOf(QString::fromUtf8(form))});
        return list;
    }();
    return patterns;
}

} // namespace

QString ShownLinkText(const QString& text) {
    if (text.isEmpty())
        return text;
    const QString whole = QCoreApplication::translate(Context, text.toUtf8().constData());
    if (whole != text)
        return whole;
    for (const Composed& c : ComposedPatterns()) {
        const QString shownForm = QCoreApplication::translate(Context, c.form);
        if (shownForm == QLatin1String(c.form))
            continue; // not translated
        const QRegularExpressionMatch parts = c.pattern.match(text);
        if (parts.hasMatch())
            return FilledText(shownForm, parts.capturedTexts().mid(1));
    }
    return text;
}

Dialogs::Message ShownLinkMessage(Dialogs::Message message) {
    message.text = ShownLinkText(message.text);
    message.title = ShownLinkText(message.title);
    return message;
}

} // namespace orv
