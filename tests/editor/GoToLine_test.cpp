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
    // Ten lines "line0" to "line9"; the caret inside line 3.
    void SetUp() override {
        FrameTest::SetUp();
        std::string text;
        for (int line = 0; line < 10; ++line) {
            text += "line" + std::to_string(line) + (line < 9 ? "\n" : "");
        }
        SetText(text.c_str());
        Editor().SetSelectionRange(Editor().LineIndex(3) + 2, Editor().LineIndex(3) + 2);
    }

    // Runs Go To Line with `typed` in the field and `finish` working the dialog.
    void GoToLine(const QString &typed, const std::function<void(CGoToLineDialog &)> &finish) {
        dialogs_.answer = [&](QDialog &dialog) {
            auto &goToLine = dynamic_cast<CGoToLineDialog &>(dialog);
            goToLine.LineField()->setText(typed);
            finish(goToLine);
        };
        Frame().ExecuteCommand(command::kSearchGoToLine);
    }
};

TEST_F(GoToLineTest, OkPutsTheCaretAtTheStartOfTheLineAskedFor) {
    struct Case {
        const char *typed;
        int line;  // where the caret must end up
    };
    const Case cases[] = {
        {"5", 4},
        {"1", 0},
        {"10", 9},
        {" \t+7th", 6},
        {"0", 3},
        {"", 3},
        {"x", 3},
        {"-3", 3},
        {"99", 9},
        {"11", 9},
        {"99999999999999999999", 9},
        {"-99999999999999999999", 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("typed \"") + c.typed + "\"");
        Editor().SetSelectionRange(Editor().LineIndex(3) + 2, Editor().LineIndex(3) + 4);
        GoToLine(QString::fromUtf8(c.typed), [](CGoToLineDialog &d) { d.OkButton()->click(); });
        const int start = Editor().LineIndex(c.line);
        EXPECT_EQ(Editor().SelectionStart(), start);
        EXPECT_EQ(Editor().SelectionEnd(), start);
    }
    EXPECT_EQ(dialogs_.runs, static_cast<int>(std::size(cases)));
}

TEST_F(GoToLineTest, CancelEscAndTheCloseBoxChangeNothing) {
    const std::pair<const char *, std::function<void(CGoToLineDialog &)>> endings[] = {
        {"Cancel", [](CGoToLineDialog &d) { d.CancelButton()->click(); }},
        {"Esc", [](CGoToLineDialog &d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        {"close box", [](CGoToLineDialog &d) { d.close(); }},
    };
    const int start = Editor().LineIndex(3) + 1;
    for (const auto &[name, finish] : endings) {
        SCOPED_TRACE(name);
        Editor().SetSelectionRange(start, start + 3);
        GoToLine(QStringLiteral("5"), finish);
        EXPECT_EQ(Editor().SelectionStart(), start);
        EXPECT_EQ(Editor().SelectionEnd(), start + 3);
    }
}

TEST_F(GoToLineTest, TheLabelNamesTheLineCountAndOkHasTheFocus) {
    std::string text(41, '\n');
    SetText(text.c_str());
    dialogs_.answer = [](QDialog &dialog) {
        auto &d = dynamic_cast<CGoToLineDialog &>(dialog);
        EXPECT_EQ(d.LineLabel()->text(), QStringLiteral("Line Number (1 - 42):"));
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Go To Line"));
        EXPECT_EQ(d.focusWidget(), d.OkButton());
        EXPECT_TRUE(d.LineField()->text().isEmpty());
        d.OkButton()->click();
    };
    Frame().ExecuteCommand(command::kSearchGoToLine);
    EXPECT_EQ(dialogs_.runs, 1);
}

}  // namespace
}  // namespace scrivo::testing
