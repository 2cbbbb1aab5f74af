#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
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
    static QString ClipboardText() { return QApplication::clipboard()->text(); }
    std::string Text() { return Editor().text().toStdString(); }
    void Paste() { Frame().ExecuteCommand(command::kEditPaste); }

    // One letter per position: '.' text, 'k' keyword, 'o' operator, 'd' directive, 's' string,
    // 'c' comment.
    std::string Slots(int start, int end) {
        std::string result;
        for (int position = start; position < end; ++position) {
            const int style = Editor().StyleAt(position);
            result += (style >= 0 && style < 6) ? ".kodsc"[style] : '?';
        }
        return result;
    }
    std::string LineSlots(int line) {
        const int start = Editor().LineIndex(line);
        const int next = Editor().LineIndex(line + 1);
        return Slots(start, next < 0 ? Editor().TextLength() : next - 1);
    }

    int Caret() {
        EXPECT_EQ(Editor().SelectionStart(), Editor().SelectionEnd()) << "selection not empty";
        return Editor().SelectionStart();
    }
};

TEST_F(EditCommandsTest, PastedLinesAreColouredWithTheCaretBehindThem) {
    SetText("");
    SetClipboard("int a;\n// note\n\"s\"");
    Paste();
    EXPECT_EQ(Text(), "int a;\n// note\n\"s\"");
    EXPECT_EQ(Slots(0, Editor().TextLength()), "kkk..o.ccccccc.sss");
    EXPECT_EQ(Caret(), Editor().TextLength());
    EXPECT_EQ(QApplication::focusWidget(), &Editor());
}

TEST_F(EditCommandsTest, PasteOverASelectionColoursTheNewTextAndEndsBehindIt) {
    struct Case {
        const char *pasted;
        const char *expectedSlots;
    };
    // Over "word" in "x word y": longer, equally long, shorter.
    const Case cases[] = {{"return", "..kkkkkk.."}, {"char", "..kkkk.."}, {"if", "..kk.."}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pasted);
        SetText("x word y");
        Editor().SetSelectionRange(2, 6);
        SetClipboard(c.pasted);
        Paste();
        EXPECT_EQ(Text(), std::string("x ") + c.pasted + " y");
        EXPECT_EQ(Slots(0, Editor().TextLength()), c.expectedSlots);
        EXPECT_EQ(Caret(), 2 + static_cast<int>(std::strlen(c.pasted)));
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
    EXPECT_EQ(Caret(), insideLine10 + 1);
    EXPECT_EQ(LineSlots(8), "......");
    EXPECT_EQ(LineSlots(9), "kkk..o");
    EXPECT_EQ(LineSlots(10), "kkk...o");
    EXPECT_EQ(LineSlots(11), "kkk..o");
    EXPECT_EQ(LineSlots(12), "......");
}

TEST_F(EditCommandsTest, ForeignLineEndsBecomeTheControlsOwn) {
    SetText("");
    SetClipboard("a\r\nb\rc\n");
    Paste();
    EXPECT_EQ(Text(), "a\nb\nc\n");
    EXPECT_EQ(Caret(), 6);
}

TEST_F(EditCommandsTest, NothingToPasteChangesNothingButTheFocus) {
    SetText("int x;");
    Editor().SetSelectionRange(1, 4);
    Frame().menuBar()->setFocus();
    for (const char *clipboard : {static_cast<const char *>(nullptr), ""}) {
        if (clipboard) {
            SetClipboard(clipboard);
        }
        Paste();
        EXPECT_EQ(Text(), "int x;");
        EXPECT_EQ(Editor().SelectionStart(), 1);
        EXPECT_EQ(Editor().SelectionEnd(), 4);
        EXPECT_EQ(QApplication::focusWidget(), &Editor());
    }
}

