#include "QtFrameServices.h"

#include <QUrl>

namespace scrivo {

QtSound::QtSound() {
    effect_.setSource(QUrl(QStringLiteral("qrc:/sounds/click.wav")));
}

void QtSound::playClick() {
    // Stopping first cuts a click that still sounds, so fast typing clicks once per key.
    effect_.stop();
    effect_.play();
}

FrameServices QtFrameServices::services() {
    return FrameServices{&sound_};
}

}  // namespace scrivo
