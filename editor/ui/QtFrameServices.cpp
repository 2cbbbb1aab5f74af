#include "QtFrameServices.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDialog>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include "LocalFileNames.h"

namespace scrivo {

QtSound::QtSound() {
    m_effect.setSource(QUrl(QStringLiteral("qrc:/sounds/click.wav")));
}

void QtSound::PlayClick() {
    // Stopping first cuts a click that still sounds, so fast typing clicks once per key.
    m_effect.stop();
    m_effect.play();
}

std::optional<std::string> QtFileDialogs::ChooseFile(const FileDialogRequest &request) {
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
    const QList<QUrl> ownPlaces = dialog.sidebarUrls();
    QList<QUrl> places = ownPlaces;
    for (const std::string &folder : request.sideBarFolders) {
        const QUrl place = QUrl::fromLocalFile(QFile::decodeName(folder.c_str()));
        if (QFileInfo(place.toLocalFile()).isDir() && !places.contains(place)) {
            places.append(place);
        }
    }
    dialog.setSidebarUrls(places);
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    // Qt stores the side bar, for every Qt program of the user, when the dialog goes; the places
    // added for this one request are not to stay there.
    dialog.setSidebarUrls(ownPlaces);
    if (!chosen) {
        return std::nullopt;
    }
    return LocalFileBytes(QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath());
}

void QtFileErrorBox::ShowFileError(const std::string &message) {
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(),
                          QString::fromStdString(message));
}

int QtDialogRunner::Run(QDialog &dialog) {
    return dialog.exec();
}

namespace {

// The layout, `layout` itself or one nested in it, that holds `widget` directly.
QLayout *LayoutHolding(QLayout *layout, QWidget *widget) {
    if (layout == nullptr || layout->indexOf(widget) >= 0) {
        return layout;
    }
    for (int i = 0; i < layout->count(); ++i) {
        if (QLayout *found = LayoutHolding(layout->itemAt(i)->layout(), widget)) {
            return found;
        }
    }
    return nullptr;
}

void HideItem(QLayoutItem *item) {
    if (QWidget *widget = item->widget()) {
        widget->hide();
    } else if (QLayout *layout = item->layout()) {
        for (int i = 0; i < layout->count(); ++i) {
            HideItem(layout->itemAt(i));
        }
    }
}

// Hides `widget` with whatever stands on its row of the layout: its fields and their labels.
void HideRowOf(QWidget *widget) {
    widget->hide();
    QLayout *layout = LayoutHolding(widget->parentWidget()->layout(), widget);
    const int index = layout == nullptr ? -1 : layout->indexOf(widget);
    if (auto *grid = qobject_cast<QGridLayout *>(layout)) {
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
        for (int i = 0; i < grid->count(); ++i) {
            int itemRow = 0;
            grid->getItemPosition(i, &itemRow, &column, &rowSpan, &columnSpan);
            if (itemRow == row) {
                HideItem(grid->itemAt(i));
            }
        }
    } else if (auto *box = qobject_cast<QBoxLayout *>(layout);
               box != nullptr && (box->direction() == QBoxLayout::LeftToRight ||
                                  box->direction() == QBoxLayout::RightToLeft)) {
        HideItem(box);
    }
}

// Qt's print dialog with only the choices printing offers: all of the text or the selection. Qt
// keeps its page-number choices selectable whatever the options say, so they are hidden once Qt
// has laid the dialog out; and the options, where the selection is chosen, are shown from the
// start rather than behind a button.
class TextPrintDialog : public QPrintDialog {
  public:
    TextPrintDialog(QPrinter *printer, QWidget *parent) : QPrintDialog(printer, parent) {
        setOption(PrintSelection, true);
        setOption(PrintPageRange, false);
        setOption(PrintCurrentPage, false);
        // Qt offers PDF output as a printer of the list only with this option; without it a
        // machine with no print queue has no printer to choose at all.
        setOption(PrintToFile, true);
    }

    void setVisible(bool visible) override {
        QPrintDialog::setVisible(visible);
        if (!visible) {
            return;
        }
        // Each choice stands on a row of its own, with the fields and labels that belong to it.
        for (const char *pageNumberChoice :
             {"printRange", "pagesRadioButton", "printCurrentPage"}) {
            auto *choice = findChild<QWidget *>(QLatin1String(pageNumberChoice));
            if (choice == nullptr) {
                continue;
            }
            choice->setEnabled(false);
            HideRowOf(choice);
        }
        const QString showOptions = QPrintDialog::tr("&Options >>");
        for (QPushButton *button : findChildren<QPushButton *>()) {
            if (button->text() == showOptions) {
                button->click();
            }
        }
    }
};

}  // namespace

bool QtPrintDialog::ChoosePrinter(QPrinter &printer, QWidget *parent) {
    TextPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void QtInformationBox::ShowInformation(QWidget *parent, const std::string &caption,
                                       const std::string &text) {
    QMessageBox::information(parent, QString::fromStdString(caption), QString::fromStdString(text),
                             QMessageBox::Ok);
}

void QtSplashWait::Wait(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

QtHelpViewer::QtHelpViewer() = default;
QtHelpViewer::~QtHelpViewer() = default;

void QtHelpViewer::DisplayTopic(const std::string &file) {
    if (!m_browser) {
        m_browser = std::make_unique<QTextBrowser>();
        m_browser->setWindowTitle(QStringLiteral("Scrivo Help"));
        m_browser->setOpenExternalLinks(true);
        m_browser->resize(900, 700);
        // Over the window it was asked from, not wherever the window system puts a new window (a
        // corner of the screen).
        if (const QWidget *asking = QApplication::activeWindow()) {
            m_browser->move(asking->frameGeometry().center() - m_browser->rect().center());
        }
    }
    const QFileInfo help(QFile::decodeName(file.c_str()));
    if (help.isFile() && help.isReadable()) {
        const QUrl url = QUrl::fromLocalFile(help.absoluteFilePath());
        if (m_browser->source() == url) {
            m_browser->reload();
        } else {
            m_browser->setSource(url);
        }
    } else {
        m_browser->setHtml(
            QStringLiteral("<h2>Scrivo Help</h2><p>The help file <b>%1</b> could not be opened. "
                           "It belongs in the folder <b>Help</b> of the folder Scrivo is started "
                           "from.</p>")
                .arg(help.absoluteFilePath().toHtmlEscaped()));
    }
    m_browser->show();
    m_browser->raise();
    m_browser->activateWindow();
}

FrameServices QtFrameServices::Services() {
    return {.sound = &m_sound,
            .fileDialogs = &m_fileDialogs,
            .fileErrors = &m_fileErrors,
            .processes = &m_processes,
            .printDialog = &m_printDialog,
            .informationBox = &m_informationBox,
            .splashWait = &m_splashWait,
            .helpViewer = &m_helpViewer,
            .dialogs = &m_dialogs};
}

}  // namespace scrivo
