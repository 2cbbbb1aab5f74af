#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "AddressSpaceLimit.h"
#include "CommandTable.h"
#include "FileStore.h"
#include "FrameTestSupport.h"
#include "LocalFileNames.h"

namespace scrivo::testing {
namespace {

using namespace std::string_literals;

class DocumentsTest : public FrameTest {
  protected:
    QString Title() { return Frame().windowTitle(); }
};

TEST_F(DocumentsTest, NewEmptiesAnyTextWithoutAsking) {
    WriteFile("a.c", "int a;\n");
    Frame().LoadDocument(AbsolutePath("a.c"));
    Frame().ExecuteCommand(command::kFileNew);
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(Frame().CurrentPath(), "");
    EXPECT_EQ(Title(), QStringLiteral("Scrivo - Untitled"));
    EXPECT_TRUE(m_fileDialogs.requests.empty());
}

TEST_F(DocumentsTest, LoadOpensBesideTheExecutableWhateverTheWorkingDirectory) {
    const QString examples = QCoreApplication::applicationDirPath() + QStringLiteral("/Examples");
    ASSERT_NE(QDir::currentPath(), QCoreApplication::applicationDirPath());
    SetText("kept");
    Frame().ExecuteCommand(command::kFileLoad);  // the fake cancels

    ASSERT_EQ(m_fileDialogs.requests.size(), 1u);
    const FileDialogRequest &request = m_fileDialogs.requests.front();
    EXPECT_EQ(request.mode, FileDialogRequest::Mode::Open);
    EXPECT_EQ(request.title, "Load");
    EXPECT_EQ(request.initialFolder, examples.toStdString());
    EXPECT_EQ(request.initialName, "*.c");
    EXPECT_EQ(request.defaultSuffix, "c");
    EXPECT_EQ(request.nameFilters, (std::vector<std::string>{"c Files (*.c)", "All Files (*)"}));
    EXPECT_EQ(request.sideBarFolders, std::vector<std::string>{RecoveryFolder()})
        << "the texts kept unsaved are one click away";
    EXPECT_EQ(Text(), "kept") << "cancelling changes nothing";
    EXPECT_EQ(Frame().CurrentPath(), "");
}

TEST_F(DocumentsTest, LoadColoursTheWholeTextAndEndsReadyAtTheStart) {
    WriteFile("prog.c", "int a;\r\nchar b;\r\nreturn c;");
    m_fileDialogs.answers.push_back(AbsolutePath("prog.c"));
    Editor().SetSelectionRange(0, 0);
    Frame().ExecuteCommand(command::kFileLoad);

    EXPECT_EQ(Text(), "int a;\nchar b;\nreturn c;");
    EXPECT_EQ(Frame().CurrentPath(), AbsolutePath("prog.c"));
    EXPECT_EQ(Title(), QString::fromStdString("Scrivo - " + AbsolutePath("prog.c")));
    const int keywordStyle = static_cast<int>(ColorSlot::Keyword);
    for (int start : {0, 7, 15}) {
        EXPECT_EQ(Editor().StyleAt(start), keywordStyle) << "keyword at " << start;
    }
    EXPECT_EQ(Editor().StyleAt(Editor().TextLength() - 1), static_cast<int>(ColorSlot::Operator));
    EXPECT_EQ(Editor().SelectionStart(), 0);
    EXPECT_EQ(Editor().SelectionEnd(), 0);
    EXPECT_EQ(Frame().StatusPaneText(0), QStringLiteral("Ready"));
    EXPECT_EQ(Frame().StatusPaneText(1), QStringLiteral("Line 1  Col 1 \t3 Lines"));
    EXPECT_TRUE(Editor().viewport()->updatesEnabled());
    EXPECT_FALSE(Editor().isUndoAvailable()) << "the load is not an undo step";
}

TEST_F(DocumentsTest, SaveWritesCrLfAndKeepsEveryOtherByte) {
    // LF, lone CR and CR LF ends; control bytes, bytes that are not UTF-8 and UTF-8; no break at
    // the end.
    WriteFile("round.c", "int a;\n\rb\r\nx\x01y\xE9\xFF\xC3\xA9"s);
    Frame().LoadDocument(AbsolutePath("round.c"));
    WriteFile("round.c", "overwritten");
    Frame().ExecuteCommand(command::kFileSave);
    EXPECT_EQ(ReadFile("round.c"), "int a;\r\n\r\nb\r\nx\x01y\xE9\xFF\xC3\xA9"s);
    EXPECT_TRUE(m_fileDialogs.requests.empty()) << "a titled text saves without a dialog";
    EXPECT_TRUE(m_fileErrors.messages.empty());
}

// Shown one byte at a time, a file of another format would get CR bytes between the halves of its
// characters when saved. Saved unchanged it stays as it was, byte for byte; saved changed it is
// left alone, and the message sends the user to Save As.
TEST_F(DocumentsTest, SaveNeverAltersAFileInAnotherFormat) {
    const struct {
        const char *name;
        std::string bytes;
        const char *format;
    } cases[] = {
        {"le16.c", "\xFF\xFEi\0n\0t\0\r\0\n\0x\0\n\0;\0"s, "UTF-16"},
        {"be16.c", "\xFE\xFF\0i\0\r\0\n\x4E\x2D"s, "UTF-16"},
        {"le32.c", "\xFF\xFE\0\0i\0\0\0\r\0\0\0\n\0\0\0"s, "UTF-32"},
        {"prog.o",
         "\x7F"
         "ELF\x02\x01\x01\0\0\r\n\n\r\0\xFF"s,
         "binary"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(c.name, c.bytes);
        m_fileErrors.messages.clear();
        Frame().LoadDocument(AbsolutePath(c.name));
        Frame().ExecuteCommand(command::kFileSave);
        EXPECT_EQ(ReadFile(c.name), c.bytes) << "saved unchanged";
        EXPECT_TRUE(m_fileErrors.messages.empty());

        Editor().append(QStringLiteral("edited"));
        Frame().ExecuteCommand(command::kFileSave);
        EXPECT_EQ(ReadFile(c.name), c.bytes) << "saved changed";
        ASSERT_EQ(m_fileErrors.messages.size(), 1u);
        for (const std::string &part :
             {AbsolutePath(c.name), std::string(c.format), std::string("Use Save As")}) {
            EXPECT_NE(m_fileErrors.messages[0].find(part), std::string::npos)
                << m_fileErrors.messages[0];
        }
    }
}

TEST_F(DocumentsTest, SaveOnUntitledTextIsSaveAs) {
    SetText("int x;");
    Frame().ExecuteCommand(command::kFileSave);  // the fake cancels
    ASSERT_EQ(m_fileDialogs.requests.size(), 1u);
    EXPECT_EQ(m_fileDialogs.requests[0].mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(m_fileDialogs.requests[0].initialFolder, QDir::currentPath().toStdString())
        << "nothing saved yet: the working directory";
    EXPECT_EQ(Frame().CurrentPath(), "");
    EXPECT_EQ(Title(), QStringLiteral("Scrivo - Untitled"));

    m_fileDialogs.answers.push_back(AbsolutePath("new.c"));
    Frame().ExecuteCommand(command::kFileSave);
    EXPECT_EQ(ReadFile("new.c"), "int x;");
    EXPECT_EQ(Frame().CurrentPath(), AbsolutePath("new.c"));
    EXPECT_EQ(Title(), QString::fromStdString("Scrivo - " + AbsolutePath("new.c")));
    EXPECT_EQ(Editor().StyleAt(0), static_cast<int>(ColorSlot::Keyword))
        << "the caret's line is recoloured after saving";
}

// Save As opens beside the current file, or for an untitled text where this run last saved; never
// where the last dialog happened to be (the examples, after a Load).
TEST_F(DocumentsTest, SaveAsOpensBesideTheFileOrWhereTheLastSaveWent) {
    ASSERT_TRUE(QDir().mkpath(QStringLiteral("lessons/one")));
    ASSERT_TRUE(QDir().mkpath(QStringLiteral("homework")));
    WriteFile("lessons/one/ball.c", "int ball;");
    const auto saveAsFolder = [this] {
        Frame().ExecuteCommand(command::kFileSaveAs);  // the fake cancels
        return m_fileDialogs.requests.back().initialFolder;
    };
    Frame().LoadDocument(AbsolutePath("lessons/one/ball.c"));
    EXPECT_EQ(saveAsFolder(), AbsolutePath("lessons/one"));

    m_fileDialogs.answers.push_back(AbsolutePath("homework/ball2.c"));
    Frame().ExecuteCommand(command::kFileSaveAs);
    Frame().ExecuteCommand(command::kFileNew);
    EXPECT_EQ(saveAsFolder(), AbsolutePath("homework"));
}

TEST_F(DocumentsTest, SaveAsKeepsTheFilePermissions) {
    WriteFile("mode.c", "old");
    ASSERT_EQ(chmod("mode.c", 0640), 0);
    SetText("new");
    m_fileDialogs.answers.push_back(AbsolutePath("mode.c"));
    Frame().ExecuteCommand(command::kFileSaveAs);
    EXPECT_EQ(ReadFile("mode.c"), "new");
    EXPECT_EQ(QFile::permissions(QStringLiteral("mode.c")), QFile::ReadOwner | QFile::WriteOwner |
                                                                QFile::ReadUser | QFile::WriteUser |
                                                                QFile::ReadGroup);
}

TEST_F(DocumentsTest, DropLoadsTheFirstFileOfAnyExtension) {
    WriteFile("first.h", "#define A 1\n");
    WriteFile("second.c", "second");
    WriteFile("third.txt", "third");
    const QStringList files = {QString::fromStdString(AbsolutePath("first.h")),
                               QString::fromStdString(AbsolutePath("second.c")),
                               QString::fromStdString(AbsolutePath("third.txt"))};
    Drop(Editor().viewport(), files);
    EXPECT_EQ(Text(), "#define A 1\n") << "a drop on the text area loads, never inserts names";
    EXPECT_EQ(Frame().CurrentPath(), AbsolutePath("first.h"));
    EXPECT_EQ(Editor().StyleAt(0), static_cast<int>(ColorSlot::Directive));

    Frame().ExecuteCommand(command::kFileNew);
    Drop(&Frame(), {QString::fromStdString(AbsolutePath("third.txt"))});
    EXPECT_EQ(Text(), "third");
}

TEST_F(DocumentsTest, FailedLoadKeepsTextPathAndTitle) {
    WriteFile("good.c", "int good;");
    ASSERT_EQ(mkfifo("fifo.c", 0600), 0);
    Frame().LoadDocument(AbsolutePath("good.c"));
    const QString title = Title();
    for (const auto &[name, reason] :
         {std::pair{"missing.c", "No such file"}, std::pair{"fifo.c", "not a regular file"}}) {
        SCOPED_TRACE(name);
        m_fileErrors.messages.clear();
        const std::string path = AbsolutePath(name);
        Frame().LoadDocument(path);  // a FIFO must not wait for a writer
        ASSERT_EQ(m_fileErrors.messages.size(), 1u);
        EXPECT_NE(m_fileErrors.messages[0].find(path), std::string::npos)
            << m_fileErrors.messages[0];
        EXPECT_NE(m_fileErrors.messages[0].find(reason), std::string::npos)
            << m_fileErrors.messages[0];
        EXPECT_EQ(Text(), "int good;");
        EXPECT_EQ(Frame().CurrentPath(), AbsolutePath("good.c"));
        EXPECT_EQ(Title(), title);
        EXPECT_EQ(Frame().StatusPaneText(0), QStringLiteral("Ready"));
        EXPECT_TRUE(Editor().viewport()->updatesEnabled());
    }
}

// A name that is not UTF-8 reaches open() and the save as the system's bytes, however it came.
TEST_F(DocumentsTest, NameThatIsNotUtf8OpensAndSavesUnderItsOwnBytes) {
    const std::string path = QFile::encodeName(QDir::currentPath()).toStdString() + "/caf\xE9.c";
    const QString shown = QFile::decodeName(path.c_str());
    struct Case {
        const char *name;
        std::function<void()> open;
    };
    for (const Case &c : std::vector<Case>{
             {"dropped",
              [&] {
                  DropUrls(
                      Editor().viewport(),
                      {QUrl::fromEncoded("file://" +
                                         QByteArray::fromStdString(path).toPercentEncoding("/"))});
              }},
             {"returned by a file dialog as Qt shows it",
              [&] {
                  m_fileDialogs.answers.push_back(LocalFileBytes(shown));
                  Frame().ExecuteCommand(command::kFileLoad);
              }},
         }) {
        SCOPED_TRACE(c.name);
        std::ofstream(path, std::ios::binary) << "int old;";
        Frame().ExecuteCommand(command::kFileNew);
        c.open();
        EXPECT_EQ(Text(), "int old;");
        EXPECT_EQ(Frame().CurrentPath(), path);
        EXPECT_TRUE(Title().endsWith(QStringLiteral("/caf\uFFFD.c"))) << Title().toStdString();

        SetText("int new;");
        Frame().ExecuteCommand(command::kFileSave);
        std::ifstream saved(path, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), "int new;");
        const auto files = std::filesystem::directory_iterator(".");
        EXPECT_EQ(std::count_if(begin(files), end(files),
                                [](const auto &entry) { return entry.is_regular_file(); }),
                  1)
            << "no file under another name";
        EXPECT_TRUE(m_fileErrors.messages.empty());
    }
    // Qt's temporary folder cannot remove a name it cannot decode.
    std::filesystem::remove(path);
}

// A save that fails half-way (the file-size limit stops the write) leaves the old file whole.
TEST_F(DocumentsTest, FailedSaveLeavesTheOldFileIntact) {
    const std::string old = "int old;\r\n"s;
    WriteFile("keep.c", old);
    Frame().LoadDocument(AbsolutePath("keep.c"));
    SetText(std::string(4096, 'x').c_str());

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    Frame().ExecuteCommand(command::kFileSave);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(ReadFile("keep.c"), old);
    ASSERT_EQ(m_fileErrors.messages.size(), 1u);
    EXPECT_NE(m_fileErrors.messages[0].find(AbsolutePath("keep.c")), std::string::npos);
    EXPECT_NE(m_fileErrors.messages[0].find("too large"), std::string::npos)
        << "the system's reason: " << m_fileErrors.messages[0];
    EXPECT_EQ(QDir::current().entryList(QDir::Files).size(), 1) << "no temporary file is left";
}

TEST_F(DocumentsTest, FailedSaveAsKeepsThePreviousPath) {
    SetText("text");
    const std::string intoMissingFolder = AbsolutePath("no/such/folder/a.c");
    m_fileDialogs.answers.push_back(intoMissingFolder);
    Frame().ExecuteCommand(command::kFileSaveAs);
    ASSERT_EQ(m_fileErrors.messages.size(), 1u);
    EXPECT_NE(m_fileErrors.messages[0].find(intoMissingFolder), std::string::npos);
    EXPECT_EQ(Frame().CurrentPath(), "");
    EXPECT_EQ(Title(), QStringLiteral("Scrivo - Untitled"));
}

// A load that cannot get its memory, whether for the file's bytes, the control or the colouring,
// is reported like a file that cannot be read and leaves the text as it was. Each limit on the
// address space is tried in a process of its own.
TEST_F(DocumentsTest, LoadShortOfMemoryKeepsTheText) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "an address-space limit cannot be combined with the sanitizer";
#endif
    std::string source;
    while (source.size() < (16 << 20)) {
        source += "    total = total + values[i]; /* add */ if (x) { return 0; }\n";
    }
    WriteFile("big.c", source);
    WriteFile("good.c", "int good;");
    Frame().LoadDocument(AbsolutePath("good.c"));
    const long inUse = AddressSpaceInUse();
    std::vector<bool> loaded;
    for (const long roomMegabytes : {8, 96, 2048}) {
        SCOPED_TRACE(roomMegabytes);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            LimitAddressSpace(inUse, roomMegabytes << 20);
            Frame().LoadDocument(AbsolutePath("big.c"));
            const bool whole = Text().size() == source.size() && m_fileErrors.messages.empty() &&
                               Frame().CurrentPath() == AbsolutePath("big.c");
            const bool kept =
                Text() == "int good;" && Frame().CurrentPath() == AbsolutePath("good.c") &&
                m_fileErrors.messages.size() == 1 &&
                m_fileErrors.messages[0].find(kNotEnoughMemory) != std::string::npos &&
                Editor().StyleAt(0) == static_cast<int>(ColorSlot::Keyword);
            ::_exit(whole ? 10 : kept ? 11 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) >= 10)
            << "the load must end loaded or refused with the text kept; status " << status;
        loaded.push_back(WEXITSTATUS(status) == 10);
    }
    EXPECT_FALSE(loaded.front()) << "far too little memory is refused";
    EXPECT_TRUE(loaded.back()) << "enough memory loads the file";
}

TEST_F(DocumentsTest, LoadsAOneMegabyteLine) {
    std::string line;
    for (int i = 0; i < 1 << 16; ++i) {
        line += "x = y + 1; /*  */";
    }
    WriteFile("long.c", "int a;\n" + line + "\nint b;\n");
    Frame().LoadDocument(AbsolutePath("long.c"));
    EXPECT_EQ(Editor().LineCount(), 4);
    EXPECT_EQ(Editor().TextLength(), static_cast<int>(7 + line.size() + 8));
    EXPECT_EQ(Editor().StyleAt(Editor().TextLength() - 7), static_cast<int>(ColorSlot::Keyword));
}

}  // namespace
}  // namespace scrivo::testing
