// Whether a cell's text fits its box, told from its characters' advances, against the text laid
// out whole.
#include "pages/CellFonts.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

// Texts of every kind a cell holds: Chinese, digits and separators, Latin with kerned pairs,
// spaces, a combining accent, a character outside the basic plane, a tab and a soft hyphen.
const QStringList kTexts = {
    "半成品库",
    "0000026 陶瓷垫片",
    "37,990.1234",
    "-1,234.5",
    "2026-12-09",
    "AVATAR To Wy",
    "fi ffl LT",
    "  两 个 空格  ",
    "e\u0301te\u0301",
    "\U00020000字",
    "甲\t乙",
    "co\u00adop",
    "",
    "b0001-X",
    "ＡＢＣ全角",
};

TEST(CellFonts, TellsFitAsTheWholeTextLaidOutDoesForEveryTextAndWidth) {
    CellFonts fonts;
    for (const bool bold : {false, true}) {
        const ExportFont exported{.family = "SimSun", .pixelSize = 12, .bold = bold};
        CellFonts::Font& font = fonts.of(exported);
        EXPECT_EQ(&font, &fonts.of(exported)); // made once
        EXPECT_EQ(font.font().bold(), bold);
        for (const QString& text : kTexts) {
            const double laidOut = font.width(text);
            for (const double width : {laidOut - 1, laidOut - 0.25, laidOut, laidOut + 0.25})
                EXPECT_EQ(font.fits(text, width), laidOut <= width)
                    << text.toStdString() << " in " << width << " (laid out " << laidOut << ")";
        }
        // Measured again from the advances kept, the answers stay the same.
        for (const QString& text : kTexts)
            EXPECT_TRUE(font.fits(text, font.width(text))) << text.toStdString();
    }
}

TEST(CellFonts, KeepsEachFontApartAndFallsBackToTheChineseFonts) {
    CellFonts fonts;
    const ExportFont plain{.family = "SimSun", .pixelSize = 12};
    ExportFont large = plain;
    large.pixelSize = 20;
    CellFonts::Font& small = fonts.of(plain);
    CellFonts::Font& big = fonts.of(large);
    EXPECT_NE(&small, &big);
    const QString text = "现存量 12,345";
    EXPECT_TRUE(big.fits(text, big.width(text)));
    EXPECT_FALSE(big.fits(text, small.width(text)));
    EXPECT_TRUE(small.fits(text, small.width(text)));
    EXPECT_EQ(big.font().pixelSize(), 20);
    EXPECT_EQ(big.font().families().front(), "SimSun");
    EXPECT_GT(big.font().families().size(), 1);
}

} // namespace
