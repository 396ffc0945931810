#include "SqlText.h"

std::string sqlQuoted(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out;
}

std::string quotedCodeList(const std::vector<std::string>& codes) {
    std::string list;
    for (const std::string& code : codes) {
        if (!list.empty())
            list += ',';
        list += '\'' + sqlQuoted(code) + '\'';
    }
    return list;
}

std::string criterionLine(std::string_view text, std::string_view middle, std::string_view tail) {
    const std::string quoted = sqlQuoted(text);
    std::string line = "  ('" + quoted;
    line += middle;
    line += "%" + quoted + "%";
    line += tail;
    return line;
}