TEST_F(EditCommandsTest, TheStatusLineIsRefreshedOnlyOnceTheColouredPasteIsComplete) {
    SetText("a\nb");
    Editor().SetSelectionRange(3, 3);
    Frame().UpdateStatusLine();
    std::vector<std::string> textsSeenByNotifications;
    QObject::connect(&Editor(), &CScrivoRichEditCtrl::positionChanged, &Frame(),
                     [&] { textsSeenByNotifications.push_back(Slots(0, Editor().TextLength())); });
    SetClipboard("\nint");
    Paste();
    EXPECT_EQ(Frame().StatusPaneText(1), QStringLiteral("Line 3  Col 4 \t3 Lines"));
    for (const std::string &seen : textsSeenByNotifications) {
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
    Frame().ExecuteCommand(command::kEditRedo);
    EXPECT_EQ(Text(), "aint;\ncharc");
}

TEST_F(EditCommandsTest, CutCopyClearAndSelectAllAreTheControlsOwn) {
    SetText("one two");
    SetClipboard("kept");
    Editor().SetSelectionRange(3, 3);
    Frame().ExecuteCommand(command::kEditCut);
    Frame().ExecuteCommand(command::kEditClear);
    EXPECT_EQ(Text(), "one two") << "an empty selection is neither cut nor cleared";
    EXPECT_EQ(ClipboardText(), QStringLiteral("kept"));

    Editor().SetSelectionRange(3, 7);
    Frame().ExecuteCommand(command::kEditClear);
    EXPECT_EQ(Text(), "one");
    EXPECT_EQ(ClipboardText(), QStringLiteral("kept"));

    Editor().SetSelectionRange(0, 2);
    Frame().ExecuteCommand(command::kEditCopy);
    EXPECT_EQ(ClipboardText(), QStringLiteral("on"));
    Frame().ExecuteCommand(command::kEditCut);
    EXPECT_EQ(Text(), "e");

    Frame().ExecuteCommand(command::kEditSelectAll);
    EXPECT_EQ(Editor().SelectionStart(), 0);
    EXPECT_EQ(Editor().SelectionEnd(), 1);
    for (const int id :
         {command::kEditUndo, command::kEditRedo, command::kEditCut, command::kEditCopy,
          command::kEditPaste, command::kEditSelectAll, command::kEditClear}) {
        EXPECT_TRUE(Frame().ActionFor(id)->isEnabled()) << id;
    }
}

class ContextMenuTest : public EditCommandsTest {
  protected:
    // The popup the request opened; fails the test when none or another one is shown.
    QMenu *ShownMenu() {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        EXPECT_NE(menu, nullptr);
        if (!menu) {
            return nullptr;
        }
        QStringList captions;
        for (QAction *action : menu->actions()) {
            captions << action->text();
        }
        EXPECT_EQ(captions, (QStringList{"Cut", "Copy", "Paste", "Clear"}));
        return menu;
    }
};

TEST_F(ContextMenuTest, RightClickShowsTheFourItemsAndPasteThereIsThePasteCommand) {
    SetText("x ");
    Editor().SetSelectionRange(2, 2);
    SetClipboard("int");
    const QPoint inText(150, 10);
    QContextMenuEvent request(QContextMenuEvent::Mouse, inText,
                              Editor().viewport()->mapToGlobal(inText));
    QApplication::sendEvent(Editor().viewport(), &request);
    QMenu *menu = ShownMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->pos(), Editor().viewport()->mapToGlobal(inText));
    menu->actions().at(2)->trigger();
    menu->close();
    EXPECT_EQ(Text(), "x int");
    EXPECT_EQ(Slots(0, 5), "..kkk") << "the menu's Paste colours like the Edit menu's";
}

TEST_F(ContextMenuTest, TheMenuKeyShowsTheSameMenu) {
    Frame();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(5, 5),
                              Editor().mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&Editor(), &request);
    QMenu *menu = ShownMenu();
    ASSERT_NE(menu, nullptr);
    menu->close();
}

}  // namespace
}  // namespace scrivo::testing
