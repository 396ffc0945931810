#pragma once

#include "result/GridColumn.h"

#include <string>
#include <vector>

// The title row's state of a result grid: each column's caption and bold flag, which the
// windows' title-click sorting changes, and the grid's own sort markers on title buttons,
// which title-button clicks advance. Neither reorders a row by itself.
class GridTitles {
public:
    enum class Marker { None, Down, Up };

    struct Title {
        std::string field;
        std::string caption;
        bool titleButton = true;
        bool bold = false;
        Marker marker = Marker::None;
        int sortIndex = 0;     // 1, 2, … among the marked columns; 0 when unmarked
        bool filtered = false; // a filter on the column is in force
    };

    explicit GridTitles(const std::vector<GridColumn>& columns);

    const Title& operator[](std::size_t column) const { return titles_[column]; }
    std::size_t size() const { return titles_.size(); }
    // How many columns carry a marker (indexes are shown when two or more do).
    int markedCount() const;

    // A completed click on a title button advances its marker: without Ctrl the others are
    // cleared and it goes none, down, up, down, …; with Ctrl the others stay and it goes
    // none, down, up, none. Titles that are not buttons keep every marker.
    void clickTitleButton(std::size_t column, bool ctrl);

    // The windows' title click sorts by the column's field, ascending first and then
    // alternating: the sort order text it asks for when the rows are sorted by `sortedNow`.
    std::string sortOrderForClick(std::size_t column, const std::string& sortedNow) const;
    // Once the rows are sorted so, only that title is marked with "▲" or "▼" and bold.
    void markSorted(std::size_t column, bool descending);
    // Whether a filter on the column is in force, for its title's filter mark.
    void setFiltered(std::size_t column, bool filtered) { titles_[column].filtered = filtered; }
    // The sort order text that the marked title stands for: empty while none is marked.
    std::string markedSortOrder() const;

    // While the rows shown are not yet in the marked title's order (they are still arriving),
    // the title is drawn as any other: without its "▲" or "▼", not bold.
    void holdSortMark(bool held) { sortMarkHeld_ = held; }
    std::string shownCaption(std::size_t column) const;
    bool shownBold(std::size_t column) const { return titles_[column].bold && !sortMarkHeld_; }

private:
    void setMarker(std::size_t column, Marker marker);

    std::vector<Title> titles_;
    bool sortMarkHeld_ = false;
};
