// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace orv {

// Output for a person: rows of cells in aligned columns, in sections under headings. The
// columns line up across all sections; the last cell of a row is not padded.
class TextTable {
public:
    void heading(const QString& text);
    void row(const QStringList& cells);
    QString render() const;

private:
    struct Line {
        bool heading;
        QStringList cells;
    };
    std::vector<Line> lines_;
};

// Text for a person broken into lines of at most `width` characters at blanks (a word longer
// than a line stands on a line of its own; a line end in the text is kept): every line but the
// first starts with `indent` blanks, the first is taken to follow `used` characters already on
// it, and every line ends with a line end.
QString WrapText(const QString& text, int width, int indent = 0, int used = 0);

// Terms and their descriptions, as help texts list commands and options: "  TERM  description",
// the descriptions in one column and wrapped to `width`. A term too wide for its column stands on
// a line of its own, its description below it.
QString DefinitionList(const std::vector<std::pair<QString, QString>>& rows, int width);

} // namespace orv
