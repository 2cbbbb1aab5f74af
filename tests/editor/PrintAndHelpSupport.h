// Fakes for printing, the splash pause, the information box and the help viewer, and a fixture
// that builds the frame with them on top of the shared frame fixture.
#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FrameTestSupport.h"

namespace scrivo::testing {

// Answers the print dialog: prints to a PDF file on A4 with no margins of its own, the whole text
// or the selection; or cancels.
class FakePrintDialog : public PrintDialog {
  public:
    bool choosePrinter(QPrinter &printer, QWidget *) override {
        ++shown;
        rangeOffered = printer.printRange();
        if (cancel) {
            return false;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(outputFile);
        printer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        printer.setPrintRange(selection ? QPrinter::Selection : QPrinter::AllPages);
        return true;
    }
    QString outputFile;
    bool selection = false;
    bool cancel = false;
    int shown = 0;
    QPrinter::PrintRange rangeOffered = QPrinter::PageRange;
};

class FakeInformationBox : public InformationBox {
  public:
    struct Message {
        std::string caption;
        std::string text;
    };
    void showInformation(QWidget *, const std::string &caption, const std::string &text) override {
        messages.push_back({caption, text});
    }
    std::vector<Message> messages;
};

// Returns at once; `during` looks at the program while it would be waiting.
class FakeSplashWait : public SplashWait {
  public:
    void wait(int milliseconds) override {
        waits.push_back(milliseconds);
        if (during) {
            during();
        }
    }
    std::vector<int> waits;
    std::function<void()> during;
};

class FakeHelpViewer : public HelpViewer {
  public:
    void displayTopic(const std::string &file) override { topics.push_back(file); }
    std::vector<std::string> topics;
};

// The shared fixture's frame with these fakes added to its services.
class PrintAndHelpTest : public FrameTest {
  protected:
    void TearDown() override {
        printFrame_.reset();
        FrameTest::TearDown();
    }

    CMainFrame &Frame() {
        if (!printFrame_) {
            FrameServices services = Services();
            services.printDialog = &printDialog_;
            services.informationBox = &informationBox_;
            services.splashWait = &splashWait_;
            services.helpViewer = &helpViewer_;
            printFrame_ = std::make_unique<CMainFrame>(services);
            EXPECT_TRUE(printFrame_->CreateFrame());
            EXPECT_TRUE(QTest::qWaitForWindowExposed(printFrame_.get()));
        }
        return *printFrame_;
    }

    CScrivoRichEditCtrl &Editor() { return Frame().Editor(); }
    void DestroyPrintFrame() { printFrame_.reset(); }

    // Puts the text in the control coloured by the scheme, as a load leaves it.
    void LoadText(const std::string &text) {
        Editor().setText(QString::fromStdString(text));
        Frame().RecolorDocument();
    }

    FakePrintDialog printDialog_;
    FakeInformationBox informationBox_;
    FakeSplashWait splashWait_;
    FakeHelpViewer helpViewer_;

  private:
    std::unique_ptr<CMainFrame> printFrame_;
};

}  // namespace scrivo::testing
