#include "QtFrameServices.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

namespace scrivo {

QtSound::QtSound() {
    effect_.setSource(QUrl(QStringLiteral("qrc:/sounds/click.wav")));
}

void QtSound::playClick() {
    // Stopping first cuts a click that still sounds, so fast typing clicks once per key.
    effect_.stop();
    effect_.play();
}

std::optional<std::string> QtFileDialogs::chooseFile(const FileDialogRequest &request) {
    const bool saving = request.mode == FileDialogRequest::Mode::Save;
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(request.title),
                       QFile::decodeName(request.initialFolder.c_str()));
    QStringList filters;
    for (const std::string &filter : request.nameFilters) {
        filters.append(QString::fromStdString(filter));
    }
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultSuffix));
    dialog.selectFile(QString::fromStdString(request.initialName));
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath())
        .toStdString();
}

void QtFileErrorBox::showFileError(const std::string &message) {
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(),
                          QString::fromStdString(message));
}

FrameServices QtFrameServices::services() {
    return FrameServices{&sound_, &fileDialogs_, &fileErrors_, &processes_};
}

}  // namespace scrivo
