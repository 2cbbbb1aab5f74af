#include "TextFormats.h"

#include <gtest/gtest.h>

namespace scrivo {
namespace {

TEST(TextFormatsTest, TitleNamesTheFullPathOrUntitled) {
    EXPECT_EQ(titleText(""), "Scrivo - Untitled");
    EXPECT_EQ(titleText("/home/ann/a b/prog.c"), "Scrivo - /home/ann/a b/prog.c");
}

TEST(TextFormatsTest, StatusLinePutsTheCountAfterATab) {
    const std::string text = statusLineText({2, 4, 17});
    EXPECT_EQ(text, "Line 2  Col 4 \t17 Lines");
    const StatusLineParts parts = splitStatusLine(text);
    EXPECT_EQ(parts.left, "Line 2  Col 4 ");
    EXPECT_EQ(parts.centred, "17 Lines");
    EXPECT_EQ(splitStatusLine("Ready").centred, "");
}

}  // namespace
}  // namespace scrivo
