#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstring>
#include <utility>

#include "CommandTable.h"
#include "FindReplaceDialog.h"
#include "FrameTestSupport.h"

namespace scrivo::testing {
namespace {

using Selection = std::pair<int, int>;

class FindReplaceTest : public FrameTest {
  protected:
    FindReplaceDialog &Open(const char *findText, const char *replaceText = nullptr) {
        Frame().ExecuteCommand(replaceText ? command::kSearchReplace : command::kSearchFind);
        FindReplaceDialog *dialog = Frame().FindReplaceWindow();
        EXPECT_NE(dialog, nullptr);
        dialog->FindField()->setText(QString::fromUtf8(findText));
        if (replaceText) {
            dialog->ReplaceField()->setText(QString::fromUtf8(replaceText));
        }
        return *dialog;
    }

    Selection CurrentSelection() { return {Editor().SelectionStart(), Editor().SelectionEnd()}; }
    std::string Text() { return Editor().text().toStdString(); }
};

TEST_F(FindReplaceTest, OpensEmptyOnceWithActionsOnlyWhileTheFindTextIsNotEmpty) {
    FindReplaceDialog &dialog = Open("");
    EXPECT_TRUE(dialog.DownButton()->isChecked());
    EXPECT_FALSE(dialog.MatchCaseBox()->isChecked() || dialog.WholeWordBox()->isChecked());
    EXPECT_FALSE(dialog.FindNextButton()->isEnabled());
    dialog.FindField()->setText(QStringLiteral("a"));
    EXPECT_TRUE(dialog.FindNextButton()->isEnabled());
    // Neither command touches an open dialog, not even to switch its form.
    Frame().ExecuteCommand(command::kSearchReplace);
    Frame().ExecuteCommand(command::kSearchFind);
    EXPECT_EQ(Frame().FindReplaceWindow(), &dialog);
    EXPECT_EQ(dialog.ReplaceField(), nullptr);
    EXPECT_EQ(dialog.FindField()->text(), QStringLiteral("a"));
    dialog.CancelButton()->click();

    FindReplaceDialog &replace = Open("", "");
    for (QPushButton *action : {replace.ReplaceButton(), replace.ReplaceAllButton()}) {
        EXPECT_FALSE(action->isEnabled());
        replace.FindField()->setText(QStringLiteral("b"));
        EXPECT_TRUE(action->isEnabled());
        replace.FindField()->clear();
    }
}

TEST_F(FindReplaceTest, FindNextRunsDownFromTheSearchPositionAndNeverWraps) {
    SetText("abc abc abc");
    // Neither the caret at the end nor the upward direction changes where the search runs.
    Editor().SetSelectionRange(11, 11);
    FindReplaceDialog &dialog = Open("abc");
    dialog.UpButton()->setChecked(true);
    for (const Selection &expected : {Selection{0, 3}, Selection{4, 7}, Selection{8, 11}}) {
        dialog.FindNextButton()->click();
        EXPECT_EQ(CurrentSelection(), expected);
        EXPECT_EQ(QApplication::focusWidget(), &Editor());
    }
    dialog.FindNextButton()->click();
    EXPECT_EQ(CurrentSelection(), (Selection{8, 11}));
    EXPECT_EQ(Frame().SearchPosition(), 11);
    // The text shrinks below the search position: nothing more is found.
    SetText("abc");
    Editor().SetSelectionRange(1, 2);
    dialog.FindNextButton()->click();
    EXPECT_EQ(CurrentSelection(), (Selection{1, 2}));
}

TEST_F(FindReplaceTest, EveryWayOfClosingStartsTheNextSearchAtTheBeginning) {
    const std::pair<const char *, std::function<void(FindReplaceDialog &)>> closings[] = {
        {"Cancel", [](FindReplaceDialog &d) { d.CancelButton()->click(); }},
        {"Esc", [](FindReplaceDialog &d) { QTest::keyClick(d.FindField(), Qt::Key_Escape); }},
        {"close box", [](FindReplaceDialog &d) { d.close(); }},
    };
    SetText("abc abc abc");
    for (const auto &[name, close] : closings) {
        SCOPED_TRACE(name);
        FindReplaceDialog &dialog = Open("abc");
        dialog.FindNextButton()->click();
        dialog.FindNextButton()->click();
        close(dialog);
        EXPECT_EQ(Frame().FindReplaceWindow(), nullptr);
        EXPECT_EQ(Frame().SearchPosition(), 0);
        EXPECT_EQ(QApplication::focusWidget(), &Editor());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    Open("abc").FindNextButton()->click();
    EXPECT_EQ(CurrentSelection(), (Selection{0, 3}));
}

TEST_F(FindReplaceTest, MatchCaseAndWholeWordFollowTheCheckBoxes) {
    struct Case {
        const char *text;
        bool matchCase;
        bool wholeWord;
        Selection expected;  // {0, 0}: nothing found
    };
    const Case cases[] = {
        {"xx ABC", false, false, {3, 6}},     {"xx ABC", true, false, {0, 0}},
        {"xx ABC abc", true, false, {7, 10}}, {"abcd abc", false, true, {5, 8}},
        {"abc_d", false, true, {0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        SetText(c.text);
        Editor().SetSelectionRange(0, 0);
        FindReplaceDialog &dialog = Open("abc");
        dialog.MatchCaseBox()->setChecked(c.matchCase);
        dialog.WholeWordBox()->setChecked(c.wholeWord);
        dialog.FindNextButton()->click();
        EXPECT_EQ(CurrentSelection(), c.expected);
        dialog.CancelButton()->click();
    }
}

TEST_F(FindReplaceTest, ReplaceTakesTheNextMatchAtOnceAndNeverMatchesInsertedText) {
    SetText("x x");
    Editor().SetSelectionRange(2, 3);
    FindReplaceDialog &dialog = Open("x", "xx");
    for (const char *expected : {"xx x", "xx xx", "xx xx"}) {
        dialog.ReplaceButton()->click();
        EXPECT_EQ(Text(), expected);
    }
    EXPECT_EQ(CurrentSelection(), (Selection{5, 5}));
    EXPECT_EQ(Frame().SearchPosition(), 5);
}

TEST_F(FindReplaceTest, ReplaceAllRunsFromTheSearchPositionToTheEndOnce) {
    struct Case {
        const char *text;
        const char *find;
        const char *replace;
        int findNextsFirst;
        const char *expected;
    };
    const Case cases[] = {
        {"a a a", "a", "b", 1, "a b b"},
        {"ab ab\nab", "ab", "abab", 0, "abab abab\nabab"},
        {"one two", "o", "", 0, "ne tw"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        SetText(c.text);
        FindReplaceDialog &dialog = Open(c.find, c.replace);
        for (int i = 0; i < c.findNextsFirst; ++i) {
            dialog.FindNextButton()->click();
        }
        dialog.ReplaceAllButton()->click();
        EXPECT_EQ(Text(), c.expected);
        const int end = static_cast<int>(std::strlen(c.expected));
        EXPECT_EQ(CurrentSelection(), (Selection{end, end}));
        EXPECT_EQ(Frame().SearchPosition(), end);
        dialog.CancelButton()->click();
    }
}

TEST_F(FindReplaceTest, ReplaceAllThatFindsNothingChangesNothingNotEvenTheUndoHistory) {
    Frame();
    QTest::keyClicks(&Editor(), "abc");
    Editor().SetSelectionRange(1, 2);
    Open("zz", "y").ReplaceAllButton()->click();
    EXPECT_EQ(Text(), "abc");
    EXPECT_EQ(CurrentSelection(), (Selection{1, 2}));
    EXPECT_TRUE(Editor().isUndoAvailable());
}

TEST_F(FindReplaceTest, UndoAfterReplacingNeitherRestoresNorDamagesTheText) {
    for (const bool all : {false, true}) {
        SCOPED_TRACE(all ? "Replace All" : "Replace");
        Editor().clear();
        QTest::keyClicks(&Editor(), "one two one");
        FindReplaceDialog &dialog = Open("one", "1");
        (all ? dialog.ReplaceAllButton() : dialog.ReplaceButton())->click();
        const std::string replaced = all ? "1 two 1" : "1 two one";
        Frame().ExecuteCommand(command::kEditUndo);
        EXPECT_EQ(Text(), replaced);
        // Editing goes on with a history that matches the text.
        Editor().SetSelectionRange(0, 0);
        QTest::keyClicks(&Editor(), "Q");
        Frame().ExecuteCommand(command::kEditUndo);
        EXPECT_EQ(Text(), replaced);
        dialog.CancelButton()->click();
    }
}

TEST_F(FindReplaceTest, ReplacedTextTakesTheColourAtTheInsertionPoint) {
    for (const bool all : {false, true}) {
        SCOPED_TRACE(all ? "Replace All" : "Replace");
        SetText("/* ab */ ab");
        Frame().RecolorDocument();
        FindReplaceDialog &dialog = Open("ab", "xyz");
        (all ? dialog.ReplaceAllButton() : dialog.ReplaceButton())->click();
        for (int position = 3; position < 6; ++position) {
            EXPECT_EQ(Editor().StyleAt(position), static_cast<int>(ColorSlot::Comment));
        }
        dialog.CancelButton()->click();
    }
}

}  // namespace
}  // namespace scrivo::testing
