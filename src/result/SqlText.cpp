#include "SqlText.h"

#include "CodePage936.h"

namespace {

// Text as it may stand between single quotes in a statement.
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

} // namespace

std::string_view literalOpening(std::string_view text) {
    return fitsCodePage936(text) ? "'" : "N'";
}

std::string sqlLiteral(std::string_view text) {
    return std::string(literalOpening(text)) + sqlQuoted(text) + "'";
}

std::string quotedCodeList(const std::vector<std::string>& codes) {
    std::string list;
    for (const std::string& code : codes) {
        if (!list.empty())
            list += ',';
        list += sqlLiteral(code);
    }
    return list;
}

std::string criterionLine(std::string_view text, std::string_view middle, std::string_view tail) {
    const std::string quoted = sqlQuoted(text);
    const std::string_view opening = literalOpening(text);
    std::string line = "  (";
    line += opening;
    line += quoted;
    line += middle.substr(0, middle.size() - 1);
    line += opening;
    line += "%" + quoted + "%";
    line += tail;
    return line;
}

std::string warehouseLabel(std::string_view table) {
    const std::string name = std::string(table) + ".cWhName";
    const std::string code = std::string(table) + ".cWhCode";
    return "CASE WHEN namesake.sharedName IS NULL THEN " + name + " ELSE CONCAT(" + name + ", " +
           sqlLiteral("（") + ", " + code + ", " + sqlLiteral("）") + ") END";
}

std::string sharedWarehouseNames(std::string_view table, std::string_view warehouses) {
    return " LEFT OUTER JOIN (SELECT cWhName AS sharedName FROM " + std::string(warehouses) +
           " GROUP BY cWhName HAVING COUNT(*) > 1) namesake ON namesake.sharedName = " +
           std::string(table) + ".cWhName ";
}
