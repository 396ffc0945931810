#include "GridCopy.h"

#include <algorithm>

QString withoutRowBreaks(QString text) {
    const auto breaksRows = [](QChar c) { return breaksTextRows(c.unicode()); };
    if (std::any_of(text.cbegin(), text.cend(), breaksRows))
        std::replace_if(text.begin(), text.end(), breaksRows, QChar(u' '));
    return text;
}
