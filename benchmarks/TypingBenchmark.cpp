// One key typed into a loaded 50 MB C file through the real frame (offscreen), with the caret at
// the start and near the end of the text: the key's whole handling (click, forwarding to the frame,
// the control's insertion, its notifications and the status line) and the repaint that follows.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "FrameServices.h"
#include "GeneratedCText.h"
#include "MainFrame.h"

namespace {

constexpr std::size_t kFileBytes = 50 * 1024 * 1024;

class SilentSound : public scrivo::Sound {
  public:
    void playClick() override {}
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
        file.close();
        scrivo::FrameServices services{&sound};
        services.fileErrors = &errors;
        frame = std::make_unique<CMainFrame>(services);
        frame->CreateFrame();
        frame->LoadDocument(
            QDir::current().absoluteFilePath(QStringLiteral("large.c")).toStdString());
        QApplication::processEvents();
    }

    QTemporaryDir folder;
    SilentSound sound;
    FailingErrorBox errors;
    std::unique_ptr<CMainFrame> frame;
};

std::unique_ptr<Fixture> sharedFixture;

Fixture &Shared() {
    if (!sharedFixture) {
        sharedFixture = std::make_unique<Fixture>();
        qAddPostRoutine([] { sharedFixture.reset(); });
    }
    return *sharedFixture;
}

void PressKey(QWidget &target, Qt::Key key, const QString &text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&target, &release);
}

// Argument 0: caret at the start of the text; 1: on the last line but one.
void TypeKey(benchmark::State &state, Qt::Key key, const QString &text) {
    CMainFrame &frame = Shared().frame.operator*();
    CScrivoRichEditCtrl &editor = frame.Editor();
    const int position = state.range(0) == 0 ? 0 : editor.LineIndex(editor.LineCount() - 2);
    editor.SetSelectionRange(position, position);
    editor.ensureCursorVisible();
    editor.setFocus();
    QApplication::processEvents();
    for (auto _ : state) {
        PressKey(editor, key, text);
        // The repaint the key schedules belongs to its cost.
        QApplication::processEvents();
    }
}

void BM_TypeLetter(benchmark::State &state) {
    TypeKey(state, Qt::Key_X, QStringLiteral("x"));
}
BENCHMARK(BM_TypeLetter)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Space also recolours the caret's line before it is inserted.
void BM_TypeSpace(benchmark::State &state) {
    TypeKey(state, Qt::Key_Space, QStringLiteral(" "));
}
BENCHMARK(BM_TypeSpace)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
