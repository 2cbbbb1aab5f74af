#include "FileStore.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace scrivo {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void put(const fs::path &path, const std::string &content) {
    std::ofstream(path, std::ios::binary) << content;
}

// A folder that takes no new file, as a read-only one does for anyone but the superuser.
int refuseTemporary(const std::string &, std::string &) {
    errno = EACCES;
    return -1;
}

// Stops writes past `bytes` in this process, as a full disk would, until it goes out of scope.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

  private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

// Every case runs in a process of its own, so a mount made in a private namespace goes with it.
bool mountSmallTmpfs(const fs::path &at) {
    return ::unshare(CLONE_NEWNS) == 0 &&
           ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount("tmpfs", at.c_str(), "tmpfs", 0, "size=128k") == 0;
}

// Fills the file system of `folder` and then frees `bytes` of it again.
void leaveFree(const fs::path &folder, std::size_t bytes) {
    const fs::path filler = folder / "filler";
    {
        std::ofstream out(filler, std::ios::binary);
        const std::string block(4096, 'f');
        while (out.write(block.data(), block.size())) {
        }
    }
    fs::resize_file(filler, fs::file_size(filler) - bytes);
}

class FileStoreTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "filestore-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    fs::path folder_;
};

// A folder that takes no temporary file forces the save in place. Whatever stops the write
// half-way, the file holds its old content afterwards, and the reason is the system's.
TEST_F(FileStoreTest, SavingInPlaceNeverLosesTheOldContent) {
    const std::string old = std::string(8 * 1024, 'o') + "\r\n";
    const std::string larger(64 * 1024, 'n');
    struct Case {
        const char *name;
        std::function<bool(const fs::path &)> limitDisk;  // false: not possible here
        std::string newContent;
        const char *failure;  // nullptr: the new content fits and is saved
    };
    std::unique_ptr<FileSizeLimit> sizeLimit;
    for (const Case &c : {
             Case{"a size limit below the new content",
                  [&](const fs::path &) {
                      sizeLimit = std::make_unique<FileSizeLimit>(12 * 1024);
                      return true;
                  },
                  larger, "File too large"},
             Case{"shorter content under the same limit",
                  [&](const fs::path &) {
                      sizeLimit = std::make_unique<FileSizeLimit>(12 * 1024);
                      return true;
                  },
                  "int shorter;\r\n", nullptr},
             Case{"a nearly full disk",
                  [&](const fs::path &disk) {
                      if (!mountSmallTmpfs(disk)) return false;
                      put(disk / "file.c", old);
                      leaveFree(disk, 16 * 1024);
                      return true;
                  },
                  larger, "No space left on device"},
         }) {
        SCOPED_TRACE(c.name);
        const fs::path disk = folder_ / c.name;
        fs::create_directory(disk);
        const fs::path file = disk / "file.c";
        put(file, old);
        if (!c.limitDisk(disk)) {
            std::cout << "[ NOTE     ] " << c.name << ": cannot be made on this machine\n";
            continue;
        }
        ASSERT_EQ(contents(file), old);
        ReplaceOptions options;
        options.makeTemporary = refuseTemporary;
        const FileResult result = replaceFileContents(file.string(), c.newContent, options);
        sizeLimit.reset();

        if (c.failure == nullptr) {
            EXPECT_TRUE(result.ok()) << result.failure;
            EXPECT_EQ(contents(file), c.newContent);
        } else {
            EXPECT_EQ(result.failure, c.failure);
            const std::string left = contents(file);
            EXPECT_TRUE(left == old)
                << "the old content must survive a failed save; the file holds " << left.size()
                << " bytes beginning \"" << left.substr(0, 8) << "\"";
        }
    }
}

}  // namespace
}  // namespace scrivo
