// Find, Replace and Go To Line. Searching runs forward only, from a search position the frame keeps
// between searches, to the current end of the text, and never wraps around; the direction chosen
// in the dialog is not used. Replacements are made with undo collection off, after which the
// control's undo history is emptied: a history that skipped edits would undo into the wrong text.
#include <optional>
#include <string>

#include "CommandTable.h"
#include "GoToLineDialog.h"
#include "MainFrame.h"

namespace {

struct Match {
    int start;
    int end;
};

std::optional<Match> searchForward(CScrivoRichEditCtrl &editor, int from,
                                   const scrivo::FindReplaceRequest &request) {
    const int length = editor.TextLength();
    // A start past the end (the text shrank since the last search) finds nothing; the control
    // would read such a target as a backward search.
    if (request.findText.empty() || from < 0 || from >= length) {
        return std::nullopt;
    }
    const int flags = (request.matchCase ? QsciScintillaBase::SCFIND_MATCHCASE : 0) |
                      (request.wholeWord ? QsciScintillaBase::SCFIND_WHOLEWORD : 0);
    editor.SendScintilla(QsciScintillaBase::SCI_SETSEARCHFLAGS, static_cast<unsigned long>(flags));
    editor.SendScintilla(QsciScintillaBase::SCI_SETTARGETRANGE, static_cast<unsigned long>(from),
                         static_cast<long>(length));
    const long found = editor.SendScintilla(QsciScintillaBase::SCI_SEARCHINTARGET,
                                            static_cast<uintptr_t>(request.findText.size()),
                                            request.findText.c_str());
    if (found < 0) {
        return std::nullopt;
    }
    // The match's own end: without match case it may differ in length from the find text.
    return Match{static_cast<int>(found),
                 static_cast<int>(editor.SendScintilla(QsciScintillaBase::SCI_GETTARGETEND))};
}

// Replaces the match and answers the end of the inserted text. The inserted text takes the colour
// found at the insertion point, as typed text does. Run inside UnrecordedEdits.
int replaceMatch(CScrivoRichEditCtrl &editor, Match match, const std::string &replaceText) {
    editor.SendScintilla(QsciScintillaBase::SCI_SETTARGETRANGE,
                         static_cast<unsigned long>(match.start), static_cast<long>(match.end));
    const int inserted = static_cast<int>(
        editor.SendScintilla(QsciScintillaBase::SCI_REPLACETARGET,
                             static_cast<uintptr_t>(replaceText.size()), replaceText.c_str()));
    const int end = match.start + inserted;
    if (inserted > 0) {
        const int colourFrom = match.start > 0 ? match.start - 1 : end;
        const int style = colourFrom < editor.TextLength() ? editor.StyleAt(colourFrom) : 0;
        editor.ApplyStyles(
            match.start, std::string(static_cast<std::size_t>(inserted), static_cast<char>(style)));
    }
    return end;
}

// Keeps undo collection and the control's modification notifications off for a scope, then drops
// the undo history that no longer fits the text. Without the notifications every replacement
// costs the control no bookkeeping proportional to the text, which makes Replace All of many
// matches in a large text fast.
class UnrecordedEdits {
  public:
    explicit UnrecordedEdits(CScrivoRichEditCtrl &editor)
        : editor_(editor),
          eventMask_(editor.SendScintilla(QsciScintillaBase::SCI_GETMODEVENTMASK)) {
        editor_.SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
        editor_.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, 0UL);
    }
    ~UnrecordedEdits() {
        editor_.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK,
                              static_cast<unsigned long>(eventMask_));
        editor_.SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1UL);
        editor_.SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    }
    UnrecordedEdits(const UnrecordedEdits &) = delete;
    UnrecordedEdits &operator=(const UnrecordedEdits &) = delete;

  private:
    CScrivoRichEditCtrl &editor_;
    long eventMask_;
};

}  // namespace

void CMainFrame::RegisterSearchCommands() {
    using namespace scrivo::command;
    OnCommand(kSearchFind, [this] { OnFindReplace(FindReplaceDialog::Form::FindOnly); });
    OnCommand(kSearchReplace, [this] { OnFindReplace(FindReplaceDialog::Form::FindAndReplace); });
    OnCommand(kSearchGoToLine, [this] { OnGoToLine(); });
}

void CMainFrame::OnFindReplace(FindReplaceDialog::Form form) {
    if (m_findReplaceDialog) {
        return;
    }
    m_findReplaceDialog = new FindReplaceDialog(form, this);
    m_findReplaceDialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_findReplaceDialog, &FindReplaceDialog::requested, this,
            &CMainFrame::OnFindReplaceRequest);
    m_findReplaceDialog->show();
}

void CMainFrame::OnFindReplaceRequest(const scrivo::FindReplaceRequest &request) {
    if (request.isTerminating) {
        m_findReplaceDialog = nullptr;
        FocusAndRepaintEditor();
        m_searchPosition = 0;
    } else if (request.findNext) {
        FindNext(request);
    } else if (request.replaceCurrent) {
        ReplaceNext(request);
    } else if (request.replaceAll) {
        ReplaceAll(request);
    }
}

void CMainFrame::FindNext(const scrivo::FindReplaceRequest &request) {
    const std::optional<Match> match = searchForward(*m_editor, m_searchPosition, request);
    if (!match) {
        return;
    }
    m_editor->SetSelectionRange(match->start, match->end);
    FocusAndRepaintEditor();
    m_searchPosition = match->end;
}

void CMainFrame::ReplaceNext(const scrivo::FindReplaceRequest &request) {
    const std::optional<Match> match = searchForward(*m_editor, m_searchPosition, request);
    if (!match) {
        return;
    }
    int insertedEnd = 0;
    {
        UnrecordedEdits unrecorded(*m_editor);
        insertedEnd = replaceMatch(*m_editor, *match, request.replaceText);
    }
    m_editor->SetSelectionRange(insertedEnd, insertedEnd);
    FocusAndRepaintEditor();
    m_searchPosition = insertedEnd;
}

void CMainFrame::ReplaceAll(const scrivo::FindReplaceRequest &request) {
    std::optional<Match> match = searchForward(*m_editor, m_searchPosition, request);
    if (!match) {
        return;
    }
    int position = 0;
    {
        UnrecordedEdits unrecorded(*m_editor);
        // Every search resumes behind the inserted text, so a replacement holding the find text
        // is never replaced again and the loop ends.
        do {
            position = replaceMatch(*m_editor, *match, request.replaceText);
            match = searchForward(*m_editor, position, request);
        } while (match);
    }
    m_editor->SetSelectionRange(position, position);
    FocusAndRepaintEditor();
    m_searchPosition = position;
}

void CMainFrame::FocusAndRepaintEditor() {
    m_editor->activateWindow();
    m_editor->setFocus();
    m_editor->viewport()->repaint();
}

void CMainFrame::OnGoToLine() {
    CGoToLineDialog dialog(m_editor->LineCount(), m_editor.get(), this);
    if (m_services.dialogs) {
        m_services.dialogs->run(dialog);
    }
}
