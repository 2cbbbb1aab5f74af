// A file without a single line break, as a minified or generated file dropped on the window by
// mistake: its load, and one key typed at the start and at the end of its one line, through the
// real frame (offscreen), the repaint that follows included. The argument is the line's length in
// MiB.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <map>
#include <memory>
#include <string>

#include "LargeFileFrame.h"

namespace {

// The generated program on one line: its line comments become block comments, so that they do
// not swallow the rest of the line, and its line ends become blanks.
std::string OneLineProgram(std::size_t bytes) {
    std::string text = GeneratedCProgram(bytes, "\n");
    const std::string lineComment = "// running sum\n";
    for (std::size_t at = text.find(lineComment); at != std::string::npos;
         at = text.find(lineComment, at)) {
        text.replace(at, lineComment.size(), "/* running sum */");
    }
    for (char &c : text) {
        if (c == '\n') c = ' ';
    }
    return text;
}

// One frame per line length, each over its own file, ended while the application still exists.
LargeFileFrame &Fixture(const benchmark::State &state) {
    static std::map<int64_t, std::unique_ptr<LargeFileFrame>> fixtures;
    std::unique_ptr<LargeFileFrame> &fixture = fixtures[state.range(0)];
    if (!fixture) {
        if (fixtures.size() == 1) qAddPostRoutine([] { fixtures.clear(); });
        fixture = std::make_unique<LargeFileFrame>(
            OneLineProgram(static_cast<std::size_t>(state.range(0)) * 1024 * 1024));
    }
    return *fixture;
}

void BM_LoadOneLongLine(benchmark::State &state) {
    LargeFileFrame &fixture = Fixture(state);
    for (auto _ : state) {
        fixture.frame->LoadDocument(fixture.path);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_LoadOneLongLine)
    ->Arg(1)
    ->Arg(10)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void TypeIntoTheLine(benchmark::State &state, bool atTheEnd) {
    LargeFileFrame &fixture = Fixture(state);
    fixture.frame->LoadDocument(fixture.path);
    CScrivoRichEditCtrl &editor = fixture.frame->Editor();
    const int position = atTheEnd ? editor.TextLength() : 0;
    editor.SetSelectionRange(position, position);
    editor.ensureCursorVisible();
    editor.setFocus();
    QApplication::processEvents();
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(&editor, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(&editor, &release);
        QApplication::processEvents();
    }
}

void BM_KeyAtTheStartOfTheLine(benchmark::State &state) {
    TypeIntoTheLine(state, false);
}
BENCHMARK(BM_KeyAtTheStartOfTheLine)
    ->Arg(1)
    ->Arg(10)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_KeyAtTheEndOfTheLine(benchmark::State &state) {
    TypeIntoTheLine(state, true);
}
BENCHMARK(BM_KeyAtTheEndOfTheLine)
    ->Arg(1)
    ->Arg(10)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
