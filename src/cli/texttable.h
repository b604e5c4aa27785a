#pragma once

#include <QString>
#include <QStringList>

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

} // namespace orv
