// The Go To Line dialog: a label naming the range of lines, a field for the number, OK and Cancel.
// OK moves the editor's caret to the start of the line asked for, with an empty selection; Cancel,
// Esc and the close box change nothing. The number is read the way atoi reads it, so any text may
// be typed; what lies outside the text is answered as described at LineStartFor.
#pragma once

#include <QDialog>

class CScrivoRichEditCtrl;
class QLabel;
class QLineEdit;
class QPushButton;

class CGoToLineDialog : public QDialog {
    Q_OBJECT

  public:
    explicit CGoToLineDialog(int lineCount = 1, CScrivoRichEditCtrl *editor = nullptr,
                             QWidget *parent = nullptr);

    QLabel *LineLabel() const { return m_label; }
    QLineEdit *LineField() const { return m_field; }
    QPushButton *OkButton() const { return m_ok; }
    QPushButton *CancelButton() const { return m_cancel; }

    void accept() override;

  private:
    // Where the caret goes for the 1-based line number n: the start of line n; for 0 or less
    // (nothing or no number typed, or a negative one) the start of the caret's own line; beyond
    // the last line the start of the last line.
    int LineStartFor(int lineNumber) const;

    int m_lineCount = 1;
    CScrivoRichEditCtrl *m_editor = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QLineEdit *m_field = nullptr;
    QLabel *m_label = nullptr;
};
