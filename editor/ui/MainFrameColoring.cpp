// Colouring on the control: the scanner's runs become style bytes that are handed to the control
// in one call, so a whole-text colouring costs one pass of the scanner and one styling call.
// Styling moves neither the selection nor the view and is never an undo step; the view is still
// saved and restored around it because the callers may scroll.
#include <algorithm>
#include <string>

#include "MainFrame.h"

namespace {

// Keeps the notification mask off for a scope and puts the old mask back.
class NotificationsMasked {
  public:
    explicit NotificationsMasked(CScrivoRichEditCtrl &editor)
        : editor_(editor), saved_(editor.NotificationsEnabled()) {
        editor_.SetNotificationsEnabled(false);
    }
    ~NotificationsMasked() { editor_.SetNotificationsEnabled(saved_); }
    NotificationsMasked(const NotificationsMasked &) = delete;
    NotificationsMasked &operator=(const NotificationsMasked &) = delete;

  private:
    CScrivoRichEditCtrl &editor_;
    bool saved_;
};

struct ViewPosition {
    int firstVisibleLine;
    int xOffset;
};

ViewPosition saveView(const CScrivoRichEditCtrl &editor) {
    return {editor.FirstVisibleLine(), editor.XOffset()};
}

void restoreView(CScrivoRichEditCtrl &editor, ViewPosition view) {
    editor.SetFirstVisibleLine(view.firstVisibleLine);
    editor.SetXOffset(view.xOffset);
}

}  // namespace

void CMainFrame::ColorizeRange(int start, int end) {
    start = std::max(start, 0);
    end = std::min(end, m_editor->TextLength());
    if (start >= end) {
        return;
    }
    NotificationsMasked masked(*m_editor);
    m_editor->SetSlotColors(m_colors);

    const std::string_view text = m_editor->RangeText(start, end);
    m_coloringRuns.clear();
    m_scanner.scan(text, m_coloringRuns);
    std::string &styles = m_coloringStyles;
    styles.assign(text.size(), static_cast<char>(scrivo::ColorSlot::Text));
    for (const scrivo::Run &run : m_coloringRuns) {
        const auto runEnd = std::min(run.end, styles.size());
        std::fill(styles.begin() + static_cast<std::ptrdiff_t>(std::min(run.start, runEnd)),
                  styles.begin() + static_cast<std::ptrdiff_t>(runEnd),
                  static_cast<char>(run.slot));
    }
    m_editor->ApplyStyles(start, styles);
}

void CMainFrame::ColorizeCurrentLine() {
    const int line = m_editor->LineFromPosition(m_editor->SelectionStart());
    const int rangeStart = m_editor->LineIndex(line);
    const int nextLine = m_editor->LineIndex(line + 1);
    const int rangeEnd = nextLine < 0 ? m_editor->TextLength() : nextLine;

    const ViewPosition view = saveView(*m_editor);
    m_editor->SetRedraw(false);
    ColorizeRange(rangeStart, rangeEnd);
    restoreView(*m_editor, view);
    m_editor->SetRedraw(true);
}

void CMainFrame::RecolorDocument() {
    const ViewPosition view = saveView(*m_editor);
    m_editor->SetRedraw(false);
    ColorizeRange(0, m_editor->TextLengthCountingBreaksTwice());
    restoreView(*m_editor, view);
    m_editor->setFocus();
    m_editor->SetRedraw(true);
}
