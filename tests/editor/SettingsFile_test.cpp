#include "SettingsFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "AddressSpaceLimit.h"
#include "ColorSchemes.h"

namespace scrivo {

// Found by the test framework through the argument's namespace.
void PrintTo(const EditorSettings &settings, std::ostream *out) {
    *out << "{scheme " << settings.colorSchemeId << ", click " << settings.keyClick << "}";
}

namespace {

namespace fs = std::filesystem;

const EditorSettings kDefaults{kFallbackSchemeId, true};

// Each test works in a folder of its own with a "Config" folder inside it.
class SettingsFileTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "settings-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        fs::create_directory(m_root / "Config");
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(m_root / "Config", fs::perms::owner_all, ignored);
        fs::remove_all(m_root, ignored);
    }

    std::string Path() const { return (m_root / "Config" / "Scrivo_Config.xml").string(); }

    void Put(const std::string &content) const {
        std::ofstream(Path(), std::ios::binary) << content;
    }

    std::string Contents() const {
        std::ifstream in(Path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Everything in the Config folder: a write must never leave a temporary file behind.
    std::vector<std::string> ConfigEntries() const {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(m_root / "Config")) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    fs::path m_root;
};

TEST_F(SettingsFileTest, RoundTripKeepsEverythingElseInTheFile) {
    Put("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- chosen by the teacher -->\n"
        "<Anything lang=\"en\">\n"
        "    <KeyClick>1</KeyClick>\n"
        "    <Note>keep &amp; me</Note>\n"
        "    <ColorScheme> 32799</ColorScheme>\n"
        "</Anything>\n");
    SettingsFile file(Path());
    EXPECT_EQ(file.Read(), (EditorSettings{32799, true}));

    ASSERT_TRUE(file.Write({32802, false}));
    EXPECT_EQ(Contents(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<!-- chosen by the teacher -->\n"
              "<Anything lang=\"en\">\n"
              "    <KeyClick>0</KeyClick>\n"
              "    <Note>keep &amp; me</Note>\n"
              "    <ColorScheme>32802</ColorScheme>\n"
              "</Anything>\n");
    EXPECT_EQ(SettingsFile(Path()).Read(), (EditorSettings{32802, false}));
    EXPECT_EQ(ConfigEntries(), std::vector<std::string>{"Scrivo_Config.xml"});
}

// Only the two settings change. Whatever else the user wrote comes back as written; what the
// library cannot write back as it read it leaves the file as it was, never a file that no longer
// parses.
TEST_F(SettingsFileTest, WhatTheUserWroteComesBackOrTheFileIsLeftAlone) {
    const std::string settings =
        "    <ColorScheme>32799</ColorScheme>\n    <KeyClick>1</KeyClick>\n";
    const struct {
        const char *name;
        std::string content;
        bool written;
    } cases[] = {
        {"a character reference to NUL",
         "<s>\n" + settings + "    <mine>keep &#0; this text</mine>\n</s>\n", true},
        {"entities and references",
         "<s>\n" + settings + "    <u>&e; &amp; &lt; &#xD; &quot; > caf&#233;</u>\n</s>\n", true},
        {"a Latin-1 document with CDATA and a comment",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<s a=\"caf\xE9\">\n" + settings +
             "    <!-- \xE9 -->\n    <c><![CDATA[a<b]]></c>\n</s>\n",
         true},
        {"a document type declaring an entity",
         "<!DOCTYPE s [<!ENTITY e \"x\">]>\n<s>\n" + settings + "    <u>&e;</u>\n</s>\n", false},
        {"an attribute in ' quotes holding \"", "<s a='say \"hi\"'>\n" + settings + "</s>\n",
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Put(c.content);
        SettingsFile file(Path());
        EXPECT_EQ(file.Read(), (EditorSettings{32799, true}));
        EXPECT_EQ(file.Write({32802, false}), c.written);
        std::string expected = c.content;
        if (c.written) {
            expected.replace(expected.find("32799"), 5, "32802");
            expected.replace(expected.find("<KeyClick>1"), 11, "<KeyClick>0");
        }
        EXPECT_EQ(Contents(), expected);
    }
}

// A file far larger than settings ever are is not read, even where it would not fit in memory (a
// limit on the address space in a process of its own), and it is never overwritten.
TEST_F(SettingsFileTest, FileFarLargerThanAnySettingsIsNotRead) {
    const std::string start = "<S><ColorScheme>32802</ColorScheme><KeyClick>0</KeyClick><!--";
    const std::string end = "--></S>";
    Put(start + std::string(SettingsFile::kMaximumBytes - start.size() - end.size(), ' ') + end);
    EXPECT_EQ(SettingsFile(Path()).Read(), (EditorSettings{32802, false})) << "the largest read";

    fs::resize_file(Path(), std::uintmax_t{1} << 30);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
#if !defined(__SANITIZE_ADDRESS__)  // the sanitizer cannot run under an address-space limit
        LimitAddressSpace(AddressSpaceInUse(), 64 << 20);
#endif
        SettingsFile file(Path());
        const bool defaults = file.Read() == kDefaults;
        ::_exit(defaults && !file.Write({32799, true}) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_EQ(fs::file_size(Path()), std::uintmax_t{1} << 30);
}

TEST_F(SettingsFileTest, NumbersAreReadAsAtoiReadsThem) {
    struct Case {
        const char *schemeText;
        const char *clickText;
        EditorSettings expected;
    };
    for (const Case &c : {
             Case{" 32799", "1", {32799, true}},
             Case{"\t\n32802abc", "01", {32802, true}},
             Case{"+32805", "1x", {32805, true}},
             Case{"-5", " +1", {-5, true}},
             Case{"abc", "yes", {0, false}},
             Case{"", "true", {kFallbackSchemeId, false}},
             Case{"99999999999", "2", {INT_MAX, false}},
             Case{"-99999999999", "-1", {INT_MIN, false}},
         }) {
        Put(std::string("<S><ColorScheme>") + c.schemeText + "</ColorScheme><KeyClick>" +
            c.clickText + "</KeyClick></S>");
        EXPECT_EQ(SettingsFile(Path()).Read(), c.expected)
            << "ColorScheme \"" << c.schemeText << "\", KeyClick \"" << c.clickText << "\"";
    }
}

TEST_F(SettingsFileTest, WhatIsMissingReadsAsDefaultsAndIsCreatedOnWrite) {
    struct Case {
        const char *name;
        const char *content;   // nullptr: no file at all
        const char *survivor;  // text that must still be in the written file
    };
    for (const Case &c : {
             Case{"missing file", nullptr, "<ColorScheme>"},
             Case{"empty file", "", "<ColorScheme>"},
             Case{"no root", "<?xml version=\"1.0\"?>\n<!-- nothing yet -->\n", "nothing yet"},
             Case{"no elements", "<Mine><Other/></Mine>", "<Other/>"},
             Case{"no texts", "<Mine><ColorScheme/><KeyClick></KeyClick></Mine>", "<Mine>"},
         }) {
        SCOPED_TRACE(c.name);
        fs::remove(Path());
        if (c.content != nullptr) Put(c.content);
        SettingsFile file(Path());
        EXPECT_EQ(file.Read(), kDefaults);
        ASSERT_TRUE(file.Write({32805, false}));
        EXPECT_NE(Contents().find(c.survivor), std::string::npos) << Contents();
        EXPECT_EQ(SettingsFile(Path()).Read(), (EditorSettings{32805, false})) << Contents();
    }
}

TEST_F(SettingsFileTest, MalformedFileIsNeverOverwritten) {
    const std::string broken = "<Settings><ColorScheme>32802</ColorScheme><!-- my notes -->";
    Put(broken);
    SettingsFile file(Path());
    EXPECT_EQ(file.Read(), kDefaults);
    EXPECT_FALSE(file.Write({32799, true}));
    EXPECT_EQ(Contents(), broken);
    EXPECT_EQ(ConfigEntries(), std::vector<std::string>{"Scrivo_Config.xml"});
}

TEST_F(SettingsFileTest, WriteFailsCleanlyWhenTheFolderIsUnusable) {
    fs::remove(m_root / "Config");
    SettingsFile missingFolder(Path());
    EXPECT_EQ(missingFolder.Read(), kDefaults);
    EXPECT_FALSE(missingFolder.Write({32799, true}));
    EXPECT_FALSE(fs::exists(m_root / "Config"));

    std::ofstream(m_root / "Config") << "a file where the folder should be";
    SettingsFile fileAsFolder(Path());
    EXPECT_EQ(fileAsFolder.Read(), kDefaults);
    EXPECT_FALSE(fileAsFolder.Write({32799, true}));
}

TEST_F(SettingsFileTest, ReadOnlyFileOrFolderIsLeftAsItWas) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    const std::string original = "<S><ColorScheme>32802</ColorScheme><KeyClick>0</KeyClick></S>";
    Put(original);
    fs::permissions(Path(), fs::perms::owner_read);
    SettingsFile readOnlyFile(Path());
    EXPECT_EQ(readOnlyFile.Read(), (EditorSettings{32802, false}));
    EXPECT_FALSE(readOnlyFile.Write({32799, true}));
    EXPECT_EQ(Contents(), original);

    fs::permissions(Path(), fs::perms::owner_read | fs::perms::owner_write);
    fs::permissions(m_root / "Config", fs::perms::owner_read | fs::perms::owner_exec);
    SettingsFile readOnlyFolder(Path());
    EXPECT_EQ(readOnlyFolder.Read(), (EditorSettings{32802, false}));
    EXPECT_FALSE(readOnlyFolder.Write({32799, true}));
    EXPECT_EQ(Contents(), original);
}

// The settings path may name a FIFO, a link or a link to something that is no file. Reading never
// waits on it, a link is written through to the file it names, and what is not a regular file is
// left exactly as it was.
TEST_F(SettingsFileTest, PathThatIsNoPlainFileIsReadAndWrittenSafely) {
    const std::string stored = "<S><ColorScheme>32802</ColorScheme><KeyClick>0</KeyClick></S>";
    const fs::path elsewhere = m_root / "elsewhere";
    struct Case {
        const char *name;
        std::function<void()> make;
        EditorSettings read;
        bool written;
        fs::file_type targetAfter;  // of what the path finally names
    };
    for (const Case &c : std::vector<Case>{
             {"a FIFO", [&] { ::mkfifo(Path().c_str(), 0600); }, kDefaults, false,
              fs::file_type::fifo},
             {"a link to a FIFO",
              [&] {
                  ::mkfifo(elsewhere.c_str(), 0600);
                  fs::create_symlink(elsewhere, Path());
              },
              kDefaults, false, fs::file_type::fifo},
             {"a relative link to a file",
              [&] {
                  std::ofstream(elsewhere) << stored;
                  fs::permissions(elsewhere, fs::perms::owner_read | fs::perms::owner_write |
                                                 fs::perms::group_read);
                  fs::create_symlink("../elsewhere", Path());
              },
              {32802, false},
              true,
              fs::file_type::regular},
             {"a link to nothing yet", [&] { fs::create_symlink(elsewhere, Path()); }, kDefaults,
              true, fs::file_type::regular},
         }) {
        SCOPED_TRACE(c.name);
        fs::remove(Path());
        fs::remove(elsewhere);
        c.make();
        const fs::file_type kindBefore = fs::symlink_status(Path()).type();
        const fs::file_status targetBefore = fs::status(Path());

        SettingsFile file(Path());
        ::alarm(10);  // a read that waits on the FIFO ends the test instead of hanging it
        EXPECT_EQ(file.Read(), c.read);
        ::alarm(0);
        EXPECT_EQ(file.Write({32799, true}), c.written);

        EXPECT_EQ(fs::symlink_status(Path()).type(), kindBefore) << "the path keeps its kind";
        EXPECT_EQ(fs::status(Path()).type(), c.targetAfter);
        if (c.written) {
            EXPECT_EQ(SettingsFile(Path()).Read(), (EditorSettings{32799, true}));
        }
        if (targetBefore.type() != fs::file_type::not_found) {
            EXPECT_EQ(fs::status(Path()).permissions(), targetBefore.permissions())
                << "what the path names keeps its mode";
        }
        EXPECT_EQ(ConfigEntries().size(), 1u) << "no temporary file is left";
    }
}

TEST_F(SettingsFileTest, WriteKeepsTheFilePermissions) {
    Put("<S/>");
    fs::permissions(Path(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    SettingsFile file(Path());
    file.Read();
    ASSERT_TRUE(file.Write({32799, true}));
    EXPECT_EQ(fs::status(Path()).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
}  // namespace scrivo
