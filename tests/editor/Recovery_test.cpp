// The text the learner did not save, kept in the recovery folder: by the real frame, typed through
// the control's key handling, with the exact bytes Save would write.
#include <QEventLoop>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>

#include "CommandTable.h"
#include "FindReplaceDialog.h"
#include "FrameTestSupport.h"
#include "QtFrameServices.h"
#include "QuitSignals.h"

namespace scrivo::testing {
namespace {

namespace fs = std::filesystem;

class RecoveryTest : public FrameTest {
  protected:
    // Every copy in the recovery folder: name and bytes.
    std::map<std::string, std::string> Copies() const {
        std::map<std::string, std::string> copies;
        std::error_code error;
        for (const auto &entry : fs::directory_iterator(RecoveryFolder(), error)) {
            std::ifstream in(entry.path(), std::ios::binary);
            copies[entry.path().filename().string()] =
                std::string(std::istreambuf_iterator<char>(in), {});
        }
        return copies;
    }

    // Types "int b;", Return, "x" at the start of the text, key by key.
    void TypeAtStart() {
        Editor().SetSelectionRange(0, 0);
        QTest::keyClicks(&Editor(), QStringLiteral("int b;"));
        QTest::keyClick(&Editor(), Qt::Key_Return);
        QTest::keyClick(&Editor(), Qt::Key_X);
    }

    void LoadAC() {
        WriteFile("a.c", "int a;\n");
        Frame().LoadDocument(AbsolutePath("a.c"));
    }
};

TEST_F(RecoveryTest, EveryWayTheTextGoesKeepsWhatSaveWouldWrite) {
    WriteFile("other.c", "int other;");
    struct Way {
        const char *name;
        std::function<void()> go;
        bool replaces;
    };
    const Way ways[] = {
        {"the close box", [this] { Frame().close(); }, false},
        {"Exit", [this] { Frame().ExecuteCommand(command::kFileExit); }, false},
        {"New", [this] { Frame().ExecuteCommand(command::kFileNew); }, true},
        {"Load",
         [this] {
             m_fileDialogs.answers.push_back(AbsolutePath("other.c"));
             Frame().ExecuteCommand(command::kFileLoad);
         },
         true},
        {"a drop",
         [this] { Drop(Editor().viewport(), {QString::fromStdString(AbsolutePath("other.c"))}); },
         true},
    };
    for (const Way &way : ways) {
        for (const bool titled : {false, true}) {
            SCOPED_TRACE(std::string(way.name) + (titled ? ", over a.c" : ", untitled"));
            fs::remove_all(RecoveryFolder());
            DestroyFrame();
            if (titled) {
                LoadAC();
            }
            TypeAtStart();
            way.go();
            const auto copies = Copies();
            ASSERT_EQ(copies.size(), 1u);
            const auto &[name, bytes] = *copies.begin();
            EXPECT_EQ(bytes, titled ? "int b;\r\nxint a;\r\n" : "int b;\r\nx");
            EXPECT_TRUE(name.starts_with(titled ? "a 20" : "Untitled 20")) << name;
            EXPECT_TRUE(name.ends_with(".c")) << name;
            if (way.replaces) {
                EXPECT_NE(Text().find(way.name[0] == 'N' ? "" : "int other;"), std::string::npos);
                EXPECT_EQ(Frame().CurrentPath(), way.name[0] == 'N' ? "" : AbsolutePath("other.c"));
            } else {
                EXPECT_FALSE(Frame().isVisible());
            }
            EXPECT_TRUE(m_fileErrors.messages.empty());
        }
    }
}

TEST_F(RecoveryTest, TextThatMatchesItsFileLeavesNone) {
    const std::vector<std::pair<const char *, std::function<void()>>> steps = {
        {"a loaded file, unchanged", [this] { LoadAC(); }},
        {"typed and taken back",
         [this] {
             LoadAC();
             TypeAtStart();
             for (int i = 0; i < 8; ++i) {
                 QTest::keyClick(&Editor(), Qt::Key_Backspace);
             }
             ASSERT_EQ(Text(), "int a;\n");
         }},
        {"untitled, typed and deleted",
         [this] {
             Frame().ExecuteCommand(command::kFileNew);
             TypeAtStart();
             Frame().ExecuteCommand(command::kEditSelectAll);
             QTest::keyClick(&Editor(), Qt::Key_Delete);
         }},
        {"edited and saved",
         [this] {
             LoadAC();
             TypeAtStart();
             Frame().ExecuteCommand(command::kFileSave);
         }},
        {"untitled and saved as",
         [this] {
             Frame().ExecuteCommand(command::kFileNew);
             TypeAtStart();
             m_fileDialogs.answers.push_back(AbsolutePath("b.c"));
             Frame().ExecuteCommand(command::kFileSaveAs);
         }},
    };
    for (const auto &[what, step] : steps) {
        SCOPED_TRACE(what);
        step();
        Frame().ExecuteCommand(command::kFileNew);
        EXPECT_TRUE(Copies().empty());
    }
    Frame().close();
    EXPECT_TRUE(Copies().empty());
}

// Between the moments the text goes, a copy follows the edits a few seconds behind, for the
// crashes no handler sees (a fault, kill -9); saving the text removes it.
TEST_F(RecoveryTest, PeriodicCopyFollowsTheTextUntilItIsSaved) {
    LoadAC();
    TypeAtStart();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Copies().size() == 1; }, 10000));
    EXPECT_EQ(Copies().begin()->second, "int b;\r\nxint a;\r\n");
    Frame().ExecuteCommand(command::kFileSave);
    EXPECT_TRUE(Copies().empty());
    EXPECT_EQ(ReadFile("a.c"), "int b;\r\nxint a;\r\n");
}

