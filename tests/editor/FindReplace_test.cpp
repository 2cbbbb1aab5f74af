#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <utility>

#include "CommandTable.h"
#include "FindReplaceDialog.h"
#include "FrameTestSupport.h"

namespace scrivo::testing {
namespace {

using Selection = std::pair<int, int>;

class FindReplaceTest : public FrameTest {
  protected:
    FindReplaceDialog &Open(int command) {
        Frame().ExecuteCommand(command);
        FindReplaceDialog *dialog = Frame().FindReplaceWindow();
        EXPECT_NE(dialog, nullptr);
        return *dialog;
    }

    FindReplaceDialog &OpenFind(const char *findText) {
        FindReplaceDialog &dialog = Open(command::kSearchFind);
        dialog.FindField()->setText(QString::fromUtf8(findText));
        return dialog;
    }

    FindReplaceDialog &OpenReplace(const char *findText, const char *replaceText) {
        FindReplaceDialog &dialog = Open(command::kSearchReplace);
        dialog.FindField()->setText(QString::fromUtf8(findText));
        dialog.ReplaceField()->setText(QString::fromUtf8(replaceText));
        return dialog;
    }

    Selection CurrentSelection() { return {Editor().SelectionStart(), Editor().SelectionEnd()}; }
    std::string Text() { return Editor().text().toStdString(); }
    bool CanUndo() { return Editor().isUndoAvailable(); }
};

TEST_F(FindReplaceTest, OpensEmptyWithDownwardSearchAndActionsOnlyWhileTheFindTextIsNotEmpty) {
    for (const int command : {command::kSearchFind, command::kSearchReplace}) {
        FindReplaceDialog &dialog = Open(command);
        const bool replaceForm = command == command::kSearchReplace;
        SCOPED_TRACE(replaceForm ? "replace form" : "find form");
        EXPECT_EQ(dialog.windowTitle(), replaceForm ? "Replace" : "Find");
        EXPECT_EQ(dialog.ReplaceField() != nullptr, replaceForm);
        EXPECT_EQ(dialog.ReplaceAllButton() != nullptr, replaceForm);
        EXPECT_TRUE(dialog.FindField()->text().isEmpty());
        EXPECT_TRUE(dialog.DownButton()->isChecked());
        EXPECT_FALSE(dialog.MatchCaseBox()->isChecked());
        EXPECT_FALSE(dialog.WholeWordBox()->isChecked());
        EXPECT_FALSE(dialog.isModal());

        std::vector<QPushButton *> actions{dialog.FindNextButton()};
        if (replaceForm) {
            actions.push_back(dialog.ReplaceButton());
            actions.push_back(dialog.ReplaceAllButton());
        }
        for (QPushButton *action : actions) {
            EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
        }
        dialog.FindField()->setText(QStringLiteral("a"));
        for (QPushButton *action : actions) {
            EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
        }
        dialog.FindField()->clear();
        EXPECT_FALSE(dialog.FindNextButton()->isEnabled());
        dialog.CancelButton()->click();
        EXPECT_EQ(Frame().FindReplaceWindow(), nullptr);
    }
}

TEST_F(FindReplaceTest, FindOrReplaceWhileADialogIsOpenChangesNothing) {
    FindReplaceDialog &dialog = OpenFind("x");
    Frame().ExecuteCommand(command::kSearchReplace);
    Frame().ExecuteCommand(command::kSearchFind);
    EXPECT_EQ(Frame().FindReplaceWindow(), &dialog);
    EXPECT_EQ(dialog.DialogForm(), FindReplaceDialog::Form::FindOnly);
    EXPECT_EQ(dialog.FindField()->text(), QStringLiteral("x"));
}

TEST_F(FindReplaceTest, FindNextWalksForwardAndStopsAtTheLastMatchWithoutWrapping) {
    SetText("abc abc abc");
    FindReplaceDialog &dialog = OpenFind("abc");
    for (const Selection &expected : {Selection{0, 3}, Selection{4, 7}, Selection{8, 11}}) {
        dialog.FindNextButton()->click();
        EXPECT_EQ(CurrentSelection(), expected);
        EXPECT_EQ(Frame().SearchPosition(), expected.second);
        EXPECT_EQ(QApplication::focusWidget(), &Editor());
    }
    dialog.FindNextButton()->click();
    EXPECT_EQ(CurrentSelection(), (Selection{8, 11}));
    EXPECT_EQ(Frame().SearchPosition(), 11);
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
        FindReplaceDialog &dialog = OpenFind("abc");
        dialog.FindNextButton()->click();
        dialog.FindNextButton()->click();
        ASSERT_EQ(Frame().SearchPosition(), 7);
        close(dialog);
        EXPECT_EQ(Frame().FindReplaceWindow(), nullptr);
        EXPECT_EQ(Frame().SearchPosition(), 0);
        EXPECT_EQ(QApplication::focusWidget(), &Editor());
        EXPECT_EQ(CurrentSelection(), (Selection{4, 7})) << "closing keeps the selection";
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    OpenFind("abc").FindNextButton()->click();
    EXPECT_EQ(CurrentSelection(), (Selection{0, 3}));
}

TEST_F(FindReplaceTest, SearchRunsDownFromTheSearchPositionWhateverTheCaretOrDirection) {
    SetText("abc abc abc");
    Editor().SetSelectionRange(11, 11);
    FindReplaceDialog &dialog = OpenFind("abc");
    dialog.UpButton()->setChecked(true);
    dialog.FindNextButton()->click();
    EXPECT_EQ(CurrentSelection(), (Selection{0, 3}));
    Editor().SetSelectionRange(0, 0);
    dialog.FindNextButton()->click();
    EXPECT_EQ(CurrentSelection(), (Selection{4, 7}));
}

TEST_F(FindReplaceTest, ASearchPositionPastTheShortenedTextFindsNothingUntilReopened) {
    SetText("abc abc abc");
    FindReplaceDialog &dialog = OpenFind("abc");
    dialog.FindNextButton()->click();
    dialog.FindNextButton()->click();
    SetText("abc");
    Editor().SetSelectionRange(1, 2);
    dialog.FindNextButton()->click();
    EXPECT_EQ(CurrentSelection(), (Selection{1, 2}));
    EXPECT_EQ(Frame().SearchPosition(), 7);
    dialog.CancelButton()->click();
    OpenFind("abc").FindNextButton()->click();
    EXPECT_EQ(CurrentSelection(), (Selection{0, 3}));
}

TEST_F(FindReplaceTest, MatchCaseAndWholeWordFollowTheCheckBoxes) {
    struct Case {
        const char *text;
        const char *find;
        bool matchCase;
        bool wholeWord;
        Selection expected;  // {0, 0} when nothing is found
    };
    const Case cases[] = {
        {"xx ABC", "abc", false, false, {3, 6}},     {"xx ABC", "abc", true, false, {0, 0}},
        {"xx ABC abc", "abc", true, false, {7, 10}}, {"abcd abc", "abc", false, false, {0, 3}},
        {"abcd abc", "abc", false, true, {5, 8}},    {"abc_d", "abc", false, true, {0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.find);
        SetText(c.text);
        Editor().SetSelectionRange(0, 0);
        FindReplaceDialog &dialog = OpenFind(c.find);
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
    FindReplaceDialog &dialog = OpenReplace("x", "xx");
    dialog.ReplaceButton()->click();
    EXPECT_EQ(Text(), "xx x") << "the selection is not examined";
    EXPECT_EQ(CurrentSelection(), (Selection{2, 2}));
    EXPECT_EQ(Frame().SearchPosition(), 2);
    dialog.ReplaceButton()->click();
    EXPECT_EQ(Text(), "xx xx");
    EXPECT_EQ(Frame().SearchPosition(), 5);
    dialog.ReplaceButton()->click();
    EXPECT_EQ(Text(), "xx xx");
    EXPECT_EQ(QApplication::focusWidget(), &Editor());
}

TEST_F(FindReplaceTest, ReplaceAllWorksFromTheSearchPositionToTheEnd) {
    SetText("a a a");
    FindReplaceDialog &dialog = OpenReplace("a", "b");
    dialog.FindNextButton()->click();
    dialog.ReplaceAllButton()->click();
    EXPECT_EQ(Text(), "a b b");
    EXPECT_EQ(CurrentSelection(), (Selection{5, 5}));
    EXPECT_EQ(Frame().SearchPosition(), 5);
}

TEST_F(FindReplaceTest, ReplaceAllDoublesEachOccurrenceOnceAndEnds) {
    SetText("ab ab\nab");
    OpenReplace("ab", "abab").ReplaceAllButton()->click();
    EXPECT_EQ(Text(), "abab abab\nabab");
    EXPECT_EQ(Frame().SearchPosition(), 14);
}

TEST_F(FindReplaceTest, ReplacedTextTakesTheColourAtTheInsertionPoint) {
    for (const bool all : {false, true}) {
        SCOPED_TRACE(all ? "Replace All" : "Replace");
        SetText("/* ab */ ab");
        Frame().RecolorDocument();
        FindReplaceDialog &dialog = OpenReplace("ab", "xyz");
        (all ? dialog.ReplaceAllButton() : dialog.ReplaceButton())->click();
        const int comment = static_cast<int>(ColorSlot::Comment);
        for (int position = 3; position < 6; ++position) {
            EXPECT_EQ(Editor().StyleAt(position), comment) << position;
        }
        dialog.CancelButton()->click();
    }
}

TEST_F(FindReplaceTest, ReplaceAllThatFindsNothingChangesNothingNotEvenTheUndoHistory) {
    Frame();
    QTest::keyClicks(&Editor(), "abc");
    Editor().SetSelectionRange(1, 2);
    OpenReplace("zz", "y").ReplaceAllButton()->click();
    EXPECT_EQ(Text(), "abc");
    EXPECT_EQ(CurrentSelection(), (Selection{1, 2}));
    EXPECT_EQ(Frame().SearchPosition(), 0);
    EXPECT_TRUE(CanUndo());
}

TEST_F(FindReplaceTest, UndoAfterReplacingNeitherRestoresNorDamagesTheText) {
    for (const bool all : {false, true}) {
        SCOPED_TRACE(all ? "Replace All" : "Replace");
        Editor().clear();
        QTest::keyClicks(&Editor(), "one two one");
        FindReplaceDialog &dialog = OpenReplace("one", "1");
        (all ? dialog.ReplaceAllButton() : dialog.ReplaceButton())->click();
        const std::string replaced = all ? "1 two 1" : "1 two one";
        EXPECT_EQ(Text(), replaced);
        Frame().ExecuteCommand(command::kEditUndo);
        EXPECT_EQ(Text(), replaced);
        // Editing goes on with a history that matches the text.
        Editor().SetSelectionRange(0, 0);
        QTest::keyClicks(&Editor(), "Q");
        Frame().ExecuteCommand(command::kEditUndo);
        EXPECT_EQ(Text(), replaced);
        Frame().ExecuteCommand(command::kEditRedo);
        EXPECT_EQ(Text(), "Q" + replaced);
        dialog.CancelButton()->click();
    }
}

}  // namespace
}  // namespace scrivo::testing
