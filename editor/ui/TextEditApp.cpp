#include "TextEditApp.h"

CTextEditApp::CTextEditApp(int &argc, char **argv) : m_application(argc, argv) {
    QApplication::setApplicationName(QStringLiteral("Scrivo"));
}

void CTextEditApp::InitInstance() {
    m_mainFrame = std::make_unique<CMainFrame>(m_services.Services());
    m_mainFrame->CreateFrame();
}

int CTextEditApp::Run() {
    return QApplication::exec();
}
