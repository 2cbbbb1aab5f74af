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

FindReplaceDialog::FindReplaceDialog(Form form, QWidget *parent) : QDialog(parent), form_(form) {
    const bool withReplace = form == Form::FindAndReplace;
    setWindowTitle(withReplace ? QStringLiteral("Replace") : QStringLiteral("Find"));

    auto *fields = new QGridLayout;
    findField_ = new QLineEdit(this);
    auto *findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    findLabel->setBuddy(findField_);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(findField_, 0, 1);
    if (withReplace) {
        replaceField_ = new QLineEdit(this);
        auto *replaceLabel = new QLabel(QStringLiteral("Re&place with:"), this);
        replaceLabel->setBuddy(replaceField_);
        fields->addWidget(replaceLabel, 1, 0);
        fields->addWidget(replaceField_, 1, 1);
    }

    wholeWord_ = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    matchCase_ = new QCheckBox(QStringLiteral("Match &case"), this);
    auto *direction = new QGroupBox(QStringLiteral("Direction"), this);
    up_ = new QRadioButton(QStringLiteral("&Up"), direction);
    down_ = new QRadioButton(QStringLiteral("&Down"), direction);
    down_->setChecked(true);
    auto *directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(up_);
    directionLayout->addWidget(down_);

    auto *options = new QHBoxLayout;
    auto *boxes = new QVBoxLayout;
    boxes->addWidget(wholeWord_);
    boxes->addWidget(matchCase_);
    options->addLayout(boxes);
    options->addWidget(direction);

    auto *left = new QVBoxLayout;
    left->addLayout(fields);
    left->addLayout(options);
    left->addStretch();

    auto *buttons = new QVBoxLayout;
    findNext_ = new QPushButton(QStringLiteral("&Find Next"), this);
    findNext_->setDefault(true);
    buttons->addWidget(findNext_);
    connect(findNext_, &QPushButton::clicked, this, [this] { Report(Action::FindNext); });
    if (withReplace) {
        replace_ = new QPushButton(QStringLiteral("&Replace"), this);
        replaceAll_ = new QPushButton(QStringLiteral("Replace &All"), this);
        buttons->addWidget(replace_);
        buttons->addWidget(replaceAll_);
        connect(replace_, &QPushButton::clicked, this, [this] { Report(Action::Replace); });
        connect(replaceAll_, &QPushButton::clicked, this, [this] { Report(Action::ReplaceAll); });
    }
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    buttons->addWidget(cancel_);
    buttons->addStretch();
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    // Cancel, Esc and the close box all end in done(), which emits finished once.
    connect(this, &QDialog::finished, this, [this] { Report(Action::Closing); });
    connect(findField_, &QLineEdit::textChanged, this, &FindReplaceDialog::UpdateButtons);
    UpdateButtons();
    findField_->setFocus();
}

void FindReplaceDialog::UpdateButtons() {
    const bool haveText = !findField_->text().isEmpty();
    for (QPushButton *button : {findNext_, replace_, replaceAll_}) {
        if (button) {
            button->setEnabled(haveText);
        }
    }
}

void FindReplaceDialog::Report(Action action) {
    scrivo::FindReplaceRequest request;
    request.findText = findField_->text().toStdString();
    if (replaceField_) {
        request.replaceText = replaceField_->text().toStdString();
    }
    request.matchCase = matchCase_->isChecked();
    request.wholeWord = wholeWord_->isChecked();
    request.searchDown = down_->isChecked();
    request.isTerminating = action == Action::Closing;
    request.findNext = action == Action::FindNext;
    request.replaceCurrent = action == Action::Replace;
    request.replaceAll = action == Action::ReplaceAll;
    emit requested(request);
}
