// SPDX-FileCopyrightText: 2026 The orvcfg developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "texttable.h"

namespace orv {

void TextTable::heading(const QString& text) {
    lines_.push_back({true, {text}});
}

void TextTable::row(const QStringList& cells) {
    lines_.push_back({false, cells});
}

QString TextTable::render() const {
    std::vector<qsizetype> widths;
    for (const Line& l : lines_) {
        if (l.heading)
            continue;
        if (widths.size() < static_cast<size_t>(l.cells.size()))
            widths.resize(l.cells.size(), 0);
        for (qsizetype c = 0; c < l.cells.size(); ++c)
            widths[c] = std::max(widths[c], l.cells[c].size());
    }
    QString out;
    bool first = true;
    for (const Line& l : lines_) {
        if (l.heading) {
            if (!first)
                out += QLatin1Char('\n');
            out += l.cells.first() + QLatin1Char('\n');
        } else {
            // Rows stand indented under their heading.
            QString line = QStringLiteral("  ");
            for (qsizetype c = 0; c < l.cells.size(); ++c) {
                const bool last = c + 1 == l.cells.size();
                line += last ? l.cells[c] : l.cells[c].leftJustified(widths[c] + 2);
            }
            while (line.endsWith(QLatin1Char(' ')))
                line.chop(1);
            out += line + QLatin1Char('\n');
        }
        first = false;
    }
    return out;
}

QString WrapText(const QString& text, int width, int indent, int used) {
    const QString margin(indent, QLatin1Char(' '));
    QString out;
    qsizetype start = -used; // where the line being filled starts in `out`, counting `used`
    bool firstLine = true;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        if (!firstLine) {
            start = out.size();
            out += margin;
        }
        bool empty = true;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (!empty && out.size() - start + 1 + word.size() > width) {
                out += QLatin1Char('\n');
                start = out.size();
                out += margin;
                empty = true;
            }
            if (!empty)
                out += QLatin1Char(' ');
            out += word;
            empty = false;
        }
        out += QLatin1Char('\n');
        firstLine = false;
    }
    return out;
}

QString DefinitionList(const std::vector<std::pair<QString, QString>>& rows, int width) {
    auto render = [&rows, width](int column) {
        QString out;
        for (const auto& [term, description] : rows) {
            QString head = QStringLiteral("  ") + term;
            if (head.size() + 2 > column) {
                out += head + QLatin1Char('\n');
                head.clear();
            }
            out += head.leftJustified(column) + WrapText(description, width, column, column);
        }
        return out;
    };
    // The description column where the list takes the fewest lines (the widest of those): a
    // few long terms may stand on lines of their own to give the descriptions room.
    QString best;
    for (const auto& row : rows) {
        const int column = static_cast<int>(row.first.size()) + 4;
        if (column > std::max(8, width - 20))
            continue;
        const QString text = render(column);
        if (best.isEmpty() || text.count(QLatin1Char('\n')) < best.count(QLatin1Char('\n')) ||
            (text.count(QLatin1Char('\n')) == best.count(QLatin1Char('\n')) &&
             text.size() > best.size()))
            best = text;
    }
    return best.isEmpty() ? render(8) : best;
}

} // namespace orv
