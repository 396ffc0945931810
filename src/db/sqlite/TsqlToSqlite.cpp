#include "TsqlToSqlite.h"

namespace {

bool isIdentifierChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '@' || c == '#' || c == '$' || static_cast<unsigned char>(c) >= 0x80;
}

bool startsWithIsnullCall(std::string_view rest) {
    constexpr std::string_view kWord = "isnull";
    if (rest.size() < kWord.size())
        return false;
    for (std::size_t i = 0; i < kWord.size(); ++i)
        if ((rest[i] | 0x20) != kWord[i])
            return false;
    std::size_t i = kWord.size();
    while (i < rest.size() &&
           (rest[i] == ' ' || rest[i] == '\t' || rest[i] == '\r' || rest[i] == '\n'))
        ++i;
    return i < rest.size() && rest[i] == '(';
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
        else if ((i == 0 || !isIdentifierChar(sql[i - 1])) && startsWithIsnullCall(rest)) {
            out += "IFNULL";
            i += 6;
            continue;
        } else if ((i == 0 || !isIdentifierChar(sql[i - 1])) && (rest[0] | 0x20) == 'n' &&
                   rest.size() > 1 && rest[1] == '\'') {
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
