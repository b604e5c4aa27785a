// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QButtonGroup;
class QGroupBox;
class QObject;
class QWidget;

namespace orv {

// A frame with its object name and title, announced by its own title. (An accessibility client
// asking a frame for its name gets the title of the frame around it when there is one: a frame
// without an accessible name of its own takes its parent frame's title as its label.)
QGroupBox* TitledFrame(const QString& objectName, const QString& title, QWidget* parent = nullptr);

// Runs `chosen(id)` once each time an option of the exclusive group is chosen: when an option
// becomes checked, however that happens (a click, the arrow keys, an accessibility client's
// Toggle action, the program itself), and when a click lands on the option already checked
// (a click runs its option's handler whether or not it changes the selection).
void OnOptionChosen(QButtonGroup* group, QObject* context, std::function<void(int)> chosen);

} // namespace orv
