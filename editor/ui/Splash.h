// The picture shown while the main window is being built: a frameless top-level window with a
// raised border around the picture, centred over the window that owns it.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <memory>

class QFrame;
class QWidget;

// The picture of the splash window and the About dialog, in Qt resources.
inline constexpr const char *kSplashPicture = ":/pictures/splash.png";

// Top-left corner for the splash window over `owner` (the owner's outer rectangle): the client
// area of size `client` is centred with truncating halvings, but the result places the window's
// outer corner, so the picture sits off centre by the width of the border.
QPoint SplashPosition(const QRect &owner, const QSize &client);

class SPLASH {
  public:
    SPLASH() = default;
    virtual ~SPLASH();
    SPLASH(const SPLASH &) = delete;
    SPLASH &operator=(const SPLASH &) = delete;

    // Creates the hidden window showing the picture; the window takes the picture's size. A
    // second call replaces the window.
    void CreateSplash(QWidget *owner, const QString &picture);
    // Centres the window over the owner, shows it and paints it at once. Nothing before
    // CreateSplash.
    void ShowSplash();
    void HideSplash();

    bool IsShown() const { return m_shown; }
    // The splash window, nullptr before CreateSplash.
    QWidget *Window() const;

  private:
    bool m_shown = false;
    QWidget *m_owner = nullptr;
    std::unique_ptr<QFrame> m_window;
};
