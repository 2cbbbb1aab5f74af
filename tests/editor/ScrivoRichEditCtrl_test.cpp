#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QtEndian>
#include <string>

#include "FrameTestSupport.h"

namespace scrivo::testing {
namespace {

using ControlTest = FrameTest;

std::string Lines(int count) {
    std::string text;
    for (int line = 1; line <= count; ++line) {
        text += "line " + std::to_string(line) + (line < count ? "\n" : "");
    }
    return text;
}

TEST_F(ControlTest, GutterNumbersOnlyTheLinesOfAShortText) {
    SetText("a\nb\nc");
    const auto labels = Editor().GutterLabels();
    ASSERT_EQ(labels.size(), 3u);
    const int height = static_cast<int>(Editor().textHeight(0));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(labels[static_cast<std::size_t>(i)].number, i + 1);
        EXPECT_EQ(labels[static_cast<std::size_t>(i)].top, i * height);
    }
}

TEST_F(ControlTest, GutterStartsAtTheFirstVisibleLineAndCoversTheViewPlusTwo) {
    SetText(Lines(1000).c_str());
    Editor().SetFirstVisibleLine(119);
    const auto labels = Editor().GutterLabels();
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.front(), (CScrivoRichEditCtrl::GutterLabel{120, 0}));
    const int passes = Editor().viewport()->height() / Editor().GutterLineHeight() + 2;
    EXPECT_EQ(static_cast<int>(labels.size()), passes + 1);
    EXPECT_EQ(labels.back().number, 120 + passes);

    Editor().SetFirstVisibleLine(998);
    EXPECT_EQ(Editor().GutterLabels().back().number, 1000) << "no numbers past the last line";
}

TEST_F(ControlTest, GutterIsPaintedInItsColoursExceptWhilePrinting) {
    SetText("int a;");
    Frame().ExecuteCommand(32797);  // Borland: numbers white on blue, like the text area
    Editor().SetGutterColors({255, 0, 0}, {255, 255, 255});
    Editor().UpdateGutterBrush();
    const QPoint belowNumbers(5, Editor().viewport()->height() - 5);
    EXPECT_EQ(Editor().viewport()->grab().toImage().pixelColor(belowNumbers), QColor(255, 0, 0));

    Editor().SetPrinting(true);
    EXPECT_EQ(Editor().viewport()->grab().toImage().pixelColor(belowNumbers), QColor(0, 0, 170));
    Editor().SetPrinting(false);
    EXPECT_EQ(Editor().viewport()->grab().toImage().pixelColor(belowNumbers), QColor(255, 0, 0));
}

// The text area answers its editing, clipboard and undo keys and none of the control library's
// own: no line cut, deleted, duplicated or swapped, no change of case, no zoom, no rectangular
// selection, no character typed by a Ctrl key that is no command.
TEST_F(ControlTest, AnswersOnlyThePlainTextAreasKeys) {
    constexpr const char *kStart = "One Two\nthree";
    struct Case {
        QKeyCombination key;
        const char *typed;  // the text the window system gives the key
        const char *text;   // afterwards; every case starts from kStart with "Two" selected
        int selectionStart;
        int selectionEnd;
    };
    const Case cases[] = {
        {Qt::CTRL | Qt::Key_L, "\x0c", kStart, 4, 7},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_L, "\x0c", kStart, 4, 7},
        {Qt::CTRL | Qt::Key_D, "\x04", kStart, 4, 7},
        {Qt::CTRL | Qt::Key_T, "\x14", kStart, 4, 7},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_T, "\x14", kStart, 4, 7},
        {Qt::CTRL | Qt::Key_U, "\x15", kStart, 4, 7},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_U, "\x15", kStart, 4, 7},
        {Qt::CTRL | Qt::Key_Plus, "+", kStart, 4, 7},
        {Qt::CTRL | Qt::Key_Equal, "=", kStart, 4, 7},
        {Qt::CTRL | Qt::Key_Minus, "-", kStart, 4, 7},
        {Qt::CTRL | Qt::Key_1, "1", kStart, 4, 7},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Backspace, "", kStart, 4, 7},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Delete, "", kStart, 4, 7},
        {Qt::CTRL | Qt::Key_BracketRight, "\x1d", kStart, 4, 7},
        {Qt::CTRL | Qt::Key_Backslash, "\x1c", kStart, 4, 7},
        {Qt::ALT | Qt::SHIFT | Qt::Key_Down, "", kStart, 4, 7},
        {Qt::ALT | Qt::Key_Backspace, "", kStart, 4, 7},
        {Qt::Key_Right, "", kStart, 7, 7},
        {Qt::SHIFT | Qt::Key_Right, "", kStart, 4, 8},
        {Qt::CTRL | Qt::Key_Right, "", kStart, 8, 8},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_End, "", kStart, 4, 13},
        {Qt::Key_Backspace, "\b", "One \nthree", 4, 4},
        {Qt::CTRL | Qt::Key_Delete, "", "One Twothree", 7, 7},
        {Qt::Key_Return, "\r", "One \n\nthree", 5, 5},
        {Qt::Key_Tab, "\t", "One \t\nthree", 5, 5},
        {Qt::Key_X, "x", "One x\nthree", 5, 5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QKeySequence(c.key).toString().toStdString());
        SetText(kStart);
        Editor().SetSelectionRange(4, 7);
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, c.key.key(), c.key.keyboardModifiers(),
                            QString::fromLatin1(c.typed));
            QCoreApplication::sendEvent(&Editor(), &event);
        }
        EXPECT_EQ(Editor().text().toStdString(), c.text);
        EXPECT_EQ(Editor().SelectionStart(), c.selectionStart);
        EXPECT_EQ(Editor().SelectionEnd(), c.selectionEnd);
        EXPECT_EQ(Editor().SendScintilla(QsciScintillaBase::SCI_GETZOOM), 0) << "zoom";
    }
}

TEST(ClickSoundTest, IsAShortMono16BitWaveAt44100Hz) {
    QFile file(QStringLiteral(":/sounds/click.wav"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray wav = file.readAll();
    ASSERT_GE(wav.size(), 44);
    const auto *bytes = reinterpret_cast<const uchar *>(wav.constData());
    EXPECT_EQ(wav.mid(0, 4), "RIFF");
    EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes + 20), 1) << "PCM";
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes + 22), 1) << "channels";
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes + 24), 44100u);
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes + 34), 16) << "bits per sample";
    EXPECT_EQ(wav.mid(36, 4), "data");
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes + 40), 10134u);
    EXPECT_EQ(wav.size(), 44 + 10134);
}

}  // namespace
}  // namespace scrivo::testing
