#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "CommandTable.h"
#include "FrameTestSupport.h"

namespace scrivo::testing {
namespace {

using MainFrameTest = FrameTest;

TEST_F(MainFrameTest, UntitledTitleAtStart) {
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Scrivo - Untitled"));
}

TEST_F(MainFrameTest, StatusLineOnEmptyText) {
    Frame().UpdateStatusLine();
    EXPECT_EQ(Frame().StatusPaneText(0), QStringLiteral("Ready"));
    EXPECT_EQ(Frame().StatusPaneText(1), QStringLiteral("Line 1  Col 1 \t1 Lines"));
}

TEST_F(MainFrameTest, StatusLineCountsCharactersAndTabsAsOneColumn) {
    SetText("first\n\tb\xc3\xa9z\nthird");
    // After the tab, "b" and the two-byte "é": three characters into the second line.
    Editor().SetSelectionRange(6 + 4, 6 + 4);
    Frame().UpdateStatusLine();
    EXPECT_EQ(Frame().StatusPaneText(1), QStringLiteral("Line 2  Col 4 \t3 Lines"));
}

}  // namespace
}  // namespace scrivo::testing
