// The modeless find/replace dialog. It holds the find text, the replace text, match case, whole
// word and the direction, and reports each use of its buttons to whoever listens as one request.
// Its action buttons work only while the find text is not empty, so a request for an action always
// carries a find text. Closing it in any way (Cancel, Esc, the close box) is reported too.
#pragma once

#include <QDialog>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace scrivo {

// One report of the dialog. Exactly one of the four action flags is set.
struct FindReplaceRequest {
    std::string findText;     // UTF-8
    std::string replaceText;  // UTF-8; empty in the find-only form
    bool matchCase = false;
    bool wholeWord = false;
    bool searchDown = true;
    bool isTerminating = false;
    bool findNext = false;
    bool replaceCurrent = false;
    bool replaceAll = false;
};

}  // namespace scrivo

class FindReplaceDialog : public QDialog {
    Q_OBJECT

  public:
    enum class Form { FindOnly, FindAndReplace };

    FindReplaceDialog(Form form, QWidget *parent);

    Form DialogForm() const { return m_form; }
    QLineEdit *FindField() const { return m_findField; }
    // Null in the find-only form, like the Replace and Replace All buttons.
    QLineEdit *ReplaceField() const { return m_replaceField; }
    QCheckBox *MatchCaseBox() const { return m_matchCase; }
    QCheckBox *WholeWordBox() const { return m_wholeWord; }
    QRadioButton *UpButton() const { return m_up; }
    QRadioButton *DownButton() const { return m_down; }
    QPushButton *FindNextButton() const { return m_findNext; }
    QPushButton *ReplaceButton() const { return m_replace; }
    QPushButton *ReplaceAllButton() const { return m_replaceAll; }
    QPushButton *CancelButton() const { return m_cancel; }

  signals:
    void Requested(const scrivo::FindReplaceRequest &request);

  private:
    enum class Action { FindNext, Replace, ReplaceAll, Closing };

    void Report(Action action);
    void UpdateButtons();

    Form m_form;
    QLineEdit *m_findField = nullptr;
    QLineEdit *m_replaceField = nullptr;
    QCheckBox *m_matchCase = nullptr;
    QCheckBox *m_wholeWord = nullptr;
    QRadioButton *m_up = nullptr;
    QRadioButton *m_down = nullptr;
    QPushButton *m_findNext = nullptr;
    QPushButton *m_replace = nullptr;
    QPushButton *m_replaceAll = nullptr;
    QPushButton *m_cancel = nullptr;
};
