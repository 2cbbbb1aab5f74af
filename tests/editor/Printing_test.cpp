#include <QByteArray>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPrintDialog>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>
#include <string>
#include <vector>

#include "CommandTable.h"
#include "FrameTestSupport.h"
#include "PageGeometry.h"
#include "QtFrameServices.h"

namespace scrivo::testing {
namespace {

// What a printed PDF holds, read from Qt's PDF output: its page count and, in the printer's device
// pixels (the content streams draw in them), every glyph origin and every filled rectangle with
// the fill colour in effect.
struct PrintedPdf {
    struct Glyph {
        QPointF origin;
        std::string color;
    };
    struct Fill {
        QRectF rect;
        std::string color;
    };
    int pages = 0;
    std::vector<Glyph> glyphs;
    std::vector<Fill> fills;
};

void ReadContentStream(const QByteArray &content, PrintedPdf &pdf) {
    std::string color;
    QPointF lineStart;
    double yScale = 1;
    std::vector<double> operands;
    QTextStream tokens(content);
    QString token;
    while (!(tokens >> token, token.isEmpty())) {
        bool isNumber = false;
        const double value = token.toDouble(&isNumber);
        if (isNumber) {
            operands.push_back(value);
            continue;
        }
        const auto operand = [&operands](std::size_t fromEnd) {
            return operands.size() >= fromEnd ? operands[operands.size() - fromEnd] : 0.0;
        };
        if (token == QLatin1String("scn") && operands.size() >= 3) {
            color = QStringLiteral("%1 %2 %3")
                        .arg(operand(3))
                        .arg(operand(2))
                        .arg(operand(1))
                        .toStdString();
        } else if (token == QLatin1String("re")) {
            pdf.fills.push_back({QRectF(operand(4), operand(3), operand(2), operand(1)), color});
        } else if (token == QLatin1String("Tm")) {
            yScale = operand(3);
            lineStart = QPointF(operand(2), operand(1));
        } else if (token == QLatin1String("Td")) {
            lineStart += QPointF(operand(2), operand(1) * yScale);
        } else if (token.endsWith(QLatin1String("Tj"))) {
            pdf.glyphs.push_back({lineStart, color});
        }
        operands.clear();
    }
}

PrintedPdf ReadPdf(const QString &path) {
    QFile file(path);
    PrintedPdf pdf;
    if (!file.open(QIODevice::ReadOnly)) {
        return pdf;
    }
    const QByteArray bytes = file.readAll();
    pdf.pages = static_cast<int>(
        QString::fromLatin1(bytes).count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))));
    const QByteArray begin = "stream\n";
    const QByteArray end = "endstream";
    for (qsizetype at = bytes.indexOf(begin); at >= 0; at = bytes.indexOf(begin, at)) {
        const qsizetype start = at + begin.size();
        const qsizetype stop = bytes.indexOf(end, start);
        if (stop < 0) {
            break;
        }
        // Page contents are zlib streams (first byte 0x78). qUncompress wants a length hint in
        // front; it grows past a short one.
        if (bytes.at(start) == '\x78') {
            const QByteArray content =
                qUncompress(QByteArray("\x00\x00\x10\x00", 4) + bytes.mid(start, stop - start));
            if (content.contains("BT")) {
                ReadContentStream(content, pdf);
            }
        }
        at = stop + end.size();
    }
    return pdf;
}

constexpr double kDeviceDpi = 1200;  // the high-resolution PDF printer
constexpr double kMargin = kDeviceDpi / 2;
const QRectF kA4TextArea(QPointF(kMargin, kMargin), QPointF(210 / 25.4 * kDeviceDpi - kMargin,
                                                            297 / 25.4 * kDeviceDpi - kMargin));

