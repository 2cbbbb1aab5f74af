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
    QRect Rect(int left, int top, int width, int height) const {
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

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setGeometry(units.Rect(52, 37, 50, 14));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setGeometry(units.Rect(105, 37, 50, 14));
    m_field = new QLineEdit(this);
    m_field->setGeometry(units.Rect(11, 16, 96, 12));
    m_label = new QLabel(QStringLiteral("Line Number"), this);
    m_label->setGeometry(units.Rect(14, 4, 116, 9));
    setFixedSize(units.Rect(0, 0, 163, 56).size());

    connect(m_ok, &QPushButton::clicked, this, &CGoToLineDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CGoToLineDialog::reject);

    m_label->setText(QString::asprintf("Line Number (1 - %d):", m_lineCount));
    setTabOrder(m_ok, m_cancel);
    setTabOrder(m_cancel, m_field);
    m_ok->setFocus();
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
        const int lineNumber = scrivo::ParseLeadingInteger(m_field->text().toStdString());
        const int start = LineStartFor(lineNumber);
        m_editor->SetSelectionRange(start, start);
    }
    QDialog::accept();
}
