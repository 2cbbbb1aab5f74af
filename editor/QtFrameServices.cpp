#include "QtFrameServices.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include "LocalFileNames.h"

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
    return localFileBytes(QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath());
}

void QtFileErrorBox::showFileError(const std::string &message) {
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(),
                          QString::fromStdString(message));
}

int QtDialogRunner::run(QDialog &dialog) {
    return dialog.exec();
}

bool QtPrintDialog::choosePrinter(QPrinter &printer, QWidget *parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    return dialog.exec() == QDialog::Accepted;
}

void QtInformationBox::showInformation(QWidget *parent, const std::string &caption,
                                       const std::string &text) {
    QMessageBox::information(parent, QString::fromStdString(caption), QString::fromStdString(text),
                             QMessageBox::Ok);
}

void QtSplashWait::wait(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

QtHelpViewer::QtHelpViewer() = default;
QtHelpViewer::~QtHelpViewer() = default;

void QtHelpViewer::displayTopic(const std::string &file) {
    if (!browser_) {
        browser_ = std::make_unique<QTextBrowser>();
        browser_->setWindowTitle(QStringLiteral("Scrivo Help"));
        browser_->setOpenExternalLinks(true);
        browser_->resize(900, 700);
    }
    const QFileInfo help(QFile::decodeName(file.c_str()));
    if (help.isFile() && help.isReadable()) {
        const QUrl url = QUrl::fromLocalFile(help.absoluteFilePath());
        if (browser_->source() == url) {
            browser_->reload();
        } else {
            browser_->setSource(url);
        }
    } else {
        browser_->setHtml(
            QStringLiteral("<h2>Scrivo Help</h2><p>The help file <b>%1</b> could not be opened. "
                           "It belongs in the folder <b>Help</b> of the folder Scrivo is started "
                           "from.</p>")
                .arg(help.absoluteFilePath().toHtmlEscaped()));
    }
    browser_->show();
    browser_->raise();
    browser_->activateWindow();
}

FrameServices QtFrameServices::services() {
    FrameServices services{&sound_, &fileDialogs_, &fileErrors_, &processes_};
    services.printDialog = &printDialog_;
    services.informationBox = &informationBox_;
    services.splashWait = &splashWait_;
    services.helpViewer = &helpViewer_;
    services.dialogs = &dialogs_;
    return services;
}

}  // namespace scrivo
