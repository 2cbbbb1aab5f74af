#include "ScrivoRichEditCtrl.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>
#include <string>

#include "FrameServices.h"

namespace {

constexpr const char *kTextFont = "Courier New";
constexpr int kTextPoints = 12;
// Room left for typing after a load, beyond the text: a sixteenth of it within these bounds.
constexpr std::size_t kMinTypingRoom = 64 * 1024;
constexpr std::size_t kMaxTypingRoom = 4 * 1024 * 1024;
constexpr auto kBeforeChangeNotices = static_cast<unsigned long>(
    QsciScintillaBase::SC_MOD_BEFOREINSERT | QsciScintillaBase::SC_MOD_BEFOREDELETE);

QColor ToQColor(scrivo::Rgb c) {
    return QColor(c.red, c.green, c.blue);
}

long ColorRef(scrivo::Rgb c) {
    return static_cast<long>(scrivo::ToColorRef(c));
}

int ReportedKey(const QKeyEvent &event) {
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) {
        return CScrivoRichEditCtrl::kKeyReturn;
    }
    return event.key();
}

// The keys of the text area: moving the caret and extending the selection, the editing keys, and
// the clipboard and undo keys of the command table. The control library's other bindings (cut,
// delete, copy, swap or duplicate a line, change case, zoom, rectangular selection, moves by
// paragraph or part of a word, indenting) are not the text area's and are unbound.
struct TextAreaKey {
    QsciCommand::Command command;
    QKeyCombination key;
    QKeyCombination alternateKey = QKeyCombination::fromCombined(0);
};

const TextAreaKey kTextAreaKeys[] = {
    {QsciCommand::LineDown, Qt::Key_Down},
    {QsciCommand::LineDownExtend, Qt::SHIFT | Qt::Key_Down},
    {QsciCommand::LineUp, Qt::Key_Up},
    {QsciCommand::LineUpExtend, Qt::SHIFT | Qt::Key_Up},
    {QsciCommand::CharLeft, Qt::Key_Left},
    {QsciCommand::CharLeftExtend, Qt::SHIFT | Qt::Key_Left},
    {QsciCommand::CharRight, Qt::Key_Right},
    {QsciCommand::CharRightExtend, Qt::SHIFT | Qt::Key_Right},
    {QsciCommand::WordLeft, Qt::CTRL | Qt::Key_Left},
    {QsciCommand::WordLeftExtend, Qt::CTRL | Qt::SHIFT | Qt::Key_Left},
    {QsciCommand::WordRight, Qt::CTRL | Qt::Key_Right},
    {QsciCommand::WordRightExtend, Qt::CTRL | Qt::SHIFT | Qt::Key_Right},
    {QsciCommand::VCHome, Qt::Key_Home},
    {QsciCommand::VCHomeExtend, Qt::SHIFT | Qt::Key_Home},
    {QsciCommand::LineEnd, Qt::Key_End},
    {QsciCommand::LineEndExtend, Qt::SHIFT | Qt::Key_End},
    {QsciCommand::DocumentStart, Qt::CTRL | Qt::Key_Home},
    {QsciCommand::DocumentStartExtend, Qt::CTRL | Qt::SHIFT | Qt::Key_Home},
    {QsciCommand::DocumentEnd, Qt::CTRL | Qt::Key_End},
    {QsciCommand::DocumentEndExtend, Qt::CTRL | Qt::SHIFT | Qt::Key_End},
    {QsciCommand::PageUp, Qt::Key_PageUp},
    {QsciCommand::PageUpExtend, Qt::SHIFT | Qt::Key_PageUp},
    {QsciCommand::PageDown, Qt::Key_PageDown},
    {QsciCommand::PageDownExtend, Qt::SHIFT | Qt::Key_PageDown},
    {QsciCommand::Delete, Qt::Key_Delete},
    {QsciCommand::DeleteBack, Qt::Key_Backspace, Qt::SHIFT | Qt::Key_Backspace},
    {QsciCommand::DeleteWordLeft, Qt::CTRL | Qt::Key_Backspace},
    {QsciCommand::DeleteWordRight, Qt::CTRL | Qt::Key_Delete},
    {QsciCommand::EditToggleOvertype, Qt::Key_Insert},
    {QsciCommand::Newline, Qt::Key_Return, Qt::SHIFT | Qt::Key_Return},
    {QsciCommand::Tab, Qt::Key_Tab},
    {QsciCommand::SelectAll, Qt::CTRL | Qt::Key_A},
    {QsciCommand::SelectionCut, Qt::CTRL | Qt::Key_X, Qt::SHIFT | Qt::Key_Delete},
    {QsciCommand::SelectionCopy, Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert},
    {QsciCommand::Paste, Qt::CTRL | Qt::Key_V, Qt::SHIFT | Qt::Key_Insert},
    {QsciCommand::Undo, Qt::CTRL | Qt::Key_Z},
    {QsciCommand::Redo, Qt::CTRL | Qt::Key_Y},
};

