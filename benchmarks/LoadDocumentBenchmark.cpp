// Loading a 5 MB C file into the real frame (offscreen): reading, turning CR LF into the control's
// line breaks, and colouring the whole text in one pass; and saving it back with CR LF.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "DetachedProcess.h"
#include "FrameServices.h"
#include "GeneratedCText.h"
#include "MainFrame.h"

namespace {

constexpr std::size_t kFileBytes = 5 * 1024 * 1024;

class SilentSound : public scrivo::Sound {
  public:
    void playClick() override {}
};

class NoDialogs : public scrivo::FileDialogs {
  public:
    std::optional<std::string> chooseFile(const scrivo::FileDialogRequest &) override {
        return std::nullopt;
    }
};

// Failures would make the figures meaningless: stop at once.
class FailingErrorBox : public scrivo::FileErrorBox {
  public:
    void showFileError(const std::string &message) override { qFatal("%s", message.c_str()); }
};

// The frame runs in a folder of its own, which also takes the settings file it writes at exit.
struct Fixture {
    Fixture() {
        QDir::setCurrent(folder.path());
        QFile file(QStringLiteral("large.c"));
        file.open(QIODevice::WriteOnly);
        const std::string bytes = GeneratedCProgram(kFileBytes, "\r\n");
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        path = QDir::current().absoluteFilePath(QStringLiteral("large.c")).toStdString();
        frame = std::make_unique<CMainFrame>(
            scrivo::FrameServices{&sound, &dialogs, &errors, &processes});
        frame->CreateFrame();
    }

    QTemporaryDir folder;
    SilentSound sound;
    NoDialogs dialogs;
    FailingErrorBox errors;
    scrivo::DetachedProcessStarter processes;
    std::string path;
    std::unique_ptr<CMainFrame> frame;
};

// Made on first use and ended while the application still exists.
std::unique_ptr<Fixture> sharedFixture;

Fixture &Shared() {
    if (!sharedFixture) {
        sharedFixture = std::make_unique<Fixture>();
        qAddPostRoutine([] { sharedFixture.reset(); });
    }
    return *sharedFixture;
}

void BM_LoadDocument5MB(benchmark::State &state) {
    Fixture &fixture = Shared();
    for (auto _ : state) {
        fixture.frame->LoadDocument(fixture.path);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(kFileBytes));
}
BENCHMARK(BM_LoadDocument5MB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WriteTextFile5MB(benchmark::State &state) {
    Fixture &fixture = Shared();
    fixture.frame->LoadDocument(fixture.path);
    const std::string copy = fixture.path + ".saved";
    for (auto _ : state) {
        fixture.frame->WriteTextFile(copy);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(kFileBytes));
}
BENCHMARK(BM_WriteTextFile5MB)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
