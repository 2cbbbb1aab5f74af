#include "Splash.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

constexpr int kBorderWidth = 3;

}  // namespace

QPoint SplashPosition(const QRect &owner, const QSize &client) {
    // Right and bottom are exclusive here, as the window system counts them.
    const int left = owner.x();
    const int top = owner.y();
    const int right = owner.x() + owner.width();
    const int bottom = owner.y() + owner.height();
    return {left + (right - left) / 2 - client.width() / 2,
            top + (bottom - top) / 2 - client.height() / 2};
}

SPLASH::~SPLASH() = default;

void SPLASH::CreateSplash(QWidget *owner, const QString &picture) {
    m_owner = owner;
    // No Qt parent: the window belongs to this object alone and goes when it goes.
    m_window = std::make_unique<QFrame>(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    m_window->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_window->setLineWidth(kBorderWidth);

    auto *image = new QLabel(m_window.get());
    image->setObjectName(QStringLiteral("picture"));
    const QPixmap pixmap(picture);
    image->setPixmap(pixmap);
    image->setFixedSize(pixmap.size());
    auto *layout = new QVBoxLayout(m_window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(image);
    const int frame = m_window->frameWidth();
    m_window->setFixedSize(pixmap.width() + 2 * frame, pixmap.height() + 2 * frame);
    m_shown = false;
}

void SPLASH::ShowSplash() {
    if (!m_window) {
        return;
    }
    const QRect owner = m_owner ? m_owner->frameGeometry() : QRect();
    m_window->move(SplashPosition(owner, m_window->contentsRect().size()));
    m_window->show();
    m_window->repaint();
    m_shown = true;
}

void SPLASH::HideSplash() {
    if (m_window) {
        m_window->hide();
    }
    m_shown = false;
}

QWidget *SPLASH::Window() const {
    return m_window.get();
}
