#include <Qsci/qsciscintillabase.h>

#include <functional>
#include <string>
#include <vector>

#include "CommandTable.h"
#include "FrameTestSupport.h"
#include "SchemeIdentifiers.h"

namespace scrivo::testing {
namespace {

class ColoringTest : public FrameTest {
  protected:
    long StyleBack(int style) {
        return Editor().SendScintilla(QsciScintillaBase::SCI_STYLEGETBACK, style);
    }
    long StyleFore(int style) {
        return Editor().SendScintilla(QsciScintillaBase::SCI_STYLEGETFORE, style);
    }

    void PlaceCaretAtEnd() {
        const int end = Editor().TextLength();
        Editor().SetSelectionRange(end, end);
    }
};

TEST_F(ColoringTest, SpaceColoursTheTypedLineBeforeTheSpaceLands) {
    Frame();
    QTest::keyClicks(&Editor(), "int x = 10;");
    QTest::keyClick(&Editor(), Qt::Key_Space);
    EXPECT_EQ(Editor().text().toStdString(), "int x = 10; ");
    // The final space continues the ";" run: it was inserted after the line had been coloured.
    EXPECT_EQ(AllSlots(), "kkk...o...oo");
}

TEST_F(ColoringTest, ReturnColoursTheCaretLineOnly) {
    SetText("int a;\nint b;");
    Editor().SetSelectionRange(3, 3);
    QTest::keyClick(&Editor(), Qt::Key_Return);
    EXPECT_EQ(Editor().text().toStdString(), "int\n a;\nint b;");
    EXPECT_EQ(AllSlots(), "kkkk..oo......");
}

TEST_F(ColoringTest, LetterKeysRecolourNothingAndTakeTheColourAtTheCaret) {
    SetText("int y");
    Editor().SetSelectionRange(3, 3);
    QTest::keyClick(&Editor(), Qt::Key_Z);
    EXPECT_EQ(Editor().text().toStdString(), "intz y");
    EXPECT_EQ(AllSlots(), "......");

    SetText("int");
    Frame().ColorizeRange(0, 3);
    PlaceCaretAtEnd();
    QTest::keyClick(&Editor(), Qt::Key_E);
    EXPECT_EQ(AllSlots(), "kkkk");

    // Far from the start of the text on a short line the colour goes on after the key, not at the
    // notice of the insertion.
    LoadText(std::string(200, '\n') + "int");
    PlaceCaretAtEnd();
    QTest::keyClick(&Editor(), Qt::Key_E);
    EXPECT_EQ(Slots(200, 204), "kkkk");
}

// The control reports an insertion only before it happens; the colour must still be on the text
// by the time anyone looks, whichever way the text came in.
TEST_F(ColoringTest, TextInsertedAnyWayTakesTheColourAtTheInsertionPoint) {
    const auto insert = [this](int position, const char *text) {
        Editor().SendScintilla(QsciScintillaBase::SCI_INSERTTEXT,
                               static_cast<unsigned long>(position), text);
    };
    struct Case {
        const char *name;
        std::function<void()> edit;
        const char *text;
        const char *expectedSlots;
    };
    for (const Case &c : std::vector<Case>{
             {"at the start, the colour after it", [&] { insert(0, "x"); }, "xint a", "kkkk.."},
             {"a deletion before any query",
              [&] {
                  insert(3, "x");
                  Editor().SendScintilla(QsciScintillaBase::SCI_DELETERANGE, 0UL, 1L);
              },
              "ntx a", "kkk.."},
             {"undo of a deletion",
              [&] {
                  Editor().SendScintilla(QsciScintillaBase::SCI_DELETERANGE, 1UL, 2L);
                  Editor().undo();
              },
              "int a", "kkk.."},
         }) {
        SCOPED_TRACE(c.name);
        SetText("int a");
        Frame().ColorizeRange(0, Editor().TextLength());
        c.edit();
        EXPECT_EQ(Editor().text().toStdString(), c.text);
        EXPECT_EQ(AllSlots(), c.expectedSlots);
    }
}

TEST_F(ColoringTest, UndoAfterSpaceRemovesTheSpaceAndKeepsColours) {
    SetText("int");
    Editor().SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    PlaceCaretAtEnd();
    QTest::keyClick(&Editor(), Qt::Key_Space);
    ASSERT_EQ(AllSlots(), "kkkk");
    Editor().undo();
    EXPECT_EQ(Editor().text().toStdString(), "int");
    EXPECT_EQ(AllSlots(), "kkk");
    EXPECT_FALSE(Editor().isUndoAvailable()) << "colouring must never be an undo step";
}

TEST_F(ColoringTest, RangesAreClampedAndEmptyRangesChangeNothing) {
    SetText("int a; /* open\nstill */ \"s\"");
    const long background = StyleBack(0);
    Frame().ApplyColorScheme(kBorlandScheme);
    for (auto [start, end] : std::vector<std::pair<int, int>>{{5, 5}, {9, 3}, {100, 200}}) {
        Frame().ColorizeRange(start, end);
        EXPECT_EQ(AllSlots(), std::string(static_cast<std::size_t>(Editor().TextLength()), '.'))
            << start << ".." << end;
        EXPECT_EQ(StyleBack(0), background) << "an empty range must not even set the background";
    }
    Frame().ColorizeRange(0, 1000);
    EXPECT_EQ(AllSlots(), "kkk..o." + std::string(16, 'c') + ".sss");
    EXPECT_EQ(StyleBack(0), static_cast<long>(ToColorRef({0, 0, 170})));
}

TEST_F(ColoringTest, LineColouredAloneKnowsNothingOfTheCommentAroundIt) {
    SetText("/*\nint x;\n*/");
    Frame().ColorizeRange(0, Editor().TextLength());
    Editor().SetSelectionRange(5, 5);
    QTest::keyClick(&Editor(), Qt::Key_Space);
    // The middle line, coloured alone, is code; the space lands after "in" in the keyword colour.
    EXPECT_EQ(Slots(3, 11), "kkkk..oo");
}

// The control lays out anew any line whose end is styled unlike its last character, or on an empty
// line unlike plain text, after every change: a very long line would cost seconds a key.
TEST_F(ColoringTest, LineEndsTakeTheColourOfTheirLinesLastCharacter) {
    LoadText("int a;\n\n/* c */\n");
    EXPECT_EQ(AllSlots(), "kkk..oo.cccccccc");
    PlaceCaretAtEnd();
    QTest::keyClicks(&Editor(), "x;");
    QTest::keyClick(&Editor(), Qt::Key_Return);
    EXPECT_EQ(AllSlots(), "kkk..oo.cccccccc.oo");
}

TEST_F(ColoringTest, SchemeChangeRecoloursEverythingAndTheGutterFollows) {
    SetText("int a; // note\nchar *s = \"x\";");
    Frame().ExecuteCommand(kBorlandScheme);
    EXPECT_EQ(Frame().ColorSchemeId(), kBorlandScheme);
    EXPECT_EQ(AllSlots(), "kkk..o.cccccccckkkk.o..o.ssso");
    EXPECT_EQ(StyleBack(0), static_cast<long>(ToColorRef({0, 0, 170})));
    EXPECT_EQ(StyleFore(0), static_cast<long>(ToColorRef({255, 240, 25})));
    EXPECT_EQ(StyleFore(1), static_cast<long>(ToColorRef({255, 255, 255})));
    EXPECT_EQ(StyleFore(5), static_cast<long>(ToColorRef({192, 192, 192})));
    EXPECT_EQ(Editor().GutterBackground(), (Rgb{0, 0, 170}));
    EXPECT_EQ(Editor().GutterNumberColor(), (Rgb{255, 255, 255}));
    EXPECT_EQ(Editor().GutterBrushColor(), QColor(0, 0, 170));
    EXPECT_FALSE(Frame().ActionFor(kBorlandScheme)->isCheckable()) << "schemes carry no check mark";
}

TEST_F(ColoringTest, SchemeChangeOnEmptyTextChangesOnlyTheGutter) {
    const long background = StyleBack(0);
    Frame().ExecuteCommand(kDarkScheme);
    EXPECT_EQ(StyleBack(0), background);
    EXPECT_EQ(Editor().GutterBackground(), (Rgb{30, 30, 30}));
}

TEST_F(ColoringTest, RecolouringKeepsSelectionAndView) {
    std::string text;
    for (int line = 0; line < 300; ++line) {
        text += "int value = " + std::to_string(line) + "; /* a rather long line of text */\n";
    }
    SetText(text.c_str());
    Editor().SetSelectionRange(5000, 5010);
    Editor().SetFirstVisibleLine(100);
    Editor().SetXOffset(30);
    Frame().RecolorDocument();
    Frame().ColorizeCurrentLine();
    EXPECT_EQ(Editor().SelectionStart(), 5000);
    EXPECT_EQ(Editor().SelectionEnd(), 5010);
    EXPECT_EQ(Editor().FirstVisibleLine(), 100);
    EXPECT_EQ(Editor().XOffset(), 30);
    EXPECT_EQ(Slots(0, 3), "kkk");
}

}  // namespace
}  // namespace scrivo::testing
