#include "GoToLineDialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "CLocaleText.h"
#include "ScrivoRichEditCtrl.h"

namespace {

// The dialog's layout in dialog units: a quarter of the average character width across, an
// eighth of the character height down.
struct DialogUnits {
    explicit DialogUnits(const QFontMetrics &metrics)
        : x(metrics.averageCharWidth()), y(metrics.height()) {}
    QRect rect(int left, int top, int width, int height) const {
        return {left * x / 4, top * y / 8, width * x / 4, height * y / 8};
    }
    int x;
    int y;
};

}  // namespace

CGoToLineDialog::CGoToLineDialog(int lineCount, CScrivoRichEditCtrl *editor, QWidget *parent)
    : QDialog(parent), m_lineCount(lineCount), m_editor(editor) {
    setWindowTitle(QStringLiteral("Go To Line"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    const DialogUnits units(fontMetrics());

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setGeometry(units.rect(52, 37, 50, 14));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setGeometry(units.rect(105, 37, 50, 14));
    field_ = new QLineEdit(this);
    field_->setGeometry(units.rect(11, 16, 96, 12));
    label_ = new QLabel(QStringLiteral("Line Number"), this);
    label_->setGeometry(units.rect(14, 4, 116, 9));
    setFixedSize(units.rect(0, 0, 163, 56).size());

    connect(ok_, &QPushButton::clicked, this, &CGoToLineDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &CGoToLineDialog::reject);

    label_->setText(QString::asprintf("Line Number (1 - %d):", m_lineCount));
    setTabOrder(ok_, cancel_);
    setTabOrder(cancel_, field_);
    ok_->setFocus();
}

int CGoToLineDialog::LineStartFor(int lineNumber) const {
    const int lastLine = m_editor->LineCount() - 1;
    if (lineNumber <= 0) {
        int caretLine = 0;
        int caretIndex = 0;
        m_editor->getCursorPosition(&caretLine, &caretIndex);
        return m_editor->LineIndex(caretLine);
    }
    return m_editor->LineIndex(std::min(lineNumber - 1, lastLine));
}

void CGoToLineDialog::accept() {
    if (m_editor) {
        const int lineNumber = scrivo::parseLeadingInteger(field_->text().toStdString());
        const int start = LineStartFor(lineNumber);
        m_editor->SetSelectionRange(start, start);
    }
    QDialog::accept();
}
