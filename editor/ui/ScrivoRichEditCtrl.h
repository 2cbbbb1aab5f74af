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
    scrivo::Rgb GutterBackground() const { return gutterBackground_; }
    scrivo::Rgb GutterNumberColor() const { return gutterNumbers_; }
    QColor GutterBrushColor() const { return gutterBrush_.color(); }

    void SetKeyClick(bool on) { keyClick_ = on; }
    bool KeyClick() const { return keyClick_; }
    // While printing the gutter is not painted.
    void SetPrinting(bool on) { printing_ = on; }
    bool Printing() const { return printing_; }
    void SetKeyObserver(KeyObserver observer) { keyObserver_ = std::move(observer); }
    // Keys that are commands of the frame: they never reach the control and never click.
    void SetReservedShortcuts(QList<QKeySequence> shortcuts) { reserved_ = std::move(shortcuts); }

    // The mask of update and selection notifications (positionChanged). Switched off while a
    // range is coloured so that colouring does not refresh the status line.
    void SetNotificationsEnabled(bool on) { notificationsEnabled_ = on; }
    bool NotificationsEnabled() const { return notificationsEnabled_; }

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

    // Suspends repainting of the text area; switching it on again schedules one full repaint.
    void SetRedraw(bool on);

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
    void positionChanged();

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

    void PaintGutter();
    void OnModified(int position, int modificationType, int length);
    void ColourPendingInsertion() const;
    void SetStyleBytes(int start, std::string_view styles) const;

    scrivo::Rgb gutterBackground_{0, 0, 0};
    scrivo::Rgb gutterNumbers_{0, 0, 0};
    QFont gutterFont_;
    QBrush gutterBrush_{Qt::black};
    bool keyClick_ = true;
    bool printing_ = false;
    bool notificationsEnabled_ = false;
    scrivo::Sound &sound_;
    KeyObserver keyObserver_;
    QList<QKeySequence> reserved_;
    mutable std::optional<PendingInsertion> pendingInsertion_;
};