// A key combination as the control library's command set names it: modifiers other than Shift,
// Ctrl, Alt and Meta (the keypad's) do not count.
int BindingOf(const QKeyEvent &event) {
    const Qt::KeyboardModifiers modifiers =
        event.modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return QKeyCombination(modifiers, Qt::Key(event.key())).toCombined();
}

// The control library's accessibility layer turns every insertion, deletion and caret move into a
// character offset counted from the start of the text, which costs a key near the end of a large
// file a pass over the whole text. Without an assistive technology running nobody reads those
// offsets, so the control is then described as a plain editable widget, and the library's layer,
// which only reports for the controls it describes itself, stays quiet: all but its report of an
// insertion, which counts before it looks (see ColouringOnInsertionPays).
QAccessibleInterface *PlainAccessibleWithoutAssistiveTechnology(const QString &className,
                                                                QObject *object) {
    if (QAccessible::isActive() || !object->isWidgetType() ||
        className != QLatin1String(CScrivoRichEditCtrl::staticMetaObject.className())) {
        return nullptr;
    }
    return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::EditableText);
}

}  // namespace

CScrivoRichEditCtrl::CScrivoRichEditCtrl(scrivo::Sound &sound, QWidget *parent)
    : QsciScintilla(parent), m_sound(sound) {
    static const bool accessibilityFactoryInstalled = [] {
        QAccessible::installFactory(PlainAccessibleWithoutAssistiveTechnology);
        return true;
    }();
    Q_UNUSED(accessibilityFactoryInstalled);
    m_gutterFont.setFamily(QString::fromLatin1(kTextFont));
    m_gutterFont.setPixelSize(kGutterFontPixels);
    m_gutterFont.setWeight(QFont::Normal);
    m_gutterFont.setStyleHint(QFont::SansSerif);

    SendScintilla(SCI_SETCODEPAGE, SC_CP_UTF8);
    SendScintilla(SCI_SETEOLMODE, SC_EOL_LF);
    for (int margin = 0; margin < 5; ++margin) {
        SendScintilla(SCI_SETMARGINWIDTHN, margin, 0L);
    }
    SendScintilla(SCI_SETMARGINLEFT, 0UL, static_cast<long>(kGutterWidth));
    // Only the notices before a change: those after an insertion or a deletion make the control
    // library's accessibility layer count the characters from the start of the text to the change,
    // a pass over a whole large file for every key. Styling raises no notice either, so whole-text
    // colouring stays one cheap call. (OnModified asks for one notice after an insertion.)
    SendScintilla(SCI_SETMODEVENTMASK, kBeforeChangeNotices);
    SendScintilla(SCI_SETPRINTWRAPMODE, static_cast<unsigned long>(SC_WRAP_WORD));
    KeepOnlyTheTextAreaKeys();
    // The control lays out a line whole, measuring every character through the font engine, which
    // takes a large fraction of a second per megabyte. Keeping the visible lines' layouts, not only
    // the caret's, lets a paint check a long line against its layout instead of laying it out anew.
    SendScintilla(SCI_SETLAYOUTCACHE, static_cast<unsigned long>(SC_CACHE_PAGE));

    connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int) {
        ColourPendingInsertion();
        if (m_notificationsEnabled) {
            emit PositionChanged();
        }
    });
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int modificationType, const char *, int length, int, int, int, int,
                   int, int) { OnModified(position, modificationType, length); });
}

void CScrivoRichEditCtrl::SetGutterColors(scrivo::Rgb background, scrivo::Rgb numbers) {
    m_gutterBackground = background;
    m_gutterNumbers = numbers;
}

void CScrivoRichEditCtrl::UpdateGutterBrush() {
    m_gutterBrush = QBrush(ToQColor(m_gutterBackground), Qt::SolidPattern);
}

