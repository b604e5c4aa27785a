// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "shownmessages.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <vector>

namespace orv {

namespace {

constexpr char Context[] = "orv::LinkMessages";

// The texts the exchanges compose, with %1, %2, ... where they fill in a part (a number's text
// begins with a blank).
const char* const ComposedTexts[] = {
    QT_TRANSLATE_NOOP("orv::LinkMessages", "COM%1: not available."),
    QT_TRANSLATE_NOOP("orv::LinkMessages", "Get Firmware Version OK!\r\r%1"),
    QT_TRANSLATE_NOOP("orv::LinkMessages", "Transmit Data For Page %1 OK!"),
    QT_TRANSLATE_NOOP("orv::LinkMessages", "Be transmiting Data From  %1To %2 : %3"),
};

const QRegularExpression& PartMarker() {
    static const QRegularExpression marker(QStringLiteral("%([1-9])"));
    return marker;
}

// A composed text's English form, and the pattern that matches it with its parts captured.
struct Composed {
    const char* form;
    QRegularExpression pattern;
};

QRegularExpression PatternOf(const QString& form) {
    QString pattern;
    qsizetype from = 0;
    for (auto parts = PartMarker().globalMatch(form); parts.hasNext();) {
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
        for (const char* form : ComposedTexts)
            list.push_back({form, PatternOf(QString::fromUtf8(form))});
        return list;
    }();
    return patterns;
}

// `form` with %1, %2, ... replaced by the parts matched, in one pass (a part that holds "%2"
// stays as it is).
QString Filled(const QString& form, const QRegularExpressionMatch& parts) {
    QString text;
    qsizetype from = 0;
    for (auto markers = PartMarker().globalMatch(form); markers.hasNext();) {
        const QRegularExpressionMatch marker = markers.next();
        text += form.mid(from, marker.capturedStart() - from);
        text += parts.captured(marker.captured(1).toInt());
        from = marker.capturedEnd();
    }
    return text + form.mid(from);
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
            return Filled(shownForm, parts);
    }
    return text;
}

Dialogs::Message ShownLinkMessage(Dialogs::Message message) {
    message.text = ShownLinkText(message.text);
    message.title = ShownLinkText(message.title);
    return message;
}

} // namespace orv
