// Colouring on the control: the scanner's runs become style bytes that are handed to the control
// in one call, so a whole-text colouring costs one pass of the scanner and one styling call.
// Styling moves neither the selection nor the view and is never an undo step; the view is still
// kept around it because the callers may scroll.
#include <algorithm>
#include <string>

#include "MainFrame.h"

void CMainFrame::ColorizeRange(int start, int end) {
    start = std::max(start, 0);
    end = std::min(end, m_editor->TextLength());
    if (start >= end) {
        return;
    }
    const CScrivoRichEditCtrl::ChangeGuard guard(*m_editor, {.maskNotifications = true});
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

    const CScrivoRichEditCtrl::ChangeGuard guard(*m_editor,
                                                 {.suspendRedraw = true, .keepView = true});
    ColorizeRange(rangeStart, rangeEnd);
}

void CMainFrame::RecolorDocument() {
    {
        const CScrivoRichEditCtrl::ChangeGuard guard(*m_editor,
                                                     {.suspendRedraw = true, .keepView = true});
        ColorizeRange(0, m_editor->TextLengthCountingBreaksTwice());
    }
    m_editor->setFocus();
}