void CScrivoRichEditCtrl::SetDefaultFormat(const scrivo::SchemeColors &colors) {
    const auto setFont = [this](unsigned long style) {
        SendScintilla(SCI_STYLESETFONT, style, kTextFont);
        SendScintilla(SCI_STYLESETSIZE, style, static_cast<long>(kTextPoints));
        SendScintilla(SCI_STYLESETBOLD, style, 1L);
    };
    setFont(STYLE_DEFAULT);
    for (int slot = 0; slot < scrivo::kColorSlotCount; ++slot) {
        setFont(static_cast<unsigned long>(slot));
    }
    SetSlotColors(colors);
}

void CScrivoRichEditCtrl::SetSlotColors(const scrivo::SchemeColors &colors) {
    // Any style setting makes the control lay out every line anew, a long one at great cost, and
    // every colouring comes through here.
    if (m_slotColors == colors) {
        return;
    }
    m_slotColors = colors;
    const long background = ColorRef(colors.background);
    SendScintilla(SCI_STYLESETBACK, static_cast<unsigned long>(STYLE_DEFAULT), background);
    SendScintilla(SCI_STYLESETFORE, static_cast<unsigned long>(STYLE_DEFAULT),
                  ColorRef(colors.text));
    for (int slot = 0; slot < scrivo::kColorSlotCount; ++slot) {
        const auto style = static_cast<unsigned long>(slot);
        SendScintilla(SCI_STYLESETBACK, style, background);
        SendScintilla(SCI_STYLESETFORE, style,
                      ColorRef(colors.ForSlot(static_cast<scrivo::ColorSlot>(slot))));
    }
    // A caret in the default black would vanish on the dark schemes.
    SendScintilla(SCI_SETCARETFORE, static_cast<unsigned long>(ColorRef(colors.text)));
}

int CScrivoRichEditCtrl::TextLength() const {
    return static_cast<int>(SendScintilla(SCI_GETLENGTH));
}

int CScrivoRichEditCtrl::TextLengthCountingBreaksTwice() const {
    return TextLength() + LineCount() - 1;
}

int CScrivoRichEditCtrl::LineCount() const {
    return static_cast<int>(SendScintilla(SCI_GETLINECOUNT));
}

int CScrivoRichEditCtrl::LineFromPosition(int position) const {
    return static_cast<int>(
        SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(position)));
}

int CScrivoRichEditCtrl::LineIndex(int line) const {
    if (line < 0 || line >= LineCount()) {
        return -1;
    }
    return static_cast<int>(SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line)));
}

int CScrivoRichEditCtrl::FirstVisibleLine() const {
    return static_cast<int>(SendScintilla(SCI_GETFIRSTVISIBLELINE));
}

void CScrivoRichEditCtrl::SetFirstVisibleLine(int line) {
    SendScintilla(SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(std::max(line, 0)));
}

int CScrivoRichEditCtrl::XOffset() const {
    return static_cast<int>(SendScintilla(SCI_GETXOFFSET));
}

void CScrivoRichEditCtrl::SetXOffset(int offset) {
    SendScintilla(SCI_SETXOFFSET, static_cast<unsigned long>(std::max(offset, 0)));
}

int CScrivoRichEditCtrl::SelectionStart() const {
    return static_cast<int>(SendScintilla(SCI_GETSELECTIONSTART));
}

int CScrivoRichEditCtrl::SelectionEnd() const {
    return static_cast<int>(SendScintilla(SCI_GETSELECTIONEND));
}

void CScrivoRichEditCtrl::SetSelectionRange(int start, int end) {
    SendScintilla(SCI_SETSEL, static_cast<unsigned long>(start), static_cast<long>(end));
}

int CScrivoRichEditCtrl::CountCharacters(int start, int end) const {
    return static_cast<int>(SendScintilla(SCI_COUNTCHARACTERS, static_cast<unsigned long>(start),
                                          static_cast<long>(end)));
}

std::string_view CScrivoRichEditCtrl::RangeText(int start, int end) const {
    const auto length = static_cast<std::size_t>(end - start);
    // The buffer's gap moves only when the range straddles it: reading a line at the start of a
    // large text must not move the whole text behind the gap that typing left there.
    const auto *text = reinterpret_cast<const char *>(SendScintilla(
        SCI_GETRANGEPOINTER, static_cast<unsigned long>(start), static_cast<long>(length)));
    return std::string_view(text, length);
}

