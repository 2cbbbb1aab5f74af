#include "FindReplaceDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

FindReplaceDialog::FindReplaceDialog(Form form, QWidget *parent) : QDialog(parent), m_form(form) {
    const bool withReplace = form == Form::FindAndReplace;
    setWindowTitle(withReplace ? QStringLiteral("Replace") : QStringLiteral("Find"));

    auto *fields = new QGridLayout;
    m_findField = new QLineEdit(this);
    auto *findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    findLabel->setBuddy(m_findField);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(m_findField, 0, 1);
    if (withReplace) {
        m_replaceField = new QLineEdit(this);
        auto *replaceLabel = new QLabel(QStringLiteral("Re&place with:"), this);
        replaceLabel->setBuddy(m_replaceField);
        fields->addWidget(replaceLabel, 1, 0);
        fields->addWidget(m_replaceField, 1, 1);
    }

    m_wholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    m_matchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    auto *direction = new QGroupBox(QStringLiteral("Direction"), this);
    m_up = new QRadioButton(QStringLiteral("&Up"), direction);
    m_down = new QRadioButton(QStringLiteral("&Down"), direction);
    m_down->setChecked(true);
    auto *directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(m_down);

    auto *options = new QHBoxLayout;
    auto *boxes = new QVBoxLayout;
    boxes->addWidget(m_wholeWord);
    boxes->addWidget(m_matchCase);
    options->addLayout(boxes);
    options->addWidget(direction);

    auto *left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(options);
    left->addStretch();

    auto *buttons = new QVBoxLayout;
    m_findNext = new QPushButton(QStringLiteral("&Find Next"), this);
    m_findNext->setDefault(true);
    buttons->addWidget(m_findNext);
    connect(m_findNext, &QPushButton::clicked, this, [this] { Report(Action::FindNext); });
    if (withReplace) {
        m_replace = new QPushButton(QStringLiteral("&Replace"), this);
        m_replaceAll = new QPushButton(QStringLiteral("Replace &All"), this);
        buttons->addWidget(m_replace);
        buttons->addWidget(m_replaceAll);
        connect(m_replace, &QPushButton::clicked, this, [this] { Report(Action::Replace); });
        connect(m_replaceAll, &QPushButton::clicked, this, [this] { Report(Action::ReplaceAll); });
    }
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    buttons->addWidget(m_cancel);
    buttons->addStretch();
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    // Cancel, Esc and the close box all end in done(), which emits finished once.
    connect(this, &QDialog::finished, this, [this] { Report(Action::Closing); });
    connect(m_findField, &QLineEdit::textChanged, this, &FindReplaceDialog::UpdateButtons);
    UpdateButtons();
    m_findField->setFocus();
}

void FindReplaceDialog::UpdateButtons() {
    const bool haveText = !m_findField->text().isEmpty();
    for (QPushButton *button : {m_findNext, m_replace, m_replaceAll}) {
        if (button) {
            button->setEnabled(haveText);
        }
    }
}

void FindReplaceDialog::Report(Action action) {
    scrivo::FindReplaceRequest request;
    request.findText = m_findField->text().toStdString();
    if (m_replaceField) {
        request.replaceText = m_replaceField->text().toStdString();
    }
    request.matchCase = m_matchCase->isChecked();
    request.wholeWord = m_wholeWord->isChecked();
    request.searchDown = m_down->isChecked();
    request.isTerminating = action == Action::Closing;
    request.findNext = action == Action::FindNext;
    request.replaceCurrent = action == Action::Replace;
    request.replaceAll = action == Action::ReplaceAll;
    emit Requested(request);
}
