// Run > Start (F5): starts ./Orvex from the working directory on the current path and forgets it.
// Nothing is saved first and nothing waited for: Orvex reads the file as it is on disk.
#include <cstdio>

#include "CommandTable.h"
#include "MainFrame.h"

void CMainFrame::RegisterRunCommand() {
    OnCommand(scrivo::command::kRunStart, [this] { OnRunStart(); });
}

void CMainFrame::OnRunStart() {
    SetMessageText(QStringLiteral("Running"));
    const int error = m_services.processes->StartDetached("./Orvex", {m_currentPath});
    if (error != 0) {
        std::printf("Failed to create process. Error code: %d\n", error);
        std::fflush(stdout);
    }
    SetMessageText(QStringLiteral("Ready"));
}
