// Every branch of a UNION in the ledger's statements types its figures alike: a server that
// takes a column's type from one branch's placeholder (0.0 is numeric(1,1)) would otherwise
// cut the decimals of every amount.
#include "db/ResultQuery.h"
#include "ledger/AgeingStatement.h"
#include "ledger/PeriodSummaryStatement.h"
#include "ledger/StockCardStatement.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

// The text split at `separator` where it stands outside parentheses and quotes.
std::vector<std::string> splitOutside(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts(1);
    int depth = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        quoted = c == '\'' ? !quoted : quoted;
        depth += quoted ? 0 : (c == '(') - (c == ')');
        if (!quoted && depth == 0 && text.compare(i, separator.size(), separator) == 0) {
            parts.emplace_back();
            i += separator.size() - 1;
            continue;
        }
        parts.back() += c;
    }
    return parts;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \r\n");
    return first == std::string::npos
               ? ""
               : text.substr(first, text.find_last_not_of(" \r\n") - first + 1);
}

// The select lists of the branches of the statement's one union (the innermost derived table's).
std::vector<std::vector<std::string>> unionBranches(const std::vector<std::string>& lines) {
    const std::string text = joinedStatement(lines);
    const std::size_t open = text.rfind("FROM (", text.find("UNION ALL")) + 6;
    std::size_t close = open;
    for (int depth = 1; depth > 0; ++close)
        depth += (text[close] == '(') - (text[close] == ')');
    const std::string inner = text.substr(open, close - 1 - open);
    std::vector<std::vector<std::string>> branches;
    for (const std::string& branch : splitOutside(inner, "UNION ALL")) {
        std::string list = trimmed(splitOutside(branch, " FROM ").front());
        EXPECT_TRUE(list.starts_with("SELECT ")) << list;
        std::vector<std::string> items;
        for (const std::string& item : splitOutside(list.substr(7), ","))
            items.push_back(std::regex_replace(trimmed(item), std::regex(" AS \\w+$"), ""));
        branches.push_back(items);
    }
    return branches;
}

// A column that a decimal placeholder or a cast types anywhere is cast to one type in every branch.
void expectTypedAlike(const std::vector<std::string>& lines) {
    const auto branches = unionBranches(lines);
    ASSERT_GE(branches.size(), 2U);
    const std::regex placeholder("-?[0-9]+\\.[0-9]+");
    const std::regex cast("CAST\\(([\\s\\S]*) AS ([a-z]+(\\([0-9]+,[0-9]+\\))?)\\)");
    for (std::size_t column = 0; column < branches.front().size(); ++column) {
        bool typed = false;
        for (const auto& branch : branches) {
            ASSERT_EQ(branch.size(), branches.front().size());
            typed = typed || std::regex_match(branch[column], placeholder) ||
                    branch[column].starts_with("CAST(");
        }
        if (!typed)
            continue;
        std::string type;
        for (const auto& branch : branches) {
            std::smatch match;
            ASSERT_TRUE(std::regex_match(branch[column], match, cast))
                << "column " << column << ": " << branch[column];
            if (type.empty())
                type = match[2];
            EXPECT_EQ(match[2], type) << "column " << column;
        }
    }
}

} // namespace

TEST(UnionTyping, TheSummaryTheCardAndTheAgeingCastEveryFigureAlikeInEveryBranch) {
    PeriodSummaryCriteria summary;
    summary.dateFrom = "2026-01-01";
    summary.dateTo = "2026-01-31";
    for (const bool byBatch : {false, true}) {
        summary.byBatch = byBatch;
        expectTypedAlike(periodSummaryStatement(summary));
    }
    StockCardCriteria card{"03", "0000001", std::nullopt, "2026-01-01", "2026-01-31"};
    expectTypedAlike(stockCardStatement(card));
    card.batch = "";
    expectTypedAlike(stockCardStatement(card));
    AgeingCriteria ageing;
    ageing.asOf = "2026-06-30";
    for (const bool byBatch : {false, true}) {
        ageing.byBatch = byBatch;
        expectTypedAlike(ageingStatement(ageing));
    }
}
