#pragma once

#include <QString>

#include <functional>
#include <vector>

// Rows of a grid as tab-separated text for the clipboard: a line per row, ended by a line
// feed, with the cells of `columns` (logical columns in display order) as `cell` gives them;
// a tab or line break inside a cell becomes a blank, so that rows and columns stay apart.
// With titles, their line comes first.
QString tabSeparatedRows(const std::vector<int>& columns, const std::vector<int>& rows,
                         const std::function<QString(int row, int column)>& cell,
                         const std::vector<QString>& titles = {});

// Whether a character inside a value would break the rows of tab-separated text.
inline bool breaksTextRows(char32_t c) {
    return c == '\t' || c == '\r' || c == '\n';
}

// The text with every character that breaks rows made a blank.
QString withoutRowBreaks(QString text);
