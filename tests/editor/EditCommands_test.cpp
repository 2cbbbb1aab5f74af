#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <cstring>

#include "CommandTable.h"
#include "FrameTestSupport.h"

namespace scrivo::testing {
namespace {

class EditCommandsTest : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        QApplication::clipboard()->clear();
    }

    static void SetClipboard(const char *text) {
        QApplication::clipboard()->setText(QString::fromUtf8(text));
    }
    std::string Text() { return Editor().text().toStdString(); }
    void Paste() { Frame().ExecuteCommand(command::kEditPaste); }

    std::string LineSlots(int line) {
        return Slots(Editor().LineIndex(line), Editor().LineIndex(line + 1) - 1);
    }
};

TEST_F(EditCommandsTest, PastedTextIsColouredWithTheCaretJustBehindIt) {
    struct Case {
        const char *text;
        int selectionStart;
        int selectionEnd;
        const char *clipboard;
        const char *expectedText;
        const char *expectedSlots;
    };
    const Case cases[] = {
        {"", 0, 0, "int a;\n// no\n\"s\"", "int a;\n// no\n\"s\"", "kkk..ooccccccsss"},
        {"x word y", 2, 6, "return", "x return y", "..kkkkkk.."},
        {"x word y", 2, 6, "char", "x char y", "..kkkk.."},
        {"x word y", 2, 6, "if", "x if y", "..kk.."},
        // Line ends from other programs become the control's one-character break.
        {"", 0, 0, "int\r\nint\rint\n", "int\nint\nint\n", "kkkkkkkkkkkk"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expectedText);
        SetText(c.text);
        Editor().SetSelectionRange(c.selectionStart, c.selectionEnd);
        SetClipboard(c.clipboard);
        Paste();
        EXPECT_EQ(Text(), c.expectedText);
        EXPECT_EQ(Slots(0, Editor().TextLength()), c.expectedSlots);
        const int caret = c.selectionStart + static_cast<int>(std::strlen(c.expectedText)) -
                          static_cast<int>(std::strlen(c.text)) + c.selectionEnd - c.selectionStart;
        EXPECT_EQ(Editor().SelectionStart(), caret);
        EXPECT_EQ(Editor().SelectionEnd(), caret);
    }
}

TEST_F(EditCommandsTest, PasteInsideALineColoursItsNeighboursOnlyAndKeepsTheView) {
    std::string text;
    for (int line = 0; line < 200; ++line) {
        text += "int v;\n";
    }
    SetText(text.c_str());
    Editor().SetFirstVisibleLine(5);
    ASSERT_EQ(Editor().FirstVisibleLine(), 5);
    const int insideLine10 = Editor().LineIndex(10) + 4;
    Editor().SetSelectionRange(insideLine10, insideLine10);
    SetClipboard("w");
    Paste();
    EXPECT_EQ(Editor().FirstVisibleLine(), 5);
    EXPECT_EQ(Editor().SelectionStart(), insideLine10 + 1);
    const char *expected[] = {"......", "kkk..o", "kkk...o", "kkk..o", "......"};
    for (int line = 8; line <= 12; ++line) {
        EXPECT_EQ(LineSlots(line), expected[line - 8]) << "line " << line;
    }
}

TEST_F(EditCommandsTest, NothingToPasteChangesNothingButTheFocus) {
    SetText("int x;");
    Editor().SetSelectionRange(1, 4);
    for (const char *clipboard : {static_cast<const char *>(nullptr), ""}) {
        if (clipboard) {
            SetClipboard(clipboard);
        }
        Frame().menuBar()->setFocus();
        Paste();
        EXPECT_EQ(Text(), "int x;");
        EXPECT_EQ(Editor().SelectionStart(), 1);
        EXPECT_EQ(Editor().SelectionEnd(), 4);
        EXPECT_EQ(QApplication::focusWidget(), &Editor());
    }
}

TEST_F(EditCommandsTest, TheStatusLineIsRefreshedOnlyOnceThePasteIsColoured) {
    SetText("a\nb");
    Editor().SetSelectionRange(3, 3);
    std::vector<std::string> slotsSeenByNotifications;
    QObject::connect(&Editor(), &CScrivoRichEditCtrl::PositionChanged, &Frame(),
                     [&] { slotsSeenByNotifications.push_back(Slots(0, Editor().TextLength())); });
    SetClipboard("\nint");
    Paste();
    EXPECT_EQ(Frame().StatusPaneText(1), QStringLiteral("Line 3  Col 4 \t3 Lines"));
    for (const std::string &seen : slotsSeenByNotifications) {
        EXPECT_EQ(seen, "....kkk") << "a notification came before the paste was coloured";
    }
}

TEST_F(EditCommandsTest, UndoRightAfterAPasteTakesItOutInOneStep) {
    SetText("abc");
    Editor().SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    Editor().SetSelectionRange(1, 2);
    SetClipboard("int;\nchar");
    Paste();
    Frame().ExecuteCommand(command::kEditUndo);
    EXPECT_EQ(Text(), "abc");
    EXPECT_FALSE(Editor().isUndoAvailable()) << "the colouring must not be an undo step";
}

TEST_F(EditCommandsTest, ClearTakesOnlyASelectionAndSelectAllReachesTheEnd) {
    SetText("one two");
    Editor().SetSelectionRange(3, 3);
    Frame().ExecuteCommand(command::kEditClear);
    EXPECT_EQ(Text(), "one two") << "the character at the caret must stay";
    Editor().SetSelectionRange(3, 7);
    Frame().ExecuteCommand(command::kEditClear);
    EXPECT_EQ(Text(), "one");
    Frame().ExecuteCommand(command::kEditSelectAll);
    EXPECT_EQ(Editor().SelectionStart(), 0);
    EXPECT_EQ(Editor().SelectionEnd(), 3);
}

TEST_F(EditCommandsTest, RightClickAndTheMenuKeyShowTheFourItemsWhosePasteColours) {
    SetText("x ");
    SetClipboard("int");
    const QPoint inText(150, 10);
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, inText,
                                 Editor().viewport()->mapToGlobal(inText));
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, inText, Editor().mapToGlobal(inText));
    for (auto [receiver, request] :
         {std::pair<QWidget *, QContextMenuEvent *>{Editor().viewport(), &rightClick},
          {&Editor(), &menuKey}}) {
        Editor().SetSelectionRange(2, 2);
        QApplication::sendEvent(receiver, request);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QStringList captions;
        for (QAction *action : menu->actions()) {
            captions << action->text();
        }
        EXPECT_EQ(captions, (QStringList{"Cut", "Copy", "Paste", "Clear"}));
        EXPECT_EQ(menu->pos(), request->globalPos());
        menu->actions().at(2)->trigger();
        menu->close();
        EXPECT_EQ(Slots(0, 5), "..kkk") << "the menu's Paste is the Edit menu's";
        SetText("x ");
    }
}

}  // namespace
}  // namespace scrivo::testing