void CScrivoRichEditCtrl::ApplyStyles(int start, std::string_view styles) {
    // An insertion still waiting for its colour must not paint over the styles given now.
    ColourPendingInsertion();
    SetStyleBytes(start, styles);
}

void CScrivoRichEditCtrl::SetStyleBytes(int start, std::string_view styles) const {
    // After any change the control checks each line on screen against its layout, taking the style
    // of the line end to be that of the line's last character, or 0 on an empty line; a line whose
    // end is styled otherwise is laid out anew, however long. The line end, the one byte '\n' in
    // this control, is never drawn, so it takes that style here.
    std::string adjusted(styles);
    const int before = std::max(start - 1, 0);
    const std::string_view text = RangeText(before, start + static_cast<int>(styles.size()));
    const auto offset = static_cast<std::size_t>(start - before);
    for (std::size_t at = text.find('\n', offset); at != std::string_view::npos;
         at = text.find('\n', at + 1)) {
        const std::size_t index = at - offset;
        const bool emptyLine = at == 0 || text[at - 1] == '\n';
        adjusted[index] = emptyLine   ? 0
                          : index > 0 ? adjusted[index - 1]
                                      : static_cast<char>(StyleAt(before));
    }
    SendScintilla(SCI_STARTSTYLING, static_cast<unsigned long>(start), 0xffL);
    SendScintilla(SCI_SETSTYLINGEX, static_cast<uintptr_t>(adjusted.size()), adjusted.data());
}

void CScrivoRichEditCtrl::SetTextBytes(std::string_view bytes) {
    // Unrecorded: the undo history would only keep a copy of the whole text until it is emptied.
    const ChangeGuard guard(*this, {.unrecorded = true});
    SendScintilla(SCI_CLEARALL);
    // The control's text and style buffers grow only when their gap is used up, and then copy the
    // whole text: sized exactly for a large file they would stall one of the first keys typed
    // after the load for a large fraction of a second. So they get their typing room now.
    const std::size_t room =
        std::clamp<std::size_t>(bytes.size() / 16, kMinTypingRoom, kMaxTypingRoom);
    SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(bytes.size() + room));
    SendScintilla(SCI_APPENDTEXT, bytes.size(), bytes.data());
    // The caret is at the start now, but the gap is behind the text, where the append left it:
    // an insertion at the start moves it here, so that the first key does not move the text.
    SendScintilla(SCI_INSERTTEXT, 0UL, " ");
    SendScintilla(SCI_DELETERANGE, 0UL, 1L);
}

std::optional<CScrivoRichEditCtrl::TextRange> CScrivoRichEditCtrl::FindForward(
    int from, std::string_view text, SearchFlags flags) {
    const int length = TextLength();
    // A start past the end (the text shrank since the last search) finds nothing; the control
    // would read such a target as a backward search.
    if (text.empty() || from < 0 || from >= length) {
        return std::nullopt;
    }
    const int searchFlags =
        (flags.matchCase ? SCFIND_MATCHCASE : 0) | (flags.wholeWord ? SCFIND_WHOLEWORD : 0);
    SendScintilla(SCI_SETSEARCHFLAGS, static_cast<unsigned long>(searchFlags));
    SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(from), static_cast<long>(length));
    const long found =
        SendScintilla(SCI_SEARCHINTARGET, static_cast<uintptr_t>(text.size()), text.data());
    if (found < 0) {
        return std::nullopt;
    }
    return TextRange{static_cast<int>(found), static_cast<int>(SendScintilla(SCI_GETTARGETEND))};
}

int CScrivoRichEditCtrl::ReplaceRange(TextRange range, std::string_view text) {
    const int style = InsertionStyle(range.start, range.end);
    SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(range.start),
                  static_cast<long>(range.end));
    const int inserted = static_cast<int>(
        SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(text.size()), text.data()));
    if (inserted > 0) {
        ApplyStyles(range.start,
                    std::string(static_cast<std::size_t>(inserted), static_cast<char>(style)));
    }
    return range.start + inserted;
}

int CScrivoRichEditCtrl::PrintPage(QPainter &painter, const QRect &area, int start, int end) {
    return static_cast<int>(SendScintilla(SCI_FORMATRANGE, 1UL, &painter, area,
                                          static_cast<long>(start), static_cast<long>(end)));
}

int CScrivoRichEditCtrl::StyleAt(int position) const {
    ColourPendingInsertion();
    return static_cast<int>(SendScintilla(SCI_GETSTYLEAT, static_cast<unsigned long>(position)));
}

