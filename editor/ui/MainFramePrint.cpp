// Printing: the control formats the pages itself, so the printout has the control's fonts and line
// breaks. To print black on white the control's colours are switched for the job and the scheme's
// colours are put back afterwards; colours are never undo steps, so the history is untouched.
#include <Qsci/qsciprinter.h>

#include <QApplication>
#include <QPainter>

#include "MainFrame.h"
#include "PageGeometry.h"

namespace {

constexpr scrivo::Rgb kBlack{0, 0, 0};
constexpr scrivo::Rgb kWhite{255, 255, 255};
constexpr scrivo::SchemeColors kBlackOnWhite{kWhite, kBlack, kBlack, kBlack,
                                             kBlack, kBlack, kBlack};

// The text rectangle of the geometry in the printer's device pixels.
QRect TextRectangle(const QPrinter &printer) {
    const int dpiX = printer.logicalDpiX();
    const int dpiY = printer.logicalDpiY();
    const scrivo::TwipsRect text =
        scrivo::PageGeometryFor(printer.width(), printer.height(), dpiX, dpiY).text;
    return QRect(
        QPoint(scrivo::TwipsToPixels(text.left, dpiX), scrivo::TwipsToPixels(text.top, dpiY)),
        QPoint(scrivo::TwipsToPixels(text.right, dpiX) - 1,
               scrivo::TwipsToPixels(text.bottom, dpiY) - 1));
}

// Shows the wait cursor for its lifetime.
class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

}  // namespace

void CMainFrame::OnFilePrint() {
    QsciPrinter printer(QPrinter::HighResolution);
    printer.setPrintRange(QPrinter::AllPages);
    if (!m_services.printDialog->ChoosePrinter(printer, this)) {
        return;
    }
    const bool selectionOnly = printer.QPrinter::printRange() == QPrinter::Selection;
    const int selectionStart = m_editor->SelectionStart();
    const int selectionEnd = m_editor->SelectionEnd();
    if (selectionOnly && selectionEnd - selectionStart < 1) {
        m_services.informationBox->ShowInformation(this, "Impossible",
                                                   "Current selection is empty!");
        return;
    }

    printer.setDocName(QString::fromStdString(m_currentPath));
    SetMessageText(QStringLiteral("Printing"));
    {
        WaitCursor waitCursor;
        QPainter painter;
        if (painter.begin(&printer)) {
            // The screen never shows the printout's colours.
            const CScrivoRichEditCtrl::ChangeGuard guard(*m_editor, {.suspendRedraw = true});
            m_editor->SetPrinting(true);
            m_editor->SetSlotColors(kBlackOnWhite);
            if (selectionOnly) {
                PrintPages(painter, printer, selectionStart, selectionEnd);
            } else {
                PrintPages(painter, printer, 0, m_editor->TextLength());
            }
            painter.end();
            m_editor->SetPrinting(false);
            // ColorizeRange sets the scheme's colours only when there is text to colour.
            m_editor->SetSlotColors(m_colors);
            ColorizeRange(0, m_editor->TextLengthCountingBreaksTwice());
        } else {
            ReportPrintingNotStarted(printer);
        }
    }
    SetMessageText(QStringLiteral("Ready"));
}

void CMainFrame::ReportPrintingNotStarted(const QPrinter &printer) {
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    const QString target = toFile ? printer.outputFileName() : printer.printerName();
    m_services.fileErrors->ShowFileError(
        (toFile ? "Cannot print to the file \"" : "Cannot print on \"") + target.toStdString() +
        (toFile ? "\":\nThe file cannot be written." : "\":\nThe printer did not take the job."));
}

void CMainFrame::PrintPages(QPainter &painter, QPrinter &printer, int start, int end) {
    const QRect textRect = TextRectangle(printer);
    for (bool firstPage = true;; firstPage = false) {
        if (!firstPage) {
            printer.newPage();
        }
        const int next = m_editor->PrintPage(painter, textRect, start, end);
        // Stopping when the text is placed leaves no empty last page; stopping when a page places
        // nothing keeps a page too small for one line from looping for ever.
        if (next >= end || next <= start) {
            break;
        }
        start = next;
    }
}
