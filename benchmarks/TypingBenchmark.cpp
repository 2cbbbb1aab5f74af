// One key typed into a loaded 50 MB C file through the real frame (offscreen), with the caret at
// the start and near the end of the text: the key's whole handling (click, forwarding to the frame,
// the control's insertion, its notifications and the status line) and the repaint that follows.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>

#include "LargeFileFrame.h"

namespace {

constexpr std::size_t kFileBytes = 50 * 1024 * 1024;

void PressKey(QWidget &target, Qt::Key key, const QString &text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&target, &release);
}

// Argument 0: caret at the start of the text; 1: on the last line but one.
void TypeKey(benchmark::State &state, Qt::Key key, const QString &text) {
    LargeFileFrame &shared = LargeFileFrame::Shared(kFileBytes);
    // Loaded afresh, so that no run types into the text of another.
    shared.frame->LoadDocument(shared.path);
    CScrivoRichEditCtrl &editor = shared.frame->Editor();
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
