#include "TextFormats.h"

#include <gtest/gtest.h>

namespace scrivo {
namespace {

TEST(TextFormatsTest, TitleNamesTheFullPathOrUntitled) {
    EXPECT_EQ(TitleText(""), "Scrivo - Untitled");
    EXPECT_EQ(TitleText("/home/ann/a b/prog.c"), "Scrivo - /home/ann/a b/prog.c");
}

TEST(TextFormatsTest, StatusLinePutsTheCountAfterATab) {
    const std::string text = StatusLineText({2, 4, 17});
    EXPECT_EQ(text, "Line 2  Col 4 \t17 Lines");
    const StatusLineParts parts = SplitStatusLine(text);
    EXPECT_EQ(parts.left, "Line 2  Col 4 ");
    EXPECT_EQ(parts.centred, "17 Lines");
    EXPECT_EQ(SplitStatusLine("Ready").centred, "");
}

}  // namespace
}  // namespace scrivo
