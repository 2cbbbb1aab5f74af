// The services of the running program: the click through Qt Multimedia, Qt's file dialogs and
// message box, and detached process start.
#pragma once

#include <QSoundEffect>
#include <memory>

#include "DetachedProcess.h"
#include "FrameServices.h"

class QTextBrowser;

namespace scrivo {

class QtSound : public Sound {
  public:
    QtSound();
    void PlayClick() override;

  private:
    QSoundEffect m_effect;
};

// Qt's file dialogs, over the active window.
class QtFileDialogs : public FileDialogs {
  public:
    std::optional<std::string> ChooseFile(const FileDialogRequest &request) override;
};

class QtFileErrorBox : public FileErrorBox {
  public:
    void ShowFileError(const std::string &message) override;
};

// Qt's print dialog with the choices the Print command offers.
class QtPrintDialog : public PrintDialog {
  public:
    bool ChoosePrinter(QPrinter &printer, QWidget *parent) override;
};

class QtInformationBox : public InformationBox {
  public:
    void ShowInformation(QWidget *parent, const std::string &caption,
                         const std::string &text) override;
};

// Keeps painting the splash while it waits (a window system may map it only after a round trip),
// but lets no input through.
class QtSplashWait : public SplashWait {
  public:
    void Wait(int milliseconds) override;
};

// A text browser window of its own, made on first use over the active window, and reused.
class QtHelpViewer : public HelpViewer {
  public:
    QtHelpViewer();
    ~QtHelpViewer() override;
    void DisplayTopic(const std::string &file) override;
    // The viewer's window, nullptr before the first topic.
    QTextBrowser *Window() const { return m_browser.get(); }

  private:
    std::unique_ptr<QTextBrowser> m_browser;
};

// The program started detached, as its own process that the editor forgets.
class DetachedProcessStarter : public ProcessStarter {
  public:
    int StartDetached(const std::string &program,
                      const std::vector<std::string> &arguments) override {
        return StartDetachedProcess(program, arguments);
    }
};

// Modal dialogs run in their own event loop.
class QtDialogRunner : public DialogRunner {
  public:
    int Run(QDialog &dialog) override;
};

// Owns one implementation of every service and hands them to the frame.
class QtFrameServices {
  public:
    FrameServices Services();

  private:
    QtSound m_sound;
    QtPrintDialog m_printDialog;
    QtInformationBox m_informationBox;
    QtSplashWait m_splashWait;
    QtHelpViewer m_helpViewer;
    QtFileDialogs m_fileDialogs;
    QtFileErrorBox m_fileErrors;
    DetachedProcessStarter m_processes;
    QtDialogRunner m_dialogs;
};

}  // namespace scrivo