class PrintingTest : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        m_printDialog.outputFile = QDir::current().absoluteFilePath(QStringLiteral("printed.pdf"));
    }

    PrintedPdf Print() {
        Frame().ExecuteCommand(command::kFilePrint);
        return ReadPdf(m_printDialog.outputFile);
    }

    bool Printed() const { return QFile::exists(m_printDialog.outputFile); }

    // The line "line N" repeated, then a line much wider than a page.
    static std::string LongText(int lines) {
        std::string text;
        for (int line = 1; line <= lines; ++line) {
            text += "int line" + std::to_string(line) + " = " + std::to_string(line) + ";\n";
        }
        for (int word = 0; word < 60; ++word) {
            text += "wide" + std::to_string(word) + ' ';
        }
        return text + "\n";
    }

    static int CountPrintable(const std::string &text) {
        int count = 0;
        for (char c : text) {
            count += c != '\n' ? 1 : 0;
        }
        return count;
    }
};

TEST(PageGeometryTest, HalfInchInsideThePrintableAreaInTwips) {
    // 600 pixels per inch, 8 x 11 inches printable.
    EXPECT_EQ(PageGeometryFor(4800, 6600, 600, 600),
              (PageGeometry{{0, 0, 11520, 15840}, {720, 720, 10800, 15120}}));
    // Integer divisions: 1000 pixels at 300 per inch are 4800 twips, 1001 still 4804.
    EXPECT_EQ(PageGeometryFor(1001, 1000, 300, 300).page, (TwipsRect{0, 0, 4804, 4800}));
    EXPECT_EQ(PageGeometryFor(4800, 6600, 0, 600), PageGeometry{}) << "no resolution, no page";
}

TEST_F(PrintingTest, CancelEmptySelectionOrAJobThatCannotStartPrintsNothing) {
    struct Case {
        const char *name;
        bool cancel;
        bool selection;
        QString outputFile;  // empty: the fixture's
        std::size_t messages;
        std::size_t errors;
    };
    const QString unwritable = QDir::current().absoluteFilePath(QStringLiteral("no/such.pdf"));
    for (const Case &c :
         {Case{"cancelled", true, false, {}, 0, 0}, Case{"empty selection", false, true, {}, 1, 0},
          Case{"an output file that cannot be written", false, false, unwritable, 0, 1}}) {
        SCOPED_TRACE(c.name);
        LoadText("int main(void) { return 0; }\n");
        Editor().SetSelectionRange(4, 4);
        const int styleBefore = Editor().StyleAt(0);
        m_printDialog.cancel = c.cancel;
        m_printDialog.selection = c.selection;
        const QString outputFile = m_printDialog.outputFile;
        if (!c.outputFile.isEmpty()) {
            m_printDialog.outputFile = c.outputFile;
        }
        m_informationBox.messages.clear();
        m_fileErrors.messages.clear();

        Frame().ExecuteCommand(command::kFilePrint);
        m_printDialog.outputFile = outputFile;

        EXPECT_FALSE(Printed());
        ASSERT_EQ(m_informationBox.messages.size(), c.messages);
        if (c.messages > 0) {
            EXPECT_EQ(m_informationBox.messages[0].caption, "Impossible");
            EXPECT_EQ(m_informationBox.messages[0].text, "Current selection is empty!");
        }
        ASSERT_EQ(m_fileErrors.messages.size(), c.errors) << "a job that cannot start says so";
        if (c.errors > 0) {
            EXPECT_NE(m_fileErrors.messages[0].find(c.outputFile.toStdString()), std::string::npos)
                << m_fileErrors.messages[0];
        }
        EXPECT_EQ(Frame().StatusPaneText(0), QStringLiteral("Ready"));
        EXPECT_FALSE(Editor().Printing());
        EXPECT_EQ(Editor().StyleAt(0), styleBefore);
        EXPECT_EQ(Editor().SelectionStart(), 4);
    }
    EXPECT_EQ(m_printDialog.rangeOffered, QPrinter::AllPages) << "all pages come preselected";
}

// Qt's own dialog, with no print server: it must still offer a printer (PDF output), show the
// choice of the selection without a further click and offer no page numbers; printing through it
// writes the PDF where the user chose, black on white.
class QtPrintDialogTest : public PrintingTest {
  protected:
    void ConfigureServices(FrameServices &services) override {
        services.printDialog = &m_qtPrintDialog;
    }
    QtPrintDialog m_qtPrintDialog;
};

