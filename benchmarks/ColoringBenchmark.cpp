// Whole-text colouring in the real control against the control's own C++ lexer over the same
// text, and the recolouring of one line in the middle of it (the Space and Return path). The
// first-pass cases colour a control that has just been given the text, as a load does: nothing
// either side has grown or cached yet. They count CPU time, which a busy machine disturbs less.
#include <Qsci/qscilexercpp.h>
#include <Qsci/qsciscintilla.h>
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>
#include <string>

#include "FrameServices.h"
#include "GeneratedCText.h"
#include "MainFrame.h"

namespace {

constexpr std::size_t kTextBytes = 8 * 1024 * 1024;

const std::string &Text() {
    static const std::string kText = GeneratedCProgram(kTextBytes, "\n");
    return kText;
}

void LoadText(QsciScintilla &control) {
    control.SendScintilla(QsciScintillaBase::SCI_SETTEXT, static_cast<uintptr_t>(0),
                          Text().c_str());
}

// Made on first use and destroyed while the application still exists.
CMainFrame *sharedFrame = nullptr;

CMainFrame &Frame() {
    if (sharedFrame == nullptr) {
        sharedFrame = new CMainFrame(scrivo::FrameServices{});
        sharedFrame->CreateFrame();
        LoadText(sharedFrame->Editor());
        // Let the window be exposed so that the line's repaint is part of what is measured.
        QApplication::processEvents();
        qAddPostRoutine([] {
            delete sharedFrame;
            sharedFrame = nullptr;
        });
    }
    return *sharedFrame;
}

void BM_ColorizeRangeWholeText(benchmark::State &state) {
    CMainFrame &frame = Frame();
    for (auto _ : state) {
        frame.ColorizeRange(0, frame.Editor().TextLengthCountingBreaksTwice());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(Text().size()));
}
BENCHMARK(BM_ColorizeRangeWholeText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReferenceCppLexerWholeText(benchmark::State &state) {
    QsciScintilla reference;
    reference.setLexer(new QsciLexerCPP(&reference));
    LoadText(reference);
    for (auto _ : state) {
        reference.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL, -1L);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(Text().size()));
}
BENCHMARK(BM_ReferenceCppLexerWholeText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ColorizeRangeWholeTextFirstPass(benchmark::State &state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto frame = std::make_unique<CMainFrame>(scrivo::FrameServices{});
        frame->CreateFrame();
        LoadText(frame->Editor());
        state.ResumeTiming();
        frame->ColorizeRange(0, frame->Editor().TextLengthCountingBreaksTwice());
        state.PauseTiming();
        frame.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(Text().size()));
}
BENCHMARK(BM_ColorizeRangeWholeTextFirstPass)->Unit(benchmark::kMillisecond);

void BM_ReferenceCppLexerWholeTextFirstPass(benchmark::State &state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto reference = std::make_unique<QsciScintilla>();
        reference->setLexer(new QsciLexerCPP(reference.get()));
        LoadText(*reference);
        state.ResumeTiming();
        reference->SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL, -1L);
        state.PauseTiming();
        reference.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(Text().size()));
}
BENCHMARK(BM_ReferenceCppLexerWholeTextFirstPass)->Unit(benchmark::kMillisecond);

void BM_ColorizeCurrentLineInTheMiddle(benchmark::State &state) {
    CMainFrame &frame = Frame();
    CScrivoRichEditCtrl &editor = frame.Editor();
    const int middle = editor.LineIndex(editor.LineCount() / 2) + 4;
    editor.SetSelectionRange(middle, middle);
    editor.SetFirstVisibleLine(editor.LineCount() / 2 - 10);
    for (auto _ : state) {
        frame.ColorizeCurrentLine();
    }
}
BENCHMARK(BM_ColorizeCurrentLineInTheMiddle)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
