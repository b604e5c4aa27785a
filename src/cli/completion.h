// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace orv {

struct Command;

// The shells orvctl writes a completion script for.
enum class Shell { Bash, Zsh };

// "bash" or "zsh"; nothing for any other name.
std::optional<Shell> ShellNamed(const QString& name);

// The completion script of `program` for a shell, made from its command table and the settings
// catalogue: the commands, each command's options, the values of the options (ports, files, the
// line settings' values), and its operands as its synopsis names them (FILE, KEY, KEY=VALUE,
// read|clear), with the catalogue's keys and each key's values. The build writes the scripts
// that the package installs ("orvctl --completion bash").
QString CompletionScript(Shell shell, const QString& program, const std::vector<Command>& commands);

} // namespace orv
