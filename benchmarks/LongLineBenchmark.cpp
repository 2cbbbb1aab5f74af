// Files of very long lines, as a minified or generated file dropped on the window by mistake: the
// load, and one key typed at the start of the first line and at the end of the last, through the
// real frame (offscreen), the repaint that follows included. Arguments: the file's size in MiB and
// its lines' length in KiB (a single line when they are equal).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "LargeFileFrame.h"

namespace {

// The generated program in lines of about `lineBytes`: its line comments become block comments,
// so that they do not swallow the rest of a line, and its line ends become blanks but for one
// where a line has reached that length.
std::string LongLinesProgram(std::size_t bytes, std::size_t lineBytes) {
    std::string text = GeneratedCProgram(bytes, "\n");
    const std::string lineComment = "// running sum\n";
    for (std::size_t at = text.find(lineComment); at != std::string::npos;
         at = text.find(lineComment, at)) {
        text.replace(at, lineComment.size(), "/* running sum */");
    }
    std::size_t lineStart = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\n') continue;
        if (at - lineStart < lineBytes) {
            text[at] = ' ';
        } else {
            lineStart = at + 1;
        }
    }
    return text;
}

// One frame per pair of arguments, each over its own file, ended while the application still
// exists.
LargeFileFrame &Fixture(const benchmark::State &state) {
    static std::map<std::pair<int64_t, int64_t>, std::unique_ptr<LargeFileFrame>> fixtures;
    std::unique_ptr<LargeFileFrame> &fixture = fixtures[{state.range(0), state.range(1)}];
    if (!fixture) {
        if (fixtures.size() == 1) qAddPostRoutine([] { fixtures.clear(); });
        fixture = std::make_unique<LargeFileFrame>(
            LongLinesProgram(static_cast<std::size_t>(state.range(0)) * 1024 * 1024,
                             static_cast<std::size_t>(state.range(1)) * 1024));
    }
    return *fixture;
}

void LineShapes(benchmark::internal::Benchmark *benchmark) {
    benchmark->Args({1, 1024})->Args({10, 10 * 1024})->Args({1, 100});
}

void BM_LoadLongLines(benchmark::State &state) {
    LargeFileFrame &fixture = Fixture(state);
    for (auto _ : state) {
        fixture.Frame->LoadDocument(fixture.Path);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_LoadLongLines)
    ->Apply(LineShapes)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void TypeIntoTheLine(benchmark::State &state, bool atTheEnd) {
    LargeFileFrame &fixture = Fixture(state);
    fixture.Frame->LoadDocument(fixture.Path);
    CScrivoRichEditCtrl &editor = fixture.Frame->Editor();
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

void BM_KeyAtTheStartOfTheFirstLine(benchmark::State &state) {
    TypeIntoTheLine(state, false);
}
BENCHMARK(BM_KeyAtTheStartOfTheFirstLine)
    ->Apply(LineShapes)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_KeyAtTheEndOfTheLastLine(benchmark::State &state) {
    TypeIntoTheLine(state, true);
}
BENCHMARK(BM_KeyAtTheEndOfTheLastLine)
    ->Apply(LineShapes)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
