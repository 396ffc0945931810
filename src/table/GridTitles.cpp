#include "GridTitles.h"

namespace {

const std::string kAscendingMark = "▲";
const std::string kDescendingMark = "▼";

} // namespace

GridTitles::GridTitles(const std::vector<GridColumn>& columns) {
    for (const GridColumn& column : columns)
        titles_.push_back({column.field, column.caption(), column.titleButton});
}

int GridTitles::markedCount() const {
    int marked = 0;
    for (const Title& title : titles_)
        marked += title.marker != Marker::None;
    return marked;
}

void GridTitles::setMarker(std::size_t column, Marker marker) {
    Title& title = titles_[column];
    if (title.marker == Marker::None && marker != Marker::None) {
        title.sortIndex = markedCount() + 1;
    } else if (title.marker != Marker::None && marker == Marker::None) {
        for (Title& other : titles_)
            if (other.sortIndex > title.sortIndex)
                --other.sortIndex;
        title.sortIndex = 0;
    }
    title.marker = marker;
}

void GridTitles::clickTitleButton(std::size_t column, bool ctrl) {
    if (!titles_[column].titleButton)
        return;
    if (!ctrl)
        for (std::size_t other = 0; other < titles_.size(); ++other)
            if (other != column)
                setMarker(other, Marker::None);
    const Marker current = titles_[column].marker;
    Marker next = Marker::Down;
    if (current == Marker::Down)
        next = Marker::Up;
    else if (current == Marker::Up)
        next = ctrl ? Marker::None : Marker::Down;
    setMarker(column, next);
}

std::string GridTitles::sortOrderForClick(std::size_t column, const std::string& sortedNow) const {
    const std::string ascending = titles_[column].field + " ASC";
    return sortedNow == ascending ? titles_[column].field + " DESC" : ascending;
}

namespace {

std::string unmarked(const std::string& caption) {
    for (const std::string& mark : {kAscendingMark, kDescendingMark})
        if (caption.starts_with(mark))
            return caption.substr(mark.size());
    return caption;
}

} // namespace

std::string GridTitles::shownCaption(std::size_t column) const {
    return sortMarkHeld_ ? unmarked(titles_[column].caption) : titles_[column].caption;
}

void GridTitles::markSorted(std::size_t column, bool descending) {
    for (Title& title : titles_) {
        title.caption = unmarked(title.caption);
        title.bold = false;
    }
    Title& sorted = titles_[column];
    sorted.bold = true;
    sorted.caption = (descending ? kDescendingMark : kAscendingMark) + sorted.caption;
}

std::string GridTitles::markedSortOrder() const {
    for (const Title& title : titles_) {
        if (title.caption.starts_with(kAscendingMark))
            return title.field + " ASC";
        if (title.caption.starts_with(kDescendingMark))
            return title.field + " DESC";
    }
    return {};
}
