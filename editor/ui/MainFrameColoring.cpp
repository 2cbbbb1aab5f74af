// Colouring on the control: the scanner's runs become style bytes that reach the control a piece
// at a time, so a whole-text colouring costs one pass of the scanner and a styling call per piece.
// Styling moves neither the selection nor the view and is never an undo step; the view is still
// kept around it because the callers may scroll.
#include <algorithm>
#include <string_view>

#include "MainFrame.h"

namespace {

// Small enough to stay in the cache between the scanner and the control, large enough that the
// styling calls cost nothing next to the scan.
constexpr std::size_t kStylePieceBytes = 64 * 1024;

}  // namespace

void CMainFrame::ColorizeRange(int start, int end) {
    start = std::max(start, 0);
    end = std::min(end, m_editor->TextLength());
    if (start >= end) {
        return;
    }
    const CScrivoRichEditCtrl::ChangeGuard guard(*m_editor, {.maskNotifications = true});
    m_editor->SetSlotColors(m_colors);

    // The slots go to the control in pieces as the scan finds them: a whole large text then needs
    // no scratch in proportion to it, which the first colouring would pay for in page faults and
    // which would stay resident after a load. Styling touches only the style bytes, so the text
    // read here stays where it is meanwhile.
    m_scanner.PaintSlots(m_editor->RangeText(start, end), kStylePieceBytes,
                         [this, start](std::size_t offset, std::string_view slotBytes) {
                             m_editor->ApplyStyles(start + static_cast<int>(offset), slotBytes);
                         });
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
