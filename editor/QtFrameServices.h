// The services of the running program: the click through Qt Multimedia, Qt's file dialogs and
// message box, and detached process start.
#pragma once

#include <QSoundEffect>

#include "DetachedProcess.h"
#include "FrameServices.h"

namespace scrivo {

class QtSound : public Sound {
  public:
    QtSound();
    void playClick() override;

  private:
    QSoundEffect effect_;
};

// Qt's file dialogs, over the active window.
class QtFileDialogs : public FileDialogs {
  public:
    std::optional<std::string> chooseFile(const FileDialogRequest &request) override;
};

class QtFileErrorBox : public FileErrorBox {
  public:
    void showFileError(const std::string &message) override;
};

// Owns one implementation of every service and hands them to the frame.
class QtFrameServices {
  public:
    FrameServices services();

  private:
    QtSound sound_;
    QtFileDialogs fileDialogs_;
    QtFileErrorBox fileErrors_;
    DetachedProcessStarter processes_;
};

}  // namespace scrivo
