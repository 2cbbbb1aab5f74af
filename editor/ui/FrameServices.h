// What the frame reaches outside the program through. The program passes Qt implementations
// (QtFrameServices.h); tests pass fakes that record what was asked of them. Each service is a small
// interface of its own; FrameServices bundles the ones a frame is given.
#pragma once

#include <optional>
#include <string>
#include <vector>

class QDialog;
class QPrinter;
class QWidget;

namespace scrivo {

// The key click. Playing while a click still sounds restarts it; no audio device means silence.
class Sound {
  public:
    virtual ~Sound() = default;
    virtual void PlayClick() = 0;
};

// What a file dialog is asked for. Paths are the file system's bytes.
struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    std::string title;          // empty: the platform's own title for the mode
    std::string initialFolder;  // empty: the dialog's own default folder
    std::string initialName;
    std::string defaultSuffix;
    std::vector<std::string> nameFilters;  // "c Files (*.c)", the first one selected
    // Folders listed in the dialog's side bar besides its own places, where they exist.
    std::vector<std::string> sideBarFolders;
};

// The open and save dialogs. Open offers only existing files; Save asks before it lets the user
// choose an existing file.
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    // The chosen full path, or nothing when the user cancels.
    virtual std::optional<std::string> ChooseFile(const FileDialogRequest &request) = 0;
};

// The message box for a file that could not be read or written, or a print job that could not
// start; the message names the file or printer and the reason.
class FileErrorBox {
  public:
    virtual ~FileErrorBox() = default;
    virtual void ShowFileError(const std::string &message) = 0;
};

// Starts a program with the caller's environment and working directory, without waiting for it or
// keeping anything of it.
class ProcessStarter {
  public:
    virtual ~ProcessStarter() = default;
    // 0 once the program runs, otherwise the system's error number.
    virtual int StartDetached(const std::string &program,
                              const std::vector<std::string> &arguments) = 0;
};

// The print dialog, set up to offer all pages and the selection, without page numbers, and PDF
// output among the printers (there may be no other). It configures `printer` (the selection
// choice is its print range); false when the user cancels.
class PrintDialog {
  public:
    virtual ~PrintDialog() = default;
    virtual bool ChoosePrinter(QPrinter &printer, QWidget *parent) = 0;
};

// A message box with an information icon and an OK button, modal over `parent`.
class InformationBox {
  public:
    virtual ~InformationBox() = default;
    virtual void ShowInformation(QWidget *parent, const std::string &caption,
                                 const std::string &text) = 0;
};

// The pause while the splash picture is shown, on the user-interface thread, taking no input.
class SplashWait {
  public:
    virtual ~SplashWait() = default;
    virtual void Wait(int milliseconds) = 0;
};

// The help window: created on first use and reused; it reports a missing file itself.
class HelpViewer {
  public:
    virtual ~HelpViewer() = default;
    // Shows the file (relative to the working directory) at its start.
    virtual void DisplayTopic(const std::string &file) = 0;
};

// Runs a modal dialog of the program's own to its end; answers QDialog::Accepted or Rejected.
class DialogRunner {
  public:
    virtual ~DialogRunner() = default;
    virtual int Run(QDialog &dialog) = 0;
};

// A stand-in for every service that does no harm: no sound, file and print dialogs that cancel,
// messages written to standard error, no program started (ENOSYS), no pause, no help window and
// modal dialogs rejected without being shown. A frame uses it for every service it is not given.
class HarmlessServices final : public Sound,
                               public FileDialogs,
                               public FileErrorBox,
                               public ProcessStarter,
                               public PrintDialog,
                               public InformationBox,
                               public SplashWait,
                               public HelpViewer,
                               public DialogRunner {
  public:
    static HarmlessServices &Instance();

    void PlayClick() override;
    std::optional<std::string> ChooseFile(const FileDialogRequest &request) override;
    void ShowFileError(const std::string &message) override;
    int StartDetached(const std::string &program,
                      const std::vector<std::string> &arguments) override;
    bool ChoosePrinter(QPrinter &printer, QWidget *parent) override;
    void ShowInformation(QWidget *parent, const std::string &caption,
                         const std::string &text) override;
    void Wait(int milliseconds) override;
    void DisplayTopic(const std::string &file) override;
    int Run(QDialog &dialog) override;
};

// Not owned: whoever builds the frame keeps the services alive for the frame's whole life. Never
// null: each one left out is the harmless stand-in.
struct FrameServices {
    Sound *sound = &HarmlessServices::Instance();
    FileDialogs *fileDialogs = &HarmlessServices::Instance();
    FileErrorBox *fileErrors = &HarmlessServices::Instance();
    ProcessStarter *processes = &HarmlessServices::Instance();
    PrintDialog *printDialog = &HarmlessServices::Instance();
    InformationBox *informationBox = &HarmlessServices::Instance();
    SplashWait *splashWait = &HarmlessServices::Instance();
    HelpViewer *helpViewer = &HarmlessServices::Instance();
    DialogRunner *dialogs = &HarmlessServices::Instance();
};

}  // namespace scrivo