TEST_F(QtPrintDialogTest, PrintsToPdfWithoutAPrintServerAndOffersOnlyAllOrSelection) {
    LoadText("int main(void) { return 0; }\n");

    QStringList rangesOffered;
    bool optionsShown = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        for (const char *name :
             {"printAll", "printRange", "pagesRadioButton", "printCurrentPage", "printSelection"}) {
            const auto *range = dialog->findChild<QRadioButton *>(QLatin1String(name));
            if (range != nullptr && range->isVisibleTo(dialog) && range->isEnabled()) {
                rangesOffered << range->text();
            }
        }
        const auto *options = dialog->findChild<QTabWidget *>();
        optionsShown = options != nullptr && options->isVisibleTo(dialog);
        auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"));
        auto *file = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
        ASSERT_NE(printers, nullptr);
        ASSERT_NE(file, nullptr);
        printers->setCurrentIndex(printers->findText(QStringLiteral("PDF"), Qt::MatchContains));
        ASSERT_NE(printers->currentIndex(), -1) << "PDF output is one of the printers";
        file->setText(m_printDialog.outputFile);
        dialog->accept();
    });
    Frame().ExecuteCommand(command::kFilePrint);

    EXPECT_EQ(rangesOffered,
              (QStringList{QStringLiteral("Print all"), QStringLiteral("Selection")}));
    EXPECT_TRUE(optionsShown) << "the selection is chosen among the options";
    EXPECT_TRUE(m_fileErrors.messages.empty());
    const PrintedPdf pdf = ReadPdf(m_printDialog.outputFile);
    EXPECT_EQ(pdf.pages, 1);
    EXPECT_FALSE(pdf.glyphs.empty());
    for (const PrintedPdf::Glyph &glyph : pdf.glyphs) {
        ASSERT_EQ(glyph.color, "0 0 0");
    }
    for (const PrintedPdf::Fill &fill : pdf.fills) {
        ASSERT_EQ(fill.color, "1 1 1");
    }
}

TEST_F(PrintingTest, ThreePagesBlackOnWhiteInsideTheMarginsWithLongLinesBroken) {
    // A dark scheme, so that black on white has to be made for the printout.
    WriteSettingsFile("<Scrivo><ColorScheme>32799</ColorScheme><KeyClick>0</KeyClick></Scrivo>");
    const std::string text = LongText(130);
    LoadText(text);

    const PrintedPdf pdf = Print();

    EXPECT_EQ(pdf.pages, 3);
    EXPECT_EQ(static_cast<int>(pdf.glyphs.size()), CountPrintable(text))
        << "every character printed once: long lines broken, not cut";
    for (const PrintedPdf::Glyph &glyph : pdf.glyphs) {
        ASSERT_TRUE(kA4TextArea.adjusted(-1, -1, 1, 1).contains(glyph.origin))
            << glyph.origin.x() << ", " << glyph.origin.y();
        ASSERT_EQ(glyph.color, "0 0 0");
    }
    for (const PrintedPdf::Fill &fill : pdf.fills) {
        ASSERT_TRUE(kA4TextArea.adjusted(-1, -1, 1, 1).contains(fill.rect))
            << fill.rect.x() << ", " << fill.rect.y() << " " << fill.rect.width();
        ASSERT_EQ(fill.color, "1 1 1");
    }
}

TEST_F(PrintingTest, SelectionIsPrintedAlone) {
    LoadText(LongText(130));
    const std::string selected = "int line2 = 2;\nint line3 = 3;";
    const int start = static_cast<int>(LongText(1).find('\n')) + 1;
    Editor().SetSelectionRange(start, start + static_cast<int>(selected.size()));
    ASSERT_EQ(Editor().selectedText().toStdString(), selected);
    m_printDialog.selection = true;

    const PrintedPdf pdf = Print();

    EXPECT_EQ(pdf.pages, 1);
    EXPECT_EQ(static_cast<int>(pdf.glyphs.size()), CountPrintable(selected));
}

// What the user sees of the text besides the characters: slot colours, the colour of every
// character, and selection with caret.
struct TextLook {
    std::vector<long> slotColors;
    std::vector<int> styles;
    long anchor;
    long caret;
};

