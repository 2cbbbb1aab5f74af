#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <cerrno>
#include <string>

#include "CommandTable.h"
#include "FrameTestSupport.h"
#include "SchemeIdentifiers.h"

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

TEST_F(MainFrameTest, KeyClickToggledTwiceIsAsBeforeAndReachesTheFileOnlyAtExit) {
    QAction *keyClick = Frame().ActionFor(command::kOptionsKeyClick);
    ASSERT_TRUE(keyClick->isChecked());
    const std::string before = ReadSettingsFile();
    Frame().ExecuteCommand(command::kOptionsKeyClick);
    EXPECT_FALSE(keyClick->isChecked());
    EXPECT_FALSE(Editor().KeyClick());
    EXPECT_EQ(ReadSettingsFile(), before);
    Frame().ExecuteCommand(command::kOptionsKeyClick);
    EXPECT_TRUE(keyClick->isChecked());
    EXPECT_TRUE(Frame().KeyClickOn());
    EXPECT_TRUE(Editor().KeyClick());
}

TEST_F(MainFrameTest, ClicksOncePerKeyPressAndNeverWhenOff) {
    QTest::keyClicks(&Editor(), "ab");
    QTest::keyClick(&Editor(), Qt::Key_Shift);
    EXPECT_EQ(m_sound.clicks, 3);
    // Frame commands take their keys before the control: no click, no text. The modifier keys
    // pressed on their own reach the control and click.
    QTest::keyClick(&Editor(), Qt::Key_F6);
    QTest::keyClick(&Editor(), Qt::Key_F6, Qt::ShiftModifier);
    QTest::keyClick(&Editor(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(m_sound.clicks, 5);
    EXPECT_EQ(Editor().text(), QStringLiteral("ab"));
    EXPECT_EQ(Editor().SelectionStart(), 0) << "Ctrl+A runs the frame's Select All";
    EXPECT_EQ(Editor().SelectionEnd(), 2);

    Editor().SetSelectionRange(2, 2);
    Frame().ExecuteCommand(command::kOptionsKeyClick);
    QTest::keyClicks(&Editor(), "cd");
    EXPECT_EQ(m_sound.clicks, 5);
    EXPECT_EQ(Editor().text(), QStringLiteral("abcd"));
}

TEST_F(MainFrameTest, SettingsWrittenAtExitKeepTheRestOfTheFile) {
    WriteSettingsFile(
        "<?xml version=\"1.0\"?>\n<!-- mine -->\n<Anything>\n    <Extra>kept</Extra>\n"
        "    <KeyClick>1</KeyClick>\n    <ColorScheme>32798</ColorScheme>\n</Anything>\n");
    Frame().ExecuteCommand(kDarkScheme);
    Frame().ExecuteCommand(command::kOptionsKeyClick);
    DestroyFrame();
    const std::string file = ReadSettingsFile();
    EXPECT_NE(file.find("<ColorScheme>32802</ColorScheme>"), std::string::npos) << file;
    EXPECT_NE(file.find("<KeyClick>0</KeyClick>"), std::string::npos) << file;
    EXPECT_NE(file.find("<Extra>kept</Extra>"), std::string::npos) << file;
    EXPECT_NE(file.find("<!-- mine -->"), std::string::npos) << file;
}

TEST_F(MainFrameTest, UnknownSchemeIdentifiersKeepTheFallbackColoursAndGoBackUnchanged) {
    for (const std::string &id :
         {std::string("0"), std::to_string(FreeSchemeIdentifiers().at(0)), std::string("-5")}) {
        WriteSettingsFile("<S><ColorScheme>" + id + "</ColorScheme><KeyClick>0</KeyClick></S>");
        Frame();
        EXPECT_EQ(Frame().Colors(), FindColorScheme(kFallbackSchemeId)->colors) << id;
        EXPECT_EQ(Editor().GutterBackground(),
                  FindColorScheme(kFallbackSchemeId)->colors.background);
        EXPECT_FALSE(Frame().ActionFor(command::kOptionsKeyClick)->isChecked());
        DestroyFrame();
        EXPECT_NE(ReadSettingsFile().find("<ColorScheme>" + id + "</ColorScheme>"),
                  std::string::npos)
            << id;
    }
}

// Each family registers its own handlers; two for one identifier would hide one of them.
TEST_F(MainFrameTest, EveryCommandIsRegisteredOnce) {
    static QStringList complaints;
    complaints.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type == QtCriticalMsg) {
                complaints << text;
            }
        });
    Frame();
    qInstallMessageHandler(previous);
    EXPECT_EQ(complaints, QStringList());
}

