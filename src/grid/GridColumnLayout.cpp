#include "GridColumnLayout.h"

#include <QHeaderView>

bool GridColumnLayout::isFrozen(int logicalIndex) const {
    return titles_.visualIndex(logicalIndex) < frozen_;
}

int GridColumnLayout::frozenWidth() const {
    int width = 0;
    for (int visual = 0; visual < std::min(frozen_, titles_.count()); ++visual)
        if (!titles_.isSectionHidden(titles_.logicalIndex(visual)))
            width += titles_.sectionSize(titles_.logicalIndex(visual));
    return width;
}

GridColumnLayout::Span GridColumnLayout::span(int logicalIndex) const {
    const int width = titles_.sectionSize(logicalIndex);
    const int visual = titles_.visualIndex(logicalIndex);
    if (visual >= frozen_)
        return {titles_.sectionViewportPosition(logicalIndex), width};
    int left = 0;
    for (int v = 0; v < visual; ++v)
        if (!titles_.isSectionHidden(titles_.logicalIndex(v)))
            left += titles_.sectionSize(titles_.logicalIndex(v));
    return {left, width};
}

int GridColumnLayout::logicalAt(int x) const {
    if (x < 0)
        return -1;
    if (x < frozenWidth()) {
        for (int visual = 0; visual < std::min(frozen_, titles_.count()); ++visual) {
            const int logical = titles_.logicalIndex(visual);
            const Span s = span(logical);
            if (!titles_.isSectionHidden(logical) && x >= s.left && x < s.left + s.width)
                return logical;
        }
    }
    return titles_.logicalIndexAt(x);
}

void GridColumnLayout::forEachShown(int width, const Visit& visit) const {
    const int frozenRight = frozenWidth();
    for (const bool frozen : {false, true})
        for (int visual = 0; visual < titles_.count(); ++visual) {
            const int logical = titles_.logicalIndex(visual);
            if (titles_.isSectionHidden(logical) || (visual < frozen_) != frozen)
                continue;
            const Span s = span(logical);
            const int clipLeft = frozen ? 0 : frozenRight;
            if (s.left + s.width > clipLeft && s.left < width)
                visit(logical, s, clipLeft);
        }
}
