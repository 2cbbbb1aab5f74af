// Replace All through the real frame and control: a three-letter word that occurs 100,000 times
// in a 5 MB text, replaced by a word of the same length and by a longer one.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <string>

#include "CommandTable.h"
#include "FindReplaceDialog.h"
#include "FrameServices.h"
#include "MainFrame.h"

namespace {

constexpr int kOccurrences = 100'000;
constexpr std::size_t kTextBytes = 5'000'000;

// One line per occurrence, padded so that the whole text is 5 MB.
std::string MakeText() {
    const std::size_t lineBytes = kTextBytes / kOccurrences;
    std::string text;
    text.reserve(kTextBytes);
    for (int line = 0; line < kOccurrences; ++line) {
        std::string row = "    total = foo + item_" + std::to_string(line) + "; /* ";
        row.resize(lineBytes - 4, 'x');
        text += row + " */\n";
    }
    return text;
}

void BM_ReplaceAll(benchmark::State &state, const char *replacement) {
    QTemporaryDir workDir;
    const QString previousDir = QDir::currentPath();
    QDir::setCurrent(workDir.path());
    {
        CMainFrame frame(scrivo::FrameServices{});
        frame.CreateFrame();
        const QString text = QString::fromStdString(MakeText());
        frame.ExecuteCommand(scrivo::command::kSearchReplace);
        FindReplaceDialog *dialog = frame.FindReplaceWindow();
        dialog->FindField()->setText(QStringLiteral("foo"));
        dialog->ReplaceField()->setText(QString::fromLatin1(replacement));
        for (auto _ : state) {
            state.PauseTiming();
            frame.Editor().setText(text);
            state.ResumeTiming();
            dialog->ReplaceAllButton()->click();
            state.PauseTiming();
            // Back to the start of the text for the next round.
            dialog->CancelButton()->click();
            QCoreApplication::processEvents();
            frame.ExecuteCommand(scrivo::command::kSearchReplace);
            dialog = frame.FindReplaceWindow();
            dialog->FindField()->setText(QStringLiteral("foo"));
            dialog->ReplaceField()->setText(QString::fromLatin1(replacement));
            state.ResumeTiming();
        }
        state.counters["replacements"] = kOccurrences;
        state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kTextBytes);
    }
    QDir::setCurrent(previousDir);
}

BENCHMARK_CAPTURE(BM_ReplaceAll, same_length, "bar")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReplaceAll, longer, "quux")->Unit(benchmark::kMillisecond);

}  // namespace
