#include "FileStore.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "AddressSpaceLimit.h"

namespace scrivo {
namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void Put(const fs::path &path, const std::string &content) {
    std::ofstream(path, std::ios::binary) << content;
}

// A folder that takes no new file, as a read-only one does for anyone but the superuser.
int RefuseTemporary(const std::string &, std::string &) {
    errno = EACCES;
    return -1;
}

// Stops writes past `bytes` in this process, as a full disk would, until it goes out of scope.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_previousHandler);
    }

  private:
    rlimit m_saved{};
    void (*m_previousHandler)(int) = nullptr;
};

// Every case runs in a process of its own, so a mount made in a private namespace goes with it.
bool MountSmallTmpfs(const fs::path &at) {
    return ::unshare(CLONE_NEWNS) == 0 &&
           ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount("tmpfs", at.c_str(), "tmpfs", 0, "size=128k") == 0;
}

// Fills the file system of `folder` and then frees `bytes` of it again.
void LeaveFree(const fs::path &folder, std::size_t bytes) {
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
        m_folder = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    fs::path m_folder;
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
                      if (!MountSmallTmpfs(disk)) return false;
                      Put(disk / "file.c", old);
                      LeaveFree(disk, 16 * 1024);
                      return true;
                  },
                  larger, "No space left on device"},
         }) {
        SCOPED_TRACE(c.name);
        const fs::path disk = m_folder / c.name;
        fs::create_directory(disk);
        const fs::path file = disk / "file.c";
        Put(file, old);
        if (!c.limitDisk(disk)) {
            std::cout << "[ NOTE     ] " << c.name << ": cannot be made on this machine\n";
            continue;
        }
        ASSERT_EQ(Contents(file), old);
        ReplaceOptions options;
        options.makeTemporary = RefuseTemporary;
        const FileResult result = ReplaceFileContents(file.string(), c.newContent, options);
        sizeLimit.reset();

        if (c.failure == nullptr) {
            EXPECT_TRUE(result.Ok()) << result.failure;
            EXPECT_EQ(Contents(file), c.newContent);
        } else {
            EXPECT_EQ(result.failure, c.failure);
            const std::string left = Contents(file);
            EXPECT_TRUE(left == old)
                << "the old content must survive a failed save; the file holds " << left.size()
                << " bytes beginning \"" << left.substr(0, 8) << "\"";
        }
    }
}

// The editor reads what the user points it at: a file another program keeps appending to, one far
// larger than its purpose allows, one larger than the memory left. Each read ends, and what it
// cannot hold is refused with a reason.
TEST_F(FileStoreTest, ReadingIsBoundedBySizeAtOpenByLimitAndByMemory) {
    const fs::path file = m_folder / "file.c";
    const std::string initial(8 << 20, 'i');
    Put(file, initial);

    // Appends once the reader has begun to read, that is after it has taken the size.
    const int watch = ::inotify_init1(IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, file.c_str(), IN_ACCESS), 0);
    std::atomic<bool> readerDone{false};
    std::thread writer([&] {
        alignas(inotify_event) char event[sizeof(inotify_event) + NAME_MAX + 1];
        [[maybe_unused]] const ssize_t got = ::read(watch, event, sizeof event);
        std::ofstream out(file, std::ios::binary | std::ios::app);
        const std::string block(1 << 20, 'g');
        for (int written = 0; written < 512 && (written == 0 || !readerDone); ++written) {
            out.write(block.data(), static_cast<std::streamsize>(block.size())).flush();
        }
    });
    std::string bytes;
    FileResult result = ReadRegularFile(file.string(), bytes);
    readerDone = true;
    writer.join();
    ::close(watch);
    EXPECT_TRUE(result.Ok()) << result.failure;
    EXPECT_EQ(bytes.size(), initial.size()) << "grown to " << fs::file_size(file);
    EXPECT_TRUE(bytes == initial);

    Put(file, "12345");
    EXPECT_TRUE(ReadRegularFile(file.string(), bytes, 5).Ok());
    EXPECT_EQ(bytes, "12345");
    result = ReadRegularFile(file.string(), bytes, 4);
    EXPECT_EQ(result.failure, "It is too large");
    EXPECT_EQ(bytes, "");

#if defined(__SANITIZE_ADDRESS__)
    std::cout << "[ NOTE     ] an address-space limit cannot be combined with the sanitizer\n";
#else
    Put(file, std::string(64 << 20, 'm'));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Room for far less than the file, the way a machine short of memory refuses it.
        LimitAddressSpace(AddressSpaceInUse(), 16 << 20);
        std::string big;
        const FileResult refused = ReadRegularFile(file.string(), big);
        ::_exit(refused.failure.starts_with("There is not enough free memory") && big.empty() ? 0
                                                                                              : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the read must be refused with a reason, not end the program; status " << status;
#endif
}

}  // namespace
}  // namespace scrivo
