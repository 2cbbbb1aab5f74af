#include "TextEditApp.h"

CTextEditApp::CTextEditApp(int &argc, char **argv) : m_application(argc, argv) {
    QApplication::setApplicationName(QStringLiteral("Scrivo"));
}

void CTextEditApp::InitInstance() {
    m_mainFrame = std::make_unique<CMainFrame>(m_services.Services());
    m_mainFrame->CreateFrame();
    m_quitSignals = std::make_unique<scrivo::QuitSignalWatch>(
        [frame = m_mainFrame.get()](int signal) { frame->EndOnSignal(signal); });
}

int CTextEditApp::Run() {
    return QApplication::exec();
}
