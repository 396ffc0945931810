#include "result/CollationKeys.h"

#include <gtest/gtest.h>
#include <unicode/ucol.h>

#include <memory>
#include <random>

namespace {

struct CollatorCloser {
    void operator()(UCollator* collator) const { ucol_close(collator); }
};

// The collator's own verdict on two UTF-8 texts: -1, 0 or 1.
class ChineseCollation {
public:
    ChineseCollation() {
        UErrorCode status = U_ZERO_ERROR;
        collator_.reset(ucol_open("zh", &status));
        EXPECT_TRUE(U_SUCCESS(status));
    }
    int compare(std::string_view a, std::string_view b) const {
        UErrorCode status = U_ZERO_ERROR;
        return ucol_strcollUTF8(collator_.get(), a.data(), static_cast<int32_t>(a.size()), b.data(),
                                static_cast<int32_t>(b.size()), &status);
    }

private:
    std::unique_ptr<UCollator, CollatorCloser> collator_;
};

int sign(int value) {
    return (value > 0) - (value < 0);
}

// Every pair's key order agrees with the collator, and the sorted indices are in its order.
void expectCollatorOrder(const std::vector<std::string>& texts) {
    const std::vector<std::string_view> views(texts.begin(), texts.end());
    const CollationKeys keys(views);
    const ChineseCollation collation;
    for (std::size_t a = 0; a < texts.size(); ++a)
        for (std::size_t b = 0; b < texts.size(); ++b)
            ASSERT_EQ(sign(keys.key(a).compare(keys.key(b))), collation.compare(texts[a], texts[b]))
                << texts[a] << " vs " << texts[b];
    const std::vector<std::uint32_t> sorted = keys.sortedIndices();
    ASSERT_EQ(sorted.size(), texts.size());
    for (std::size_t i = 1; i < sorted.size(); ++i)
        ASSERT_LE(collation.compare(texts[sorted[i - 1]], texts[sorted[i]]), 0)
            << texts[sorted[i - 1]] << " before " << texts[sorted[i]];
}

// Codes as ERP data holds them: shared beginnings, both cases, marks, some repeated.
std::vector<std::string> randomCodes(std::size_t count, std::string_view alphabet) {
    std::mt19937 random(20261208);
    std::vector<std::string> codes{"", "B", "b", "B0", "b0", "B00000001", "B00000001"};
    while (codes.size() < count) {
        std::string code = random() % 3 == 0 ? "B0000" : "";
        for (std::size_t length = random() % 12; length-- > 0;)
            code += alphabet[random() % alphabet.size()];
        codes.push_back(code);
        if (random() % 5 == 0)
            codes.push_back(code); // equal texts are found next to each other
    }
    return codes;
}

} // namespace

TEST(CollationKeysTest, CodesOfLettersDigitsAndMarksCollateAsTheCollatorSays) {
    const std::vector<std::string> codes =
        randomCodes(600, "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ-_./ ");
    const std::vector<std::string_view> views(codes.begin(), codes.end());
    EXPECT_TRUE(CollationKeys(views).fromCharacterTable());
    expectCollatorOrder(codes);
}

TEST(CollationKeysTest, AnyOtherTextIsKeyedByTheCollatorForTheWholeColumn) {
    std::vector<std::string> texts = randomCodes(300, "0189aAzZ-");
    for (const char* other : {"阿姨", "北京", "深沟球轴承6204", "Ångström", "a+b", "A&B", "中国"})
        texts.push_back(other);
    const std::vector<std::string_view> views(texts.begin(), texts.end());
    EXPECT_FALSE(CollationKeys(views).fromCharacterTable());
    expectCollatorOrder(texts);
}

TEST(CollationKeysTest, LongCommonBeginningsSortWholeAndEqualKeysStayTogether) {
    // Enough items to be sorted a byte at a time, with runs that need the next eight bytes.
    std::vector<std::string> codes;
    for (int i = 6000; i-- > 0;)
        codes.push_back(char('A' + i % 7) + std::string("AREHOUSE-A-BATCH-2026-") +
                        std::to_string(i % 1750)); // each text three or four times
    const std::vector<std::string_view> views(codes.begin(), codes.end());
    const CollationKeys keys(views);
    const std::vector<std::uint32_t> sorted = keys.sortedIndices();
    const ChineseCollation collation;
    for (std::size_t i = 1; i < sorted.size(); ++i) {
        const int order = collation.compare(codes[sorted[i - 1]], codes[sorted[i]]);
        ASSERT_LE(order, 0);
        ASSERT_EQ(order == 0, keys.key(sorted[i - 1]) == keys.key(sorted[i]));
    }
}
