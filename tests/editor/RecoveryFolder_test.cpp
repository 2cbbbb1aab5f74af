#include "RecoveryFolder.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace scrivo {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string Contents(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::tm At(int year, int month, int day, int hour, int minute, int second) {
    std::tm time = {};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

TEST(RecoveryFolderTest, FolderFollowsTheStateHomeOrTheHomeFolder) {
    struct Case {
        const char *stateHome;
        const char *home;
        const char *folder;
    };
    for (const Case &c : {
             Case{"/state", "/home/ann", "/state/scrivo/recovered"},
             Case{"/state//", "/home/ann", "/state/scrivo/recovered"},
             Case{"relative/state", "/home/ann", "/home/ann/.local/state/scrivo/recovered"},
             Case{"", "/home/ann/", "/home/ann/.local/state/scrivo/recovered"},
             Case{nullptr, nullptr, ""},
         }) {
        EXPECT_EQ(RecoveryFolderPath(c.stateHome, c.home), c.folder)
            << (c.stateHome ? c.stateHome : "(unset)") << ", " << (c.home ? c.home : "(unset)");
    }
}

TEST(RecoveryFolderTest, NameCarriesTheFileAndTheTime) {
    const std::tm time = At(2026, 12, 9, 0, 45, 7);
    struct Case {
        std::string source;
        int sequence;
        std::string name;
    };
    for (const Case &c : {
             Case{"/home/ann/ball.c", 1, "ball 2026-12-09 00-45-07.c"},
             Case{"/home/ann/ball.c", 2, "ball 2026-12-09 00-45-07 (2).c"},
             Case{"", 1, "Untitled 2026-12-09 00-45-07.c"},
             Case{"/home/ann/Makefile", 1, "Makefile 2026-12-09 00-45-07"},
             Case{"/a/notes.tar.gz", 1, "notes.tar 2026-12-09 00-45-07.gz"},
             Case{"/a/b.an-extension-too-long", 1, "b.an-extension-too-long 2026-12-09 00-45-07"},
         }) {
        EXPECT_EQ(RecoveryFileName(c.source, time, c.sequence), c.name) << c.source;
    }
}

TEST(RecoveryFolderTest, LongNameIsShortenedBetweenCharacters) {
    std::string stem;
    for (int i = 0; i < 200; ++i) {
        stem += "\xC3\xA9";  // é, two bytes
    }
    const std::string name = RecoveryFileName("/a/" + stem + ".c", At(2026, 1, 2, 3, 4, 5), 12);
    EXPECT_LE(name.size(), 255u);
    EXPECT_TRUE(name.ends_with("\xC3\xA9 2026-01-02 03-04-05 (12).c")) << name;
}

class RecoveryFolderFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        m_root = fs::temp_directory_path() / ("recovery-test-" + std::to_string(::getpid()));
        fs::remove_all(m_root);
        fs::create_directories(m_root);
    }
    void TearDown() override { fs::remove_all(m_root); }

    std::size_t FileCount() const {
        const auto files = fs::directory_iterator(Folder());
        return static_cast<std::size_t>(std::distance(begin(files), end(files)));
    }
    fs::path Folder() const { return m_root / "state/scrivo/recovered"; }

    fs::path m_root;
};

TEST_F(RecoveryFolderFiles, KeepsExactBytesInAPrivateFileAndRewritesTheSameCopy) {
    RecoveryFolder recovery(Folder().string());
    std::string name;
    const std::string first = "int a;\r\n\0\xE9"s;
    ASSERT_TRUE(recovery.Keep(name, "/home/ann/ball.c", first).Ok());
    ASSERT_TRUE(name.starts_with("ball ")) << name;
    EXPECT_EQ(Contents(Folder() / name), first);
    EXPECT_EQ(fs::status(Folder()).permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(Folder() / name).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);

    const std::string sameText = name;
    ASSERT_TRUE(recovery.Keep(name, "/home/ann/ball.c", "int b;").Ok());
    EXPECT_EQ(name, sameText) << "a text keeps its one copy";
    EXPECT_EQ(Contents(Folder() / name), "int b;");

    std::string other;
    ASSERT_TRUE(recovery.Keep(other, "/home/ann/ball.c", "int c;").Ok());
    EXPECT_NE(other, name) << "another text in the same second gets a name of its own";
    EXPECT_EQ(FileCount(), 2u);

    recovery.Discard(name);
    EXPECT_FALSE(fs::exists(Folder() / name));
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(RecoveryFolderFiles, OnlyTheNewestCopiesStay) {
    RecoveryFolder recovery(Folder().string(), 3);
    fs::create_directories(Folder());
    const auto now = fs::file_time_type::clock::now();
    for (int age = 1; age <= 4; ++age) {
        const fs::path old = Folder() / ("old" + std::to_string(age) + ".c");
        std::ofstream(old) << age;
        fs::last_write_time(old, now - std::chrono::hours(age));
    }
    std::string name;
    ASSERT_TRUE(recovery.Keep(name, "", "new").Ok());
    EXPECT_TRUE(fs::exists(Folder() / name));
    EXPECT_TRUE(fs::exists(Folder() / "old1.c"));
    EXPECT_TRUE(fs::exists(Folder() / "old2.c"));
    EXPECT_EQ(FileCount(), 3u);
}

TEST_F(RecoveryFolderFiles, FailureLeavesNothingBehindAndSaysWhy) {
    std::string name;
    EXPECT_NE(RecoveryFolder("").Keep(name, "", "x").failure.find("HOME"), std::string::npos);

    std::ofstream(m_root / "file") << "in the way";
    const FileResult blocked =
        RecoveryFolder((m_root / "file/recovered").string()).Keep(name, "", "x");
    EXPECT_NE(blocked.failure.find("Not a directory"), std::string::npos) << blocked.failure;
    EXPECT_EQ(name, "");

    // A full disk: writes past 1 KiB fail in this process.
    RecoveryFolder recovery(Folder().string());
    rlimit saved = {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const FileResult full = recovery.Keep(name, "/a/big.c", std::string(4096, 'x'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(full.Ok());
    EXPECT_EQ(name, "");
    EXPECT_EQ(FileCount(), 0u) << "neither the reserved name nor a temporary file stays";
}

}  // namespace
}  // namespace scrivo
