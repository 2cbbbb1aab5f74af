#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "CommandTable.h"
#include "FrameTestSupport.h"
#include "GoToLineDialog.h"

namespace scrivo::testing {
namespace {

class GoToLineTest : public FrameTest {
  protected:
    // Ten lines; the caret inside line 3 with a selection.
    void SetUp() override {
        FrameTest::SetUp();
        SetText("l0\nl1\nl2\nline3\nl4\nl5\nl6\nl7\nl8\nl9");
        Editor().SetSelectionRange(Editor().LineIndex(3) + 1, Editor().LineIndex(3) + 3);
    }

    // Runs Go To Line with `typed` in the field and `finish` ending the dialog.
    void GoToLine(const char *typed, const std::function<void(CGoToLineDialog &)> &finish) {
        m_dialogs.answer = [&](QDialog &dialog) {
            auto &goToLine = dynamic_cast<CGoToLineDialog &>(dialog);
            goToLine.LineField()->setText(QString::fromUtf8(typed));
            finish(goToLine);
        };
        Frame().ExecuteCommand(command::kSearchGoToLine);
    }
};

TEST_F(GoToLineTest, OkPutsTheCaretAtTheStartOfTheLineAskedFor) {
    // Nothing, no number, 0 or a negative one: the caret's own line; past the end: the last line.
    const std::pair<const char *, int> cases[] = {
        {"5", 4},  {"1", 0},  {" \t+7th", 6},
        {"0", 3},  {"", 3},   {"x", 3},
        {"-3", 3}, {"99", 9}, {"99999999999999999999", 9},
    };
    for (const auto &[typed, line] : cases) {
        SCOPED_TRACE(std::string("typed \"") + typed + "\"");
        const int caretInLine3 = Editor().LineIndex(3) + 2;
        Editor().SetSelectionRange(caretInLine3, caretInLine3 + 1);
        GoToLine(typed, [](CGoToLineDialog &d) { d.OkButton()->click(); });
        EXPECT_EQ(Editor().SelectionStart(), Editor().LineIndex(line));
        EXPECT_EQ(Editor().SelectionEnd(), Editor().LineIndex(line));
    }
}

TEST_F(GoToLineTest, CancelEscAndTheCloseBoxChangeNothing) {
    const std::function<void(CGoToLineDialog &)> endings[] = {
        [](CGoToLineDialog &d) { d.CancelButton()->click(); },
        [](CGoToLineDialog &d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](CGoToLineDialog &d) { d.close(); },
    };
    const int start = Editor().SelectionStart();
    for (const auto &finish : endings) {
        GoToLine("5", finish);
        EXPECT_EQ(Editor().SelectionStart(), start);
        EXPECT_EQ(Editor().SelectionEnd(), start + 2);
    }
    EXPECT_EQ(m_dialogs.runs, 3);
}

TEST_F(GoToLineTest, TheLabelNamesTheLineCountAndOkHasTheFocus) {
    SetText(std::string(41, '\n').c_str());
    m_dialogs.answer = [](QDialog &dialog) {
        auto &d = dynamic_cast<CGoToLineDialog &>(dialog);
        EXPECT_EQ(d.LineLabel()->text(), QStringLiteral("Line Number (1 - 42):"));
        EXPECT_EQ(d.focusWidget(), d.OkButton());
        EXPECT_TRUE(d.LineField()->text().isEmpty());
        d.reject();
    };
    Frame().ExecuteCommand(command::kSearchGoToLine);
}

}  // namespace
}  // namespace scrivo::testing
