// The application: starts Qt, builds the one main frame and runs the event loop. The editor takes
// no command-line arguments; it always starts with an untitled, empty text.
#pragma once

#include <QApplication>
#include <memory>

#include "MainFrame.h"
#include "QtFrameServices.h"
#include "QuitSignals.h"

class CTextEditApp {
  public:
    CTextEditApp(int &argc, char **argv);

    // Builds the frame and shows it.
    void InitInstance();
    int Run();

  private:
    QApplication m_application;
    scrivo::QtFrameServices m_services;
    // The frame, which writes the settings when destroyed, goes before the services and the
    // application; the signal watch, which calls the frame, goes before the frame.
    std::unique_ptr<CMainFrame> m_mainFrame;
    std::unique_ptr<scrivo::QuitSignalWatch> m_quitSignals;
};
