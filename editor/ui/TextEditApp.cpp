#include "TextEditApp.h"

CTextEditApp::CTextEditApp(int &argc, char **argv) : m_application(argc, argv) {
    QApplication::setApplicationName(QStringLiteral("Scrivo"));
}

bool CTextEditApp::InitInstance() {
    m_mainFrame = std::make_unique<CMainFrame>(m_services.services());
    return m_mainFrame->CreateFrame();
}

int CTextEditApp::Run() {
    return QApplication::exec();
}
