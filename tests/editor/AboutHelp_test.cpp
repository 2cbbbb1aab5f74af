#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <set>

#include "AboutDlg.h"
#include "ColorSchemes.h"
#include "CommandTable.h"
#include "FrameTestSupport.h"
#include "QtFrameServices.h"
#include "Splash.h"

namespace scrivo::testing {
namespace {

TEST(AboutDlgTest, ShowsThePictureAndTheVersionWithoutCaptionOrButtons) {
    CAboutDlg dialog;
    const auto *picture = dialog.findChild<QLabel *>(QStringLiteral("picture"));
    const auto *version = dialog.findChild<QLabel *>(QStringLiteral("version"));
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(version, nullptr);

    const QImage expected(QString::fromLatin1(kSplashPicture));
    ASSERT_EQ(expected.size(), QSize(489, 229));
    EXPECT_EQ(picture->pixmap().toImage().convertToFormat(expected.format()), expected);
    EXPECT_EQ(picture->size(), expected.size());
    EXPECT_EQ(version->text(), QStringLiteral("Version 1.0"));
    EXPECT_EQ(version->textFormat(), Qt::PlainText);
    // An empty title would let Qt put the program's name in the caption bar.
    EXPECT_FALSE(dialog.windowTitle().isEmpty());
    EXPECT_TRUE(dialog.windowTitle().trimmed().isEmpty()) << "no caption text";
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(dialog.findChildren<QPushButton *>().isEmpty());
    EXPECT_TRUE(dialog.rect().contains(picture->geometry()));
    EXPECT_TRUE(dialog.rect().contains(version->geometry()));
}

// Esc and the close box are the dialog's own; Return has no button to press and needs our handler.
TEST(AboutDlgTest, ReturnAndEnterCloseTheBox) {
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        CAboutDlg dialog;
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClick(&dialog, key);
        EXPECT_FALSE(dialog.isVisible()) << "key " << key;
    }
}

using AboutHelpFrameTest = FrameTest;

TEST_F(AboutHelpFrameTest, AboutRunsTheBoxOverTheFrameThroughTheDialogRunner) {
    const QDialog *shown = nullptr;
    m_dialogs.answer = [&](QDialog &dialog) {
        shown = &dialog;
        EXPECT_NE(qobject_cast<CAboutDlg *>(&dialog), nullptr);
        EXPECT_EQ(dialog.parentWidget(), &Frame());
        QTest::keyClick(&dialog, Qt::Key_Return);
    };
    Frame().ExecuteCommand(command::kHelpAbout);
    EXPECT_EQ(m_dialogs.runs, 1);
    EXPECT_NE(shown, nullptr);
}

TEST_F(AboutHelpFrameTest, ContentsAsksTheViewerForTheHelpFileEachTime) {
    Frame().ExecuteCommand(command::kHelpContents);
    Frame().ExecuteCommand(command::kHelpContents);
    EXPECT_EQ(m_helpViewer.topics,
              (std::vector<std::string>{"Help/Scrivo_Help.html", "Help/Scrivo_Help.html"}));
}

class HelpViewerTest : public FrameTest {};

TEST_F(HelpViewerTest, CreatedOnFirstUseAndReusedShowingTheFile) {
    ASSERT_TRUE(QDir().mkpath(QStringLiteral("Help")));
    QFile help(QStringLiteral("Help/Scrivo_Help.html"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.write("<html><body><h1>First steps</h1><p>Press F5.</p></body></html>");
    help.close();

    QWidget editor;
    editor.setGeometry(200, 150, 1200, 800);
    editor.show();
    editor.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));

    QtHelpViewer viewer;
    EXPECT_EQ(viewer.Window(), nullptr);
    viewer.DisplayTopic("Help/Scrivo_Help.html");
    QTextBrowser *window = viewer.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_LE(
        (window->frameGeometry().center() - editor.frameGeometry().center()).manhattanLength(), 10)
        << "the help opens over the window it was asked from";
    EXPECT_TRUE(window->toPlainText().contains(QStringLiteral("First steps")));

    window->hide();
    viewer.DisplayTopic("Help/Scrivo_Help.html");
    EXPECT_EQ(viewer.Window(), window);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(HelpViewerTest, MissingFileIsReportedInTheViewer) {
    QtHelpViewer viewer;
    viewer.DisplayTopic("Help/Scrivo_Help.html");
    ASSERT_NE(viewer.Window(), nullptr);
    const QString shown = viewer.Window()->toPlainText();
    EXPECT_TRUE(shown.contains(QStringLiteral("could not be opened"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Scrivo_Help.html")));
}

// The delivered help file: every link inside it leads to an anchor that exists, and every picture
// it shows is there beside it.
TEST(HelpFileTest, InternalLinksAndPicturesResolve) {
    const QString path = QString::fromUtf8(SCRIVO_HELP_FILE);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QString html = QString::fromUtf8(file.readAll());

    std::set<QString> anchors;
    for (const auto &match :
         QRegularExpression(QStringLiteral("\\b(?:id|name)=\"([^\"]+)\"")).globalMatch(html)) {
        anchors.insert(match.captured(1));
    }
    int links = 0;
    for (const auto &match :
         QRegularExpression(QStringLiteral("href=\"#([^\"]+)\"")).globalMatch(html)) {
        ++links;
        EXPECT_TRUE(anchors.count(match.captured(1))) << match.captured(1).toStdString();
    }
    EXPECT_GT(links, 5) << "the guide has a table of contents";
    const QDir folder = QFileInfo(path).dir();
    for (const auto &match :
         QRegularExpression(QStringLiteral("<img[^>]*src=\"([^\"]+)\"")).globalMatch(html)) {
        EXPECT_TRUE(folder.exists(match.captured(1))) << match.captured(1).toStdString();
    }
    // The section on schemes names each of them; a new row of the scheme table must reach it.
    const QString schemes = html.section(QStringLiteral("<h2 id=\"schemes\">"), 1)
                                .section(QStringLiteral("<h2"), 0, 0)
                                .simplified();
    for (const ColorScheme &scheme : ColorSchemes()) {
        EXPECT_TRUE(schemes.contains(QString::fromLatin1(scheme.caption)))
            << "the help's section on colour schemes does not name " << scheme.caption;
    }
}

}  // namespace
}  // namespace scrivo::testing
