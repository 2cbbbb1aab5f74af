// The Edit commands and the text's context menu. All but Paste are the control's own editing,
// clipboard and undo; Paste is the frame's, so that the pasted lines are coloured at once while the
// view stays where it was and the status line is refreshed only once, at the end.
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <algorithm>
#include <functional>

#include "CommandTable.h"
#include "MainFrame.h"
#include "QtText.h"

namespace {

// Takes the control's context-menu requests (a right click in the text, the menu key) to the frame
// before the control could show a menu of its own.
class ContextMenuForwarder : public QObject {
  public:
    ContextMenuForwarder(std::function<void(QPoint)> show, QObject *parent)
        : QObject(parent), m_show(std::move(show)) {}

    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() != QEvent::ContextMenu) {
            return false;
        }
        m_show(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }

  private:
    std::function<void(QPoint)> m_show;
};

bool ClipboardHoldsText() {
    const QMimeData *data = QApplication::clipboard()->mimeData();
    return data && data->hasText() && !data->text().isEmpty();
}

}  // namespace

void CMainFrame::RegisterEditCommands() {
    using namespace scrivo::command;
    OnCommand(kEditUndo, [this] { m_editor->undo(); });
    OnCommand(kEditRedo, [this] { m_editor->redo(); });
    OnCommand(kEditCut, [this] { m_editor->cut(); });
    OnCommand(kEditCopy, [this] { m_editor->copy(); });
    OnCommand(kEditPaste, [this] { OnEditPaste(); });
    // The end -1 stands for the end of the text.
    OnCommand(kEditSelectAll, [this] { m_editor->SetSelectionRange(0, -1); });
    // Only a selection is cleared; with none the control would delete the character at the caret.
    OnCommand(kEditClear, [this] { m_editor->removeSelectedText(); });

    auto *forwarder = new ContextMenuForwarder(
        [this](QPoint globalPos) { OnContextMenu(globalPos); }, m_editor.get());
    m_editor->installEventFilter(forwarder);
    m_editor->viewport()->installEventFilter(forwarder);
}

void CMainFrame::OnEditPaste() {
    if (!m_editor->isEnabled()) {
        return;
    }
    m_editor->setFocus();
    if (!ClipboardHoldsText()) {
        return;
    }
    const int start = m_editor->SelectionStart();
    const int end = m_editor->SelectionEnd();
    int inserted = 0;
    {
        const CScrivoRichEditCtrl::ChangeGuard guard(
            *m_editor, {.suspendRedraw = true, .maskNotifications = true, .keepView = true});
        const int before = m_editor->TextLength();
        m_editor->paste();
        const int after = m_editor->TextLength();
        inserted = after - before + (end - start);
        if (inserted > 0) {
            const int firstLine = m_editor->LineFromPosition(start);
            const int lastLine = m_editor->LineFromPosition(start + inserted - 1);
            const int from = m_editor->LineIndex(std::max(firstLine - 1, 0));
            int to = m_editor->LineIndex(lastLine + 2);
            if (to < 0 || to > after) {
                to = after;
            }
            ColorizeRange(from, to);
        }
    }
    if (inserted > 0) {
        m_editor->SetSelectionRange(start + inserted, start + inserted);
    } else {
        m_editor->SetSelectionRange(start, end);
    }
    UpdateStatusLine();
}

void CMainFrame::OnContextMenu(QPoint globalPos) {
    auto *menu = new QMenu(QStringLiteral("Edit"), this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const scrivo::Command &command : scrivo::CommandTable()) {
        if (command.contextCaption.empty()) {
            continue;
        }
        QAction *action = menu->addAction(ToQString(command.contextCaption));
        connect(action, &QAction::triggered, this, [this, id = command.id] { ExecuteCommand(id); });
    }
    menu->popup(globalPos);
}
