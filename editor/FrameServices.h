// What the frame reaches outside the program through. The program passes Qt implementations
// (QtFrameServices.h); tests pass fakes that record what was asked of them. Each service is a small
// interface of its own; FrameServices bundles the ones a frame is given.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace scrivo {

// The key click. Playing while a click still sounds restarts it; no audio device means silence.
class Sound {
  public:
    virtual ~Sound() = default;
    virtual void playClick() = 0;
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
};

// The open and save dialogs. Open offers only existing files; Save asks before it lets the user
// choose an existing file.
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    // The chosen full path, or nothing when the user cancels.
    virtual std::optional<std::string> chooseFile(const FileDialogRequest &request) = 0;
};

// The message box for a file that could not be read or written; the message names the file and
// the system's reason.
class FileErrorBox {
  public:
    virtual ~FileErrorBox() = default;
    virtual void showFileError(const std::string &message) = 0;
};

// Starts a program with the caller's environment and working directory, without waiting for it or
// keeping anything of it.
class ProcessStarter {
  public:
    virtual ~ProcessStarter() = default;
    // 0 once the program runs, otherwise the system's error number.
    virtual int startDetached(const std::string &program,
                              const std::vector<std::string> &arguments) = 0;
};

// Not owned: whoever builds the frame keeps the services alive for the frame's whole life.
struct FrameServices {
    Sound *sound = nullptr;
    FileDialogs *fileDialogs = nullptr;
    FileErrorBox *fileErrors = nullptr;
    ProcessStarter *processes = nullptr;
};

}  // namespace scrivo
