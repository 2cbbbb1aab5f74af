// The splash step of window creation, the About box and the help file.
#include <QGuiApplication>
#include <QScreen>

#include "AboutDlg.h"
#include "CommandTable.h"
#include "MainFrame.h"

namespace {

constexpr int kSplashMilliseconds = 2000;
constexpr const char *kHelpFile = "Help/Scrivo_Help.html";

}  // namespace

void CMainFrame::ShowSplashWhileCreating() {
    // The frame will be shown maximised: its creation rectangle is the screen's working area, and
    // the splash is centred over that.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        setGeometry(screen->availableGeometry());
    }
    m_splash.CreateSplash(this, QString::fromLatin1(kSplashPicture));
    m_splash.ShowSplash();
    m_services.splashWait->Wait(kSplashMilliseconds);
    m_splash.HideSplash();
}

void CMainFrame::OnHelpAbout() {
    CAboutDlg dialog(this);
    m_services.dialogs->Run(dialog);
}

void CMainFrame::OnHelpContents() {
    m_services.helpViewer->DisplayTopic(kHelpFile);
}

void CMainFrame::RegisterPrintAndHelpCommands() {
    using namespace scrivo::command;
    OnCommand(kFilePrint, [this] { OnFilePrint(); });
    OnCommand(kHelpContents, [this] { OnHelpContents(); });
    OnCommand(kHelpAbout, [this] { OnHelpAbout(); });
}
