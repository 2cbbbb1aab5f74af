// Files of very long lines, as a minified or generated file dropped on the window by mistake: the
// load, and one key typed into the first long line, at its start and at its end, and on the short
// line that ends the file with long lines above it on screen, through the real frame (offscreen),
// the repaint that follows included. Arguments: the size in MiB of the long lines together and
// their length in KiB (a single long line when they are equal).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "LargeFileFrame.h"

namespace {

// The generated program cut to `bytes`, in lines of about `lineBytes`: its line comments become
// block comments, so that they do not swallow the rest of a line, and its line ends become blanks
// but for one where a line has reached that length.
std::string LongLinesProgram(std::size_t bytes, std::size_t lineBytes) {
    std::string text = GeneratedCProgram(bytes, "\n");
    // Of the same length, so that each replacement stays in place.
    const std::string_view lineComment = "// running sum\n";
    const std::string_view blockComment = "/*running sum*/";
    for (std::size_t at = text.find(lineComment); at != std::string::npos;
         at = text.find(lineComment, at)) {
        text.replace(at, blockComment.size(), blockComment);
    }
    text.resize(bytes);
    text += "\nint last_line = 0;";
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

void KeyRuns(benchmark::internal::Benchmark *benchmark) {
    LineShapes(benchmark);
    benchmark->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
}

enum class Place { StartOfTheFirstLine, EndOfTheFirstLine, EndOfTheShortLastLine };

int PositionOf(CScrivoRichEditCtrl &editor, Place place) {
    switch (place) {
        case Place::StartOfTheFirstLine:
            return 0;
        case Place::EndOfTheFirstLine:
            return editor.LineIndex(1) - 1;
        case Place::EndOfTheShortLastLine:
            return editor.TextLength();
    }
    return 0;
}

// An ordinary key colours only itself; Space recolours its line.
void TypeAt(benchmark::State &state, Place place, Qt::Key key, const QString &text) {
    LargeFileFrame &fixture = Fixture(state);
    fixture.Frame->LoadDocument(fixture.Path);
    CScrivoRichEditCtrl &editor = fixture.Frame->Editor();
    const int position = PositionOf(editor, place);
    editor.SetSelectionRange(position, position);
    editor.ensureCursorVisible();
    editor.setFocus();
    QApplication::processEvents();
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(&editor, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(&editor, &release);
        QApplication::processEvents();
    }
}

void BM_KeyAtTheStartOfTheFirstLine(benchmark::State &state) {
    TypeAt(state, Place::StartOfTheFirstLine, Qt::Key_X, QStringLiteral("x"));
}
void BM_KeyAtTheEndOfTheFirstLine(benchmark::State &state) {
    TypeAt(state, Place::EndOfTheFirstLine, Qt::Key_X, QStringLiteral("x"));
}
void BM_KeyOnTheShortLastLine(benchmark::State &state) {
    TypeAt(state, Place::EndOfTheShortLastLine, Qt::Key_X, QStringLiteral("x"));
}
void BM_SpaceOnTheShortLastLine(benchmark::State &state) {
    TypeAt(state, Place::EndOfTheShortLastLine, Qt::Key_Space, QStringLiteral(" "));
}
BENCHMARK(BM_KeyAtTheStartOfTheFirstLine)->Apply(KeyRuns);
BENCHMARK(BM_KeyAtTheEndOfTheFirstLine)->Apply(KeyRuns);
BENCHMARK(BM_KeyOnTheShortLastLine)->Apply(KeyRuns);
BENCHMARK(BM_SpaceOnTheShortLastLine)->Apply(KeyRuns);

}  // namespace
