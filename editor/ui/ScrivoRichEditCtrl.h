// The editor's text area: a Scintilla control that paints a line-number gutter into its 100-pixel
// left margin after every paint, clicks on every key press and tells the frame about the key
// before it processes it.
//
// Conventions the rest of the editor relies on: positions are byte positions of the control; a
// line break is one character (LF); colours are never set by a lexer, only by styling ranges with
// one style per colour slot (the style number is the slot's value), so styling is never an undo
// step. Text inserted between colourings takes the style found at the insertion point.
#pragma once

#include <Qsci/qsciscintilla.h>

#include <QBrush>
#include <QFont>
#include <QKeySequence>
#include <QList>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "ColorSchemes.h"

namespace scrivo {
class Sound;
}

class QPainter;
class QRect;

class CScrivoRichEditCtrl : public QsciScintilla {
    Q_OBJECT

  public:
    static constexpr int kGutterWidth = 100;
    static constexpr int kGutterNumberLeft = 22;
    static constexpr int kGutterFontPixels = 16;
    // Key codes the frame reacts to, as the control reports them.
    static constexpr int kKeySpace = 32;
    static constexpr int kKeyReturn = 13;

    // Called with the key's code before the control processes the key.
    using KeyObserver = std::function<void(int key)>;

    explicit CScrivoRichEditCtrl(scrivo::Sound &sound, QWidget *parent = nullptr);

    void SetGutterColors(scrivo::Rgb background, scrivo::Rgb numbers);
    // Renews the brush that fills the gutter from the gutter background colour.
    void UpdateGutterBrush();
    scrivo::Rgb GutterBackground() const { return m_gutterBackground; }
    scrivo::Rgb GutterNumberColor() const { return m_gutterNumbers; }
    QColor GutterBrushColor() const { return m_gutterBrush.color(); }

    void SetKeyClick(bool on) { m_keyClick = on; }
    bool KeyClick() const { return m_keyClick; }
    // While printing the gutter is not painted.
    void SetPrinting(bool on) { m_printing = on; }
    bool Printing() const { return m_printing; }
    void SetKeyObserver(KeyObserver observer) { m_keyObserver = std::move(observer); }
    // Keys that are commands of the frame: they never reach the control and never click.
    void SetReservedShortcuts(QList<QKeySequence> shortcuts) { m_reserved = std::move(shortcuts); }

    // The mask of update and selection notifications (PositionChanged). Off until the frame is
    // ready for them; ChangeGuard switches them off for a change the program makes itself.
    void SetNotificationsEnabled(bool on) { m_notificationsEnabled = on; }
    bool NotificationsEnabled() const { return m_notificationsEnabled; }

    // Holds the control still for a change the program makes itself and, at the end of the
    // scope, puts back what it found, in reverse order, so guards nest. Colouring, Paste, Replace,
    // loading and printing all go through it.
    class ChangeGuard {
      public:
        struct Hold {
            // No painting while it lasts; one full repaint is scheduled at the end.
            bool suspendRedraw = false;
            // No PositionChanged, so that the status line is refreshed once, by the caller.
            bool maskNotifications = false;
            // The first visible line and the horizontal scroll are put back at the end.
            bool keepView = false;
            // No undo steps and no modification notices; the undo history, which no longer fits
            // the text, is emptied at the end. Without the notices an edit costs the control no
            // bookkeeping proportional to the text.
            bool unrecorded = false;
        };

        ChangeGuard(CScrivoRichEditCtrl &editor, Hold hold);
        ~ChangeGuard();
        ChangeGuard(const ChangeGuard &) = delete;
        ChangeGuard &operator=(const ChangeGuard &) = delete;

      private:
        CScrivoRichEditCtrl &m_editor;
        Hold m_hold;
        bool m_redrawWasOn = true;
        bool m_notificationsWereOn = true;
        int m_firstVisibleLine = 0;
        int m_xOffset = 0;
        long m_modificationEventMask = 0;
        bool m_undoCollectionWasOn = true;
    };

    // The font, size and weight of every colour slot, with the scheme's colours.
    void SetDefaultFormat(const scrivo::SchemeColors &colors);
    // Background of the whole text area and the foreground of every slot from the scheme.
    void SetSlotColors(const scrivo::SchemeColors &colors);

