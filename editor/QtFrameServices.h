// The services of the running program: the click through Qt Multimedia.
#pragma once

#include <QSoundEffect>

#include "FrameServices.h"

namespace scrivo {

class QtSound : public Sound {
  public:
    QtSound();
    void playClick() override;

  private:
    QSoundEffect effect_;
};

// Owns one implementation of every service and hands them to the frame.
class QtFrameServices {
  public:
    FrameServices services();

  private:
    QtSound sound_;
};

}  // namespace scrivo
