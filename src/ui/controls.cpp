// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>

#include <memory>
#include <utility>

namespace orv {

namespace {

// The title as spoken: an access-key "&" dropped, "&&" read as "&".
QString WithoutAccessKey(const QString& title) {
    QString spoken;
    spoken.reserve(title.size());
    for (qsizetype i = 0; i < title.size(); ++i) {
        if (title[i] == QLatin1Char('&')) {
            if (++i == title.size())
                break;
        }
        spoken += title[i];
    }
    return spoken;
}

} // namespace

QGroupBox* TitledFrame(const QString& objectName, const QString& title, QWidget* parent) {
    auto* frame = new QGroupBox(title, parent);
    frame->setObjectName(objectName);
    frame->setAccessibleName(WithoutAccessKey(title));
    return frame;
}

void OnOptionChosen(QButtonGroup* group, QObject* context, std::function<void(int)> chosen) {
    // Every click starts with a press, which tells whether the click can change the selection.
    auto checkedWhenPressed = std::make_shared<bool>(false);
    QObject::connect(group, &QButtonGroup::idPressed, context, [group, checkedWhenPressed](int id) {
        const QAbstractButton* b = group->button(id);
        *checkedWhenPressed = b && b->isChecked();
    });
    QObject::connect(group, &QButtonGroup::idToggled, context, [chosen](int id, bool checked) {
        if (checked) // an exclusive group also reports the option that lost the selection
            chosen(id);
    });
    QObject::connect(group, &QButtonGroup::idClicked, context,
                     [chosen, checkedWhenPressed](int id) {
                         if (std::exchange(*checkedWhenPressed, false))
                             chosen(id);
                     });
}

} // namespace orv