TextLook LookOf(const CScrivoRichEditCtrl &editor) {
    TextLook look{{},
                  {},
                  editor.SendScintilla(QsciScintillaBase::SCI_GETANCHOR),
                  editor.SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS)};
    for (int style : {0, 1, 2, 3, 4, 5, static_cast<int>(QsciScintillaBase::STYLE_DEFAULT)}) {
        for (int message :
             {QsciScintillaBase::SCI_STYLEGETFORE, QsciScintillaBase::SCI_STYLEGETBACK}) {
            look.slotColors.push_back(editor.SendScintilla(static_cast<unsigned>(message),
                                                           static_cast<unsigned long>(style)));
        }
    }
    for (int position = 0; position < editor.TextLength(); ++position) {
        look.styles.push_back(editor.StyleAt(position));
    }
    return look;
}

TEST_F(PrintingTest, ColoursSelectionCaretAndUndoHistoryAreAsBefore) {
    WriteSettingsFile("<Scrivo><ColorScheme>32799</ColorScheme><KeyClick>0</KeyClick></Scrivo>");
    LoadText("#include <stdio.h>\n/* note */\nint main(void) { return 0; }\n");
    // Typed inside the comment, the x has the colour that recolouring after the printout gives it.
    const int afterNote = 26;
    Editor().SetSelectionRange(afterNote, afterNote);
    QTest::keyClicks(&Editor(), "x");
    // Selection made backwards: the caret stands at its start.
    Editor().SetSelectionRange(30, 22);
    const TextLook before = LookOf(Editor());
    const QString textBefore = Editor().text();

    Print();
    ASSERT_TRUE(Printed());

    const TextLook after = LookOf(Editor());
    EXPECT_EQ(after.slotColors, before.slotColors);
    EXPECT_EQ(after.styles, before.styles);
    EXPECT_EQ(after.anchor, 30);
    EXPECT_EQ(after.caret, 22);
    EXPECT_EQ(Frame().StatusPaneText(0), QStringLiteral("Ready"));
    EXPECT_FALSE(Editor().Printing());
    EXPECT_TRUE(Editor().viewport()->updatesEnabled()) << "the control paints again";
    EXPECT_TRUE(Editor().NotificationsEnabled());

    EXPECT_EQ(Editor().text(), textBefore);
    Editor().undo();
    EXPECT_FALSE(Editor().text().contains(QLatin1Char('x'))) << "the typed x is the last undo step";
    EXPECT_FALSE(Editor().isUndoAvailable());
}

TEST_F(PrintingTest, JobIsNamedAfterTheCurrentPath) {
    const std::string path =
        QDir::current().absoluteFilePath(QStringLiteral("job.c")).toStdString();
    QFile source(QString::fromStdString(path));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly));
    source.write("int main(void) { return 0; }\r\n");
    source.close();
    Frame().LoadDocument(path);
    ASSERT_EQ(Frame().CurrentPath(), path);

    Print();

    QFile pdf(m_printDialog.outputFile);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    // The document information holds the job name as UTF-16 with a byte order mark.
    QByteArray title = "/Title (\xfe\xff";
    for (char c : path) {
        title += '\0';
        title += c;
    }
    EXPECT_TRUE(pdf.readAll().contains(title + ')')) << path;
}

TEST_F(PrintingTest, NoGutterIsPaintedWhilePrinting) {
    LoadText("one\ntwo\nthree\n");
    const QColor numbers(Frame().Colors().keyword.red, Frame().Colors().keyword.green,
                         Frame().Colors().keyword.blue);
    const auto gutterHasNumbers = [&] {
        const QImage image = Editor().viewport()->grab().toImage();
        for (int y = 0; y < std::min(image.height(), 60); ++y) {
            for (int x = 0; x < CScrivoRichEditCtrl::kGutterWidth; ++x) {
                if (image.pixelColor(x, y) == numbers) {
                    return true;
                }
            }
        }
        return false;
    };
    ASSERT_TRUE(gutterHasNumbers());
    Editor().SetPrinting(true);
    EXPECT_FALSE(gutterHasNumbers());
    Editor().SetPrinting(false);
    EXPECT_TRUE(gutterHasNumbers());
}

}  // namespace
}  // namespace scrivo::testing