void CScrivoRichEditCtrl::SetRedraw(bool on) {
    viewport()->setUpdatesEnabled(on);
    if (on) {
        // Scheduled, not painted here: the key being typed repaints the view right after, and one
        // full paint of a maximised view costs far more than the colouring.
        viewport()->update();
    }
}

int CScrivoRichEditCtrl::GutterLineHeight() const {
    return QFontMetrics(m_gutterFont).height();
}

std::vector<CScrivoRichEditCtrl::GutterLabel> CScrivoRichEditCtrl::GutterLabels() const {
    const int lineHeight = std::max(GutterLineHeight(), 1);
    const int passes = viewport()->height() / lineHeight + 2;
    const int first = FirstVisibleLine();
    const int last = std::min(first + passes, LineCount() - 1);
    // The control neither wraps nor folds and all its styles share one font, so the view's lines
    // are the text's lines, each one text height below the one before. Asking the control where a
    // line starts would make it lay the whole line out, seconds on a line of megabytes.
    const auto textHeight = static_cast<int>(SendScintilla(SCI_TEXTHEIGHT, 0UL));
    std::vector<GutterLabel> labels;
    for (int line = first; line <= last; ++line) {
        labels.push_back({line + 1, (line - first) * textHeight});
    }
    return labels;
}

bool CScrivoRichEditCtrl::event(QEvent *event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (m_reserved.contains(QKeySequence(key->keyCombination()))) {
            // Left unaccepted, the frame's shortcut takes the key before the control sees it.
            event->ignore();
            return true;
        }
    }
    const bool handled = QsciScintilla::event(event);
    // A typed or composed character is coloured as soon as its event is done.
    ColourPendingInsertion();
    return handled;
}

void CScrivoRichEditCtrl::KeepOnlyTheTextAreaKeys() {
    for (QsciCommand *command : standardCommands()->commands()) {
        command->setKey(0);
        command->setAlternateKey(0);
    }
    for (const TextAreaKey &key : kTextAreaKeys) {
        QsciCommand *command = standardCommands()->find(key.command);
        command->setKey(key.key.toCombined());
        command->setAlternateKey(key.alternateKey.toCombined());
    }
}

void CScrivoRichEditCtrl::keyPressEvent(QKeyEvent *event) {
    if (m_keyClick) {
        m_sound.PlayClick();
    }
    if (m_keyObserver) {
        m_keyObserver(ReportedKey(*event));
    }
    // The control library types the character of a Ctrl combination that has no command (Ctrl+=
    // gave "="); the text area's Ctrl keys are commands or nothing. Ctrl with Alt is left alone:
    // some keyboards type characters with it (AltGr).
    const bool ctrlOnly =
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == Qt::ControlModifier;
    if (ctrlOnly && standardCommands()->boundTo(BindingOf(*event)) == nullptr) {
        event->ignore();
        return;
    }
    QsciScintilla::keyPressEvent(event);
}

void CScrivoRichEditCtrl::paintEvent(QPaintEvent *event) {
    MarkAllTextStyled();
    QsciScintilla::paintEvent(event);
    if (!m_printing) {
        PaintGutter();
    }
}

void CScrivoRichEditCtrl::MarkAllTextStyled() {
    // The control takes the text from an edit on to be unstyled. A paint would then ask for it to
    // be styled and, in asking, have each line on screen compared with its layout again, and a line
    // whose end is styled unlike its last character laid out anew, whatever its length.
    const long length = SendScintilla(SCI_GETLENGTH);
    if (SendScintilla(SCI_GETENDSTYLED) < length) {
        SendScintilla(SCI_STARTSTYLING, static_cast<unsigned long>(length), 0xffL);
    }
}

void CScrivoRichEditCtrl::PaintGutter() {
    const QRect gutter(0, 0, kGutterWidth, viewport()->height());
    const int lineHeight = GutterLineHeight();
    QPainter painter(viewport());
    painter.setClipRect(gutter);
    painter.fillRect(gutter, m_gutterBrush);
    painter.setFont(m_gutterFont);
    painter.setPen(ToQColor(m_gutterNumbers));
    for (const GutterLabel &label : GutterLabels()) {
        const QRect numberRect(kGutterNumberLeft, label.top, kGutterWidth - kGutterNumberLeft,
                               lineHeight);
        painter.setClipRect(numberRect.intersected(gutter));
        painter.drawText(numberRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         QString::number(label.number));
    }
}

