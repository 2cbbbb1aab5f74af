// One key typed into a loaded 50 MB C file through the real frame (offscreen), with the caret at
// the start and near the end of the text: the key's whole handling (click, forwarding to the frame,
// the control's insertion, its notifications and the status line) and the repaint that follows.
// The first keys after a load are timed one by one as well: any of them may be the one that finds
// the control's buffers full or its gap far from the caret.
#include <benchmark/benchmark.h>
#include <time.h>

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>
#include <array>
#include <chrono>

#include "LargeFileFrame.h"

namespace {

constexpr std::size_t kFileBytes = 50 * 1024 * 1024;

void PressKey(QWidget &target, Qt::Key key, const QString &text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&target, &release);
}

// Where argument 0, 1 and 2 put the caret: at the start of the text, at the start of its last line
// but one, and just after the closing brace that ends its last function.
int CaretPosition(const CScrivoRichEditCtrl &editor, int64_t place) {
    const int lastLineButOne = editor.LineIndex(editor.LineCount() - 2);
    return place == 0 ? 0 : place == 1 ? lastLineButOne : lastLineButOne - 1;
}

// Loads the file afresh, so that no run types into the text of another, and puts the caret where
// the argument says.
CScrivoRichEditCtrl &LoadWithCaret(const benchmark::State &state) {
    LargeFileFrame &shared = LargeFileFrame::Shared(kFileBytes);
    shared.Frame->LoadDocument(shared.Path);
    CScrivoRichEditCtrl &editor = shared.Frame->Editor();
    const int position = CaretPosition(editor, state.range(0));
    editor.SetSelectionRange(position, position);
    editor.ensureCursorVisible();
    editor.setFocus();
    QApplication::processEvents();
    return editor;
}

void TypeKey(benchmark::State &state, Qt::Key key, const QString &text) {
    CScrivoRichEditCtrl &editor = LoadWithCaret(state);
    for (auto _ : state) {
        PressKey(editor, key, text);
        // The repaint the key schedules belongs to its cost.
        QApplication::processEvents();
    }
}

void BM_TypeLetter(benchmark::State &state) {
    TypeKey(state, Qt::Key_X, QStringLiteral("x"));
}
BENCHMARK(BM_TypeLetter)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

// Space also recolours the caret's line before it is inserted.
void BM_TypeSpace(benchmark::State &state) {
    TypeKey(state, Qt::Key_Space, QStringLiteral(" "));
}
BENCHMARK(BM_TypeSpace)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

double ThreadCpuMilliseconds() {
    timespec now = {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Sixteen keys right after each load, letters with a Space and a Return among them; the counters
// give the slowest single key of all iterations, in wall and in CPU milliseconds.
void BM_FirstKeysAfterLoad(benchmark::State &state) {
    struct Key {
        Qt::Key Key;
        QString Text;
    };
    const Key letter{Qt::Key_X, QStringLiteral("x")};
    const std::array<Key, 16> keys{
        letter, letter, letter, letter, letter, Key{Qt::Key_Space, QStringLiteral(" ")},
        letter, letter, letter, letter, letter, Key{Qt::Key_Return, QStringLiteral("\r")},
        letter, letter, letter, letter};
    double slowestWall = 0;
    double slowestCpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CScrivoRichEditCtrl &editor = LoadWithCaret(state);
        state.ResumeTiming();
        for (const Key &key : keys) {
            const auto wallStart = std::chrono::steady_clock::now();
            const double cpuStart = ThreadCpuMilliseconds();
            PressKey(editor, key.Key, key.Text);
            QApplication::processEvents();
            slowestCpu = std::max(slowestCpu, ThreadCpuMilliseconds() - cpuStart);
            slowestWall = std::max(slowestWall, std::chrono::duration<double, std::milli>(
                                                    std::chrono::steady_clock::now() - wallStart)
                                                    .count());
        }
    }
    state.counters["slowest_key_ms"] = slowestWall;
    state.counters["slowest_key_cpu_ms"] = slowestCpu;
}
BENCHMARK(BM_FirstKeysAfterLoad)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