    int TextLength() const;
    // The length as the editor's callers count it: every line break twice (CR LF). Ranges that
    // reach past the text are clamped by the colourer, so this is a safe "whole text" end.
    int TextLengthCountingBreaksTwice() const;
    int LineCount() const;
    int LineFromPosition(int position) const;
    // First position of a line; -1 for a line past the last.
    int LineIndex(int line) const;
    int FirstVisibleLine() const;
    void SetFirstVisibleLine(int line);
    int XOffset() const;
    void SetXOffset(int offset);
    int SelectionStart() const;
    int SelectionEnd() const;
    void SetSelectionRange(int start, int end);
    // Characters (not bytes) between two positions.
    int CountCharacters(int start, int end) const;
    // The bytes of [start, end), valid until the text next changes. The range must lie in the text.
    std::string_view RangeText(int start, int end) const;
    // Gives [start, start + styles.size()) the style bytes in `styles`.
    void ApplyStyles(int start, std::string_view styles);
    int StyleAt(int position) const;

    // Replaces the whole text with these bytes as they are (a NUL or a byte that is not UTF-8
    // stays) and drops the undo history, which belonged to the old text.
    void SetTextBytes(std::string_view bytes);

    struct TextRange {
        int start;
        int end;
    };
    struct SearchFlags {
        bool matchCase;
        bool wholeWord;
    };
    // The first match of `text` in [from, end of text); nothing for an empty text or a start
    // outside the text. A match may differ in length from `text` when case does not matter.
    std::optional<TextRange> FindForward(int from, std::string_view text, SearchFlags flags);
    // Puts `text` in place of [range.start, range.end) and answers the end of what was inserted,
    // which takes the colour at the insertion point as typed text does.
    int ReplaceRange(TextRange range, std::string_view text);

    // Lays [start, end) out on one page inside `area` of the printer's painter, long lines broken
    // at words, in the control's fonts and current colours. Answers where the next page starts.
    int PrintPage(QPainter &painter, const QRect &area, int start, int end);

    struct GutterLabel {
        int number;  // 1-based line number
        int top;     // client y of the line's first character
        bool operator==(const GutterLabel &) const = default;
    };
    // The numbers the gutter paints, from the first visible line down, for at most the lines that
    // fit in the text area plus two, stopping at the end of the text.
    std::vector<GutterLabel> GutterLabels() const;
    int GutterLineHeight() const;

  signals:
    // The control's update or selection notification, while notifications are enabled.
    void PositionChanged();

  protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

  private:
    // Text inserted with no colour yet: the control tells of an insertion only before it happens,
    // so the inherited colour is put on once the text is in, at the next event, notice or query.
    struct PendingInsertion {
        int position;
        int length;
        int style;
    };

    // Unbinds every key of the control library's own but those of a plain text area.
    void KeepOnlyTheTextAreaKeys();
    void PaintGutter();
    void OnModified(int position, int modificationType, int length);
    // The style that text put in place of [start, end) takes: that of the byte before it or, at
    // the very start, that of the byte after it; 0 when there is neither.
    int InsertionStyle(int start, int end) const;
    // Whether an insertion at `position` is better coloured at the notice after it than later.
    bool ColouringOnInsertionPays(int position) const;
    // Suspends repainting of the text area; switching it on again schedules one full repaint.
    void SetRedraw(bool on);
    void ColourPendingInsertion() const;
    void SetStyleBytes(int start, std::string_view styles) const;
    // Tells the control that every byte has its style: the frame colours all text itself.
    void MarkAllTextStyled();

    scrivo::Rgb m_gutterBackground{0, 0, 0};
    scrivo::Rgb m_gutterNumbers{0, 0, 0};
    QFont m_gutterFont;
    QBrush m_gutterBrush{Qt::black};
    bool m_keyClick = true;
    bool m_printing = false;
    bool m_notificationsEnabled = false;
    scrivo::Sound &m_sound;
    KeyObserver m_keyObserver;
    QList<QKeySequence> m_reserved;
    mutable std::optional<PendingInsertion> m_pendingInsertion;
    std::optional<scrivo::SchemeColors> m_slotColors;
};