void CScrivoRichEditCtrl::OnModified(int position, int modificationType, int length) {
    if ((modificationType & SC_MOD_INSERTTEXT) != 0) {
        // The one notice after an insertion that was asked for below has come.
        SendScintilla(SCI_SETMODEVENTMASK, kBeforeChangeNotices);
    }
    // A new change begins only once the previous one is in the text; coloured later, the pending
    // insertion would land on whatever a deletion moved to its place.
    ColourPendingInsertion();
    if ((modificationType & SC_MOD_BEFOREINSERT) == 0 || length <= 0) {
        return;
    }
    // The text after the insertion point is still at `position` before the insertion.
    const int style = InsertionStyle(position, position);
    if (style != 0) {
        m_pendingInsertion = PendingInsertion{position, length, style};
        if (ColouringOnInsertionPays(position)) {
            SendScintilla(SCI_SETMODEVENTMASK, kBeforeChangeNotices | SC_MOD_INSERTTEXT);
        }
    }
}

bool CScrivoRichEditCtrl::ColouringOnInsertionPays(int position) const {
    // Coloured at the notice after the insertion, the text has its colour before the control lays
    // its line out for the caret; coloured at the next event, after that, and the line is laid out
    // a second time. But at that notice the control library's accessibility layer counts the
    // characters from the start of the text to the insertion, and laying a byte out costs some
    // forty times as much as counting one.
    constexpr long kLayoutToCountCost = 40;
    const long lineLength =
        SendScintilla(SCI_LINELENGTH, static_cast<unsigned long>(LineFromPosition(position)));
    return position < kLayoutToCountCost * lineLength;
}

int CScrivoRichEditCtrl::InsertionStyle(int start, int end) const {
    if (start > 0) {
        return StyleAt(start - 1);
    }
    return end < TextLength() ? StyleAt(end) : 0;
}

void CScrivoRichEditCtrl::ColourPendingInsertion() const {
    if (!m_pendingInsertion) {
        return;
    }
    const PendingInsertion insertion = *m_pendingInsertion;
    m_pendingInsertion.reset();
    // An insertion the control refused or shortened leaves less text than was announced.
    const int length = std::min(insertion.length, TextLength() - insertion.position);
    if (length > 0) {
        SetStyleBytes(insertion.position, std::string(static_cast<std::size_t>(length),
                                                      static_cast<char>(insertion.style)));
    }
}

CScrivoRichEditCtrl::ChangeGuard::ChangeGuard(CScrivoRichEditCtrl &editor, Hold hold)
    : m_editor(editor), m_hold(hold) {
    if (m_hold.suspendRedraw) {
        m_redrawWasOn = m_editor.viewport()->updatesEnabled();
        m_editor.SetRedraw(false);
    }
    if (m_hold.maskNotifications) {
        m_notificationsWereOn = m_editor.NotificationsEnabled();
        m_editor.SetNotificationsEnabled(false);
    }
    if (m_hold.keepView) {
        m_firstVisibleLine = m_editor.FirstVisibleLine();
        m_xOffset = m_editor.XOffset();
    }
    if (m_hold.unrecorded) {
        m_modificationEventMask = m_editor.SendScintilla(SCI_GETMODEVENTMASK);
        m_undoCollectionWasOn = m_editor.SendScintilla(SCI_GETUNDOCOLLECTION) != 0;
        m_editor.SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
        m_editor.SendScintilla(SCI_SETMODEVENTMASK, 0UL);
    }
}

CScrivoRichEditCtrl::ChangeGuard::~ChangeGuard() {
    if (m_hold.unrecorded) {
        m_editor.SendScintilla(SCI_SETMODEVENTMASK,
                               static_cast<unsigned long>(m_modificationEventMask));
        m_editor.SendScintilla(SCI_SETUNDOCOLLECTION, m_undoCollectionWasOn ? 1UL : 0UL);
        m_editor.SendScintilla(SCI_EMPTYUNDOBUFFER);
    }
    if (m_hold.keepView) {
        m_editor.SetFirstVisibleLine(m_firstVisibleLine);
        m_editor.SetXOffset(m_xOffset);
    }
    if (m_hold.maskNotifications) {
        m_editor.SetNotificationsEnabled(m_notificationsWereOn);
    }
    if (m_hold.suspendRedraw && m_redrawWasOn) {
        m_editor.SetRedraw(true);
    }
}