TEST_F(MainFrameTest, MenusFollowTheCommandTable) {
    QStringList titles;
    for (QAction *menu : Frame().menuBar()->actions()) {
        titles << menu->text();
    }
    EXPECT_EQ(titles,
              (QStringList{"&File", "&Edit", "Search", "Run", "&View", "Options", "&Help"}));

    QMenu *file = Frame().menuBar()->actions().at(0)->menu();
    QStringList fileItems;
    for (QAction *item : file->actions()) {
        fileItems << (item->isSeparator() ? QStringLiteral("-") : item->text());
    }
    EXPECT_EQ(fileItems, (QStringList{"New", "Load", "&Save\tCtrl+S", "Save As ...", "-", "Print",
                                      "-", "E&xit"}));

    QMenu *options = Frame().menuBar()->actions().at(5)->menu();
    QMenu *schemes = options->actions().at(0)->menu();
    ASSERT_NE(schemes, nullptr);
    QStringList schemeItems, schemeRows;
    for (QAction *item : schemes->actions()) {
        schemeItems << item->text();
    }
    for (const ColorScheme &scheme : ColorSchemes()) {
        schemeRows << QString::fromLatin1(scheme.caption);
    }
    EXPECT_EQ(schemeItems, schemeRows);
    EXPECT_EQ(options->actions().at(1)->text(), QStringLiteral("Key click sound"));

    EXPECT_EQ(Frame().ActionFor(command::kEditCut)->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+X"), QKeySequence("Shift+Del")}));
}

TEST_F(MainFrameTest, ToolbarHoldsEightButtonsWithTooltips) {
    QStringList buttons;
    for (QAction *action : Frame().ToolBar()->actions()) {
        buttons << (action->isSeparator() ? QStringLiteral("-") : action->toolTip());
    }
    EXPECT_EQ(buttons,
              (QStringList{"New", "Load", "Save", "-", "Copy", "Cut", "Paste", "Start", "Print"}));
    for (QAction *action : Frame().ToolBar()->actions()) {
        EXPECT_TRUE(action->isSeparator() || !action->icon().isNull())
            << action->toolTip().toStdString();
    }
}

TEST_F(MainFrameTest, PromptsShowWhileItemsAreHighlighted) {
    QMenu *file = Frame().menuBar()->actions().at(0)->menu();
    file->popup(QPoint(0, 0));
    file->setActiveAction(Frame().ActionFor(command::kFileSave));
    EXPECT_EQ(Frame().StatusPaneText(0), QStringLiteral("Save the document"));
    QMenu *search = Frame().menuBar()->actions().at(2)->menu();
    file->hide();
    EXPECT_EQ(Frame().StatusPaneText(0), QStringLiteral("Ready"));
    search->popup(QPoint(0, 0));
    search->setActiveAction(Frame().ActionFor(command::kSearchFind));
    EXPECT_EQ(Frame().StatusPaneText(0), QString()) << "an item without a prompt empties the pane";
    search->hide();
    EXPECT_EQ(Frame().StatusPaneText(0), QStringLiteral("Ready"));
}

TEST_F(MainFrameTest, ViewItemsToggleTheBars) {
    Frame().ExecuteCommand(command::kViewToolbar);
    EXPECT_TRUE(Frame().ToolBar()->isHidden());
    EXPECT_FALSE(Frame().ActionFor(command::kViewToolbar)->isChecked());
    Frame().ExecuteCommand(command::kViewToolbar);
    EXPECT_FALSE(Frame().ToolBar()->isHidden());
    EXPECT_TRUE(Frame().ActionFor(command::kViewToolbar)->isChecked());
}

// A service left out must never crash the frame or stop it on a window nobody answers.
class BareFrameTest : public FrameTest {
  protected:
    void ConfigureServices(FrameServices &services) override { services = FrameServices{}; }
};

TEST_F(BareFrameTest, EveryCommandIsHarmlessWithoutServices) {
    SetText("int x;");
    ::testing::internal::CaptureStdout();
    for (int id : {command::kFileLoad, command::kFileSave, command::kFilePrint, command::kHelpAbout,
                   command::kHelpContents, command::kSearchGoToLine, command::kRunStart}) {
        Frame().ExecuteCommand(id);
    }
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "Failed to create process. Error code: " + std::to_string(ENOSYS) + "\n");
    EXPECT_EQ(Editor().text(), QStringLiteral("int x;"));
    EXPECT_EQ(Frame().CurrentPath(), "");
    EXPECT_EQ(Frame().StatusPaneText(0), QStringLiteral("Ready"));
}

}  // namespace
}  // namespace scrivo::testing
