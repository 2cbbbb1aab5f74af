// What the frame reaches outside the program through. The program passes Qt implementations
// (QtFrameServices.h); tests pass fakes that record what was asked of them. Each service is a small
// interface of its own; FrameServices bundles the ones a frame is given.
#pragma once

namespace scrivo {

// The key click. Playing while a click still sounds restarts it; no audio device means silence.
class Sound {
  public:
    virtual ~Sound() = default;
    virtual void playClick() = 0;
};

// Not owned: whoever builds the frame keeps the services alive for the frame's whole life.
struct FrameServices {
    Sound *sound = nullptr;
};

}  // namespace scrivo
