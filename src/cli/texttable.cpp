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

} // namespace orv
