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

using TextRange = CScrivoRichEditCtrl::TextRange;

std::optional<TextRange> SearchForward(CScrivoRichEditCtrl &editor, int from,
                                       const scrivo::FindReplaceRequest &request) {
    return editor.FindForward(from, request.findText, {request.matchCase, request.wholeWord});
}

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
    connect(m_findReplaceDialog, &FindReplaceDialog::Requested, this,
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
    const std::optional<TextRange> match = SearchForward(*m_editor, m_searchPosition, request);
    if (!match) {
        return;
    }
    m_editor->SetSelectionRange(match->start, match->end);
    FocusAndRepaintEditor();
    m_searchPosition = match->end;
}

void CMainFrame::ReplaceNext(const scrivo::FindReplaceRequest &request) {
    const std::optional<TextRange> match = SearchForward(*m_editor, m_searchPosition, request);
    if (!match) {
        return;
    }
    int insertedEnd = 0;
    {
        const CScrivoRichEditCtrl::ChangeGuard guard(*m_editor, {.unrecorded = true});
        insertedEnd = m_editor->ReplaceRange(*match, request.replaceText);
    }
    NoteTextChanged();
    m_editor->SetSelectionRange(insertedEnd, insertedEnd);
    FocusAndRepaintEditor();
    m_searchPosition = insertedEnd;
}

void CMainFrame::ReplaceAll(const scrivo::FindReplaceRequest &request) {
    std::optional<TextRange> match = SearchForward(*m_editor, m_searchPosition, request);
    if (!match) {
        return;
    }
    int position = 0;
    {
        const CScrivoRichEditCtrl::ChangeGuard guard(*m_editor, {.unrecorded = true});
        // Every search resumes behind the inserted text, so a replacement holding the find text
        // is never replaced again and the loop ends.
        do {
            position = m_editor->ReplaceRange(*match, request.replaceText);
            match = SearchForward(*m_editor, position, request);
        } while (match);
    }
    NoteTextChanged();
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
    m_services.dialogs->Run(dialog);
}
