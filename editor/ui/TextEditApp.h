// The application: starts Qt, builds the one main frame and runs the event loop. The editor takes
// no command-line arguments; it always starts with an untitled, empty text.
#pragma once

#include <QApplication>
#include <memory>

#include "MainFrame.h"
#include "QtFrameServices.h"

class CTextEditApp {
  public:
    CTextEditApp(int &argc, char **argv);

    // Builds the frame and shows it.
    void InitInstance();
    int Run();

  private:
    QApplication m_application;
    scrivo::QtFrameServices m_services;
    // Declared last so that the frame, which writes the settings when destroyed, goes first.
    std::unique_ptr<CMainFrame> m_mainFrame;
};
