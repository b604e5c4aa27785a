// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/settingcodec.h"

#include <QJsonArray>
#include <QJsonObject>

#include <optional>
#include <vector>

namespace orv {

class CommandSet;

// The commands that read and write configuration files: keys, show, get, set and diff.
void AddFileCommands(CommandSet& commands);

// Stores KEY=VALUE assignments into a configuration, in order. The messages of the refused
// ones (the configuration may then hold some of the others).
QStringList Assign(ConfigFile& file, const QStringList& assignments);

// A setting whose value differs between two configurations.
struct SettingChange {
    const Setting* setting;
    SettingReading before;
    SettingReading after;
};
// Every setting that differs, in catalogue order. Header records count only when both files
// have them.
std::vector<SettingChange> Compare(const ConfigFile& a, const ConfigFile& b);
// "None → Even": a change for a person, as diff shows it; where both read the same (other
// bytes that show alike), with the stored codes after them.
QString ChangeText(const SettingChange& change);

// The JSON that keys --json, show --json and diff --json print.
QJsonArray KeysJson();
QJsonObject ShowJson(const QString& path, const ConfigFile& file);
QJsonArray DiffJson(const std::vector<SettingChange>& changes);

} // namespace orv