// Replace changes the text with the control's notices masked; it counts as an edit all the same.
TEST_F(RecoveryTest, ReplacedTextIsKeptToo) {
    LoadAC();
    Frame().ExecuteCommand(command::kSearchReplace);
    FindReplaceDialog *dialog = Frame().FindReplaceWindow();
    ASSERT_NE(dialog, nullptr);
    dialog->FindField()->setText(QStringLiteral("a"));
    dialog->ReplaceField()->setText(QStringLiteral("z"));
    dialog->ReplaceAllButton()->click();
    dialog->CancelButton()->click();
    Frame().ExecuteCommand(command::kFileNew);
    ASSERT_EQ(Copies().size(), 1u);
    EXPECT_EQ(Copies().begin()->second, "int z;\r\n");
}

TEST_F(RecoveryTest, TerminationSignalKeepsTheTextAndEndsTheProgram) {
    QuitSignalWatch watch([this](int signal) { Frame().EndOnSignal(signal); });
    LoadAC();
    TypeAtStart();
    std::raise(SIGTERM);
    QEventLoop loop;
    QTimer::singleShot(10000, &loop, [&loop] { loop.exit(-1); });
    EXPECT_EQ(loop.exec(), 128 + SIGTERM) << "the event loop ends as the signal asks";
    ASSERT_EQ(Copies().size(), 1u);
    EXPECT_EQ(Copies().begin()->second, "int b;\r\nxint a;\r\n");
}

// Where the text cannot be kept, the learner is told once, with what to do; the same step again
// lets the text go.
TEST_F(RecoveryTest, TextThatCannotBeKeptIsNotDroppedWithoutAWord) {
    WriteFile("not-a-folder", "");
    qputenv("XDG_STATE_HOME", QFile::encodeName(QDir::current().filePath("not-a-folder")));
    TypeAtStart();
    Frame().ExecuteCommand(command::kFileNew);
    ASSERT_EQ(m_fileErrors.messages.size(), 1u);
    EXPECT_NE(m_fileErrors.messages[0].find("not-a-folder/scrivo/recovered"), std::string::npos)
        << m_fileErrors.messages[0];
    EXPECT_NE(m_fileErrors.messages[0].find("Save As"), std::string::npos);
    EXPECT_EQ(Text(), "int b;\nx") << "the text is still there";
    Frame().ExecuteCommand(command::kFileNew);
    EXPECT_EQ(Text(), "");

    TypeAtStart();
    Frame().close();
    EXPECT_TRUE(Frame().isVisible());
    EXPECT_EQ(m_fileErrors.messages.size(), 2u);
    Frame().close();
    EXPECT_FALSE(Frame().isVisible());
}

// The Load dialog lists the folder in its side bar, for that dialog only: Qt keeps a dialog's side
// bar in settings every Qt program of the user shares.
TEST(RecoveryFolderPlaceTest, LoadDialogListsTheFolderWithoutKeepingIt) {
    QTemporaryDir folder, config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    FileDialogRequest request;
    request.sideBarFolders = {QFile::encodeName(folder.path()).toStdString()};
    const QUrl place = QUrl::fromLocalFile(folder.path());
    QList<QUrl> shown;
    QTimer::singleShot(0, [&shown] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shown = dialog->sidebarUrls();
        dialog->reject();
    });
    QtFileDialogs().ChooseFile(request);
    EXPECT_TRUE(shown.contains(place));
    const QSettings settings(QSettings::UserScope, QStringLiteral("QtProject"));
    EXPECT_FALSE(settings.value(QStringLiteral("FileDialog/shortcuts"))
                     .toStringList()
                     .contains(place.toString()));
}

}  // namespace
}  // namespace scrivo::testing
