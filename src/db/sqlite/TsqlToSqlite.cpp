#include "TsqlToSqlite.h"

namespace {

bool isIdentifierChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '@' || c == '#' || c == '$' || static_cast<unsigned char>(c) >= 0x80;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The length of `rest` up to and with the "(" of a call of `function` (in lower case) that
// starts it; 0 when no such call starts it.
std::size_t callOpening(std::string_view rest, std::string_view function) {
    if (rest.size() < function.size())
        return 0;
    for (std::size_t i = 0; i < function.size(); ++i)
        if ((rest[i] | 0x20) != function[i])
            return 0;
    std::size_t i = function.size();
    while (i < rest.size() && isBlank(rest[i]))
        ++i;
    return i < rest.size() && rest[i] == '(' ? i + 1 : 0;
}

// Length of the quoted part starting at text[0] (closing quote included; a doubled quote
// stands for one), or of the whole rest when it is not closed.
std::size_t quotedLength(std::string_view text, char close) {
    for (std::size_t i = 1; i < text.size(); ++i)
        if (text[i] == close) {
            if (i + 1 < text.size() && text[i + 1] == close)
                ++i;
            else
                return i + 1;
        }
    return text.size();
}

std::size_t commentLength(std::string_view text) {
    if (text.starts_with("--")) {
        const std::size_t end = text.find('\n');
        return end == std::string_view::npos ? text.size() : end + 1;
    }
    const std::size_t end = text.find("*/", 2);
    return end == std::string_view::npos ? text.size() : end + 2;
}

} // namespace

std::string tsqlToSqlite(std::string_view sql) {
    std::string out;
    out.reserve(sql.size());
    std::size_t i = 0;
    while (i < sql.size()) {
        const std::string_view rest = sql.substr(i);
        std::size_t verbatim = 0;
        if (rest[0] == '\'' || rest[0] == '"')
            verbatim = quotedLength(rest, rest[0]);
        else if (rest[0] == '[')
            verbatim = quotedLength(rest, ']');
        else if (rest.starts_with("--") || rest.starts_with("/*"))
            verbatim = commentLength(rest);
        else if (const bool wordStart = i == 0 || !isIdentifierChar(sql[i - 1]);
                 wordStart && callOpening(rest, "isnull") > 0) {
            out += "IFNULL";
            i += 6;
            continue;
        } else if (const std::size_t opening = callOpening(rest, "datediff");
                   wordStart && opening > 0) {
            // The unit is a bare word that SQLite would read as a column: quoted, it is text.
            std::size_t unit = opening;
            while (unit < rest.size() && isBlank(rest[unit]))
                ++unit;
            std::size_t unitEnd = unit;
            while (unitEnd < rest.size() && isIdentifierChar(rest[unitEnd]))
                ++unitEnd;
            out.append(rest.substr(0, unit));
            out += "'" + std::string(rest.substr(unit, unitEnd - unit)) + "'";
            i += unitEnd;
            continue;
        } else if (wordStart && (rest[0] | 0x20) == 'n' && rest.size() > 1 && rest[1] == '\'') {
            ++i; // N'...' is a Unicode literal; every SQLite text is one
            continue;
        }
        if (verbatim == 0)
            verbatim = 1;
        out.append(rest.substr(0, verbatim));
        i += verbatim;
    }
    return out;
}
