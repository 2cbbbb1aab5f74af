// Keeping the text the learner did not save. There is no prompt and no modified flag: when the
// text is about to be replaced (New, Load, a drop) or the frame closes, a text that differs from
// its file, or an untitled one that is not empty, is written to the recovery folder first, as Save
// would write it. While the text differs, a copy is also written a few seconds after an edit, so a
// crash or a kill loses at most those seconds. Counting edits costs a key one increment; the text
// is looked at only when a copy may be due.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

#include "FileStore.h"
#include "MainFrame.h"
#include "TextFileFormat.h"

namespace {

// The shortest pause between an edit and its copy. A copy that takes long (a very large text, a
// slow disk) stretches the pause to many times its own duration, so copying never takes more than
// a small share of the time spent typing.
constexpr qint64 kShortestCopyPauseMs = 3000;
constexpr qint64 kCopyPausePerCopyTime = 20;

}  // namespace

void CMainFrame::WatchForUnsavedText() {
    // Every change the control makes to the text announces itself here; the changes made with
    // notifications masked (Replace) are counted by their callers.
    connect(m_editor.get(), &QsciScintillaBase::SCN_MODIFIED, this, [this](int, int type) {
        using Sci = QsciScintillaBase;
        if ((type & (Sci::SC_MOD_BEFOREINSERT | Sci::SC_MOD_BEFOREDELETE | Sci::SC_MOD_INSERTTEXT |
                     Sci::SC_MOD_DELETETEXT)) != 0) {
            NoteTextChanged();
        }
    });
    m_copyTimer.setSingleShot(true);
    connect(&m_copyTimer, &QTimer::timeout, this, &CMainFrame::WritePeriodicCopy);
}

void CMainFrame::NoteTextChanged() {
    ++m_textChanges;
    if (!m_copyTimer.isActive()) {
        m_copyTimer.start(
            static_cast<int>(std::max(kShortestCopyPauseMs, kCopyPausePerCopyTime * m_lastCopyMs)));
    }
}

bool CMainFrame::TextDiffersFromItsFile() const {
    if (m_currentPath.empty()) {
        return m_editor->TextLength() > 0;
    }
    if (m_textChanges == m_changesAtClean) {
        return false;
    }
    // Edited, but perhaps back to what the file holds (undone, or typed and deleted again).
    std::string bytes;
    return !scrivo::ReadRegularFile(m_currentPath, bytes).Ok() ||
           scrivo::FileBytesToText(bytes) != m_editor->RangeText(0, m_editor->TextLength());
}

scrivo::FileResult CMainFrame::UpdateRecoveryCopy() {
    if (!TextDiffersFromItsFile()) {
        // A copy from before the text went back to its file's content (or to nothing) is stale.
        m_recovery.Discard(m_recoveryName);
        m_recoveryName.clear();
        m_changesAtCopy = m_textChanges;
        return {};
    }
    if (!m_recoveryName.empty() && m_changesAtCopy == m_textChanges) {
        return {};
    }
    scrivo::FileResult kept = m_recovery.Keep(m_recoveryName, m_currentPath, TextAsFileBytes());
    if (kept.Ok()) {
        m_changesAtCopy = m_textChanges;
    }
    return kept;
}

void CMainFrame::WritePeriodicCopy() {
    if (m_changesAtCopy == m_textChanges) {
        return;
    }
    QElapsedTimer clock;
    clock.start();
    // A copy that fails now is tried again after the next edit, and at the latest before the text
    // goes, where a failure is reported.
    UpdateRecoveryCopy();
    m_lastCopyMs = clock.elapsed();
}

bool CMainFrame::KeepUnsavedText() {
    const scrivo::FileResult kept = UpdateRecoveryCopy();
    // Told once, the learner who does the same again with the text unchanged lets it go.
    if (kept.Ok() || m_keepRefusedAt == m_textChanges) {
        return true;
    }
    m_keepRefusedAt = m_textChanges;
    m_services.fileErrors->ShowFileError(
        "The text you have not saved could not be kept in the folder \"" + m_recovery.Folder() +
        "\":\n" + kept.failure +
        "\nSave it with Save As first, or do the same again to let the text go.");
    return false;
}

void CMainFrame::EndOnSignal(int signal) {
    if (const scrivo::FileResult kept = UpdateRecoveryCopy(); !kept.Ok()) {
        std::fprintf(stderr, "Scrivo: the text you have not saved could not be kept in %s: %s\n",
                     m_recovery.Folder().c_str(), kept.failure.c_str());
    }
    QCoreApplication::exit(128 + signal);
}

void CMainFrame::TextSaved() {
    m_recovery.Discard(m_recoveryName);
    TextReplaced();
}

void CMainFrame::TextReplaced() {
    // The copy of the text that went stays in the folder; the next edit starts a copy of its own.
    m_recoveryName.clear();
    m_changesAtClean = m_textChanges;
    m_changesAtCopy = m_textChanges;
    m_keepRefusedAt.reset();
    m_copyTimer.stop();
}

void CMainFrame::closeEvent(QCloseEvent *event) {
    if (KeepUnsavedText()) {
        QMainWindow::closeEvent(event);
    } else {
        event->ignore();
    }
}
