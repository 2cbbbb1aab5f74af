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

    Form DialogForm() const { return form_; }
    QLineEdit *FindField() const { return findField_; }
    // Null in the find-only form, like the Replace and Replace All buttons.
    QLineEdit *ReplaceField() const { return replaceField_; }
    QCheckBox *MatchCaseBox() const { return matchCase_; }
    QCheckBox *WholeWordBox() const { return wholeWord_; }
    QRadioButton *UpButton() const { return up_; }
    QRadioButton *DownButton() const { return down_; }
    QPushButton *FindNextButton() const { return findNext_; }
    QPushButton *ReplaceButton() const { return replace_; }
    QPushButton *ReplaceAllButton() const { return replaceAll_; }
    QPushButton *CancelButton() const { return cancel_; }

  signals:
    void requested(const scrivo::FindReplaceRequest &request);

  private:
    enum class Action { FindNext, Replace, ReplaceAll, Closing };

    void Report(Action action);
    void UpdateButtons();

    Form form_;
    QLineEdit *findField_ = nullptr;
    QLineEdit *replaceField_ = nullptr;
    QCheckBox *matchCase_ = nullptr;
    QCheckBox *wholeWord_ = nullptr;
    QRadioButton *up_ = nullptr;
    QRadioButton *down_ = nullptr;
    QPushButton *findNext_ = nullptr;
    QPushButton *replace_ = nullptr;
    QPushButton *replaceAll_ = nullptr;
    QPushButton *cancel_ = nullptr;
};
