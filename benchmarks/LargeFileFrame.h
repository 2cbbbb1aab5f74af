// The real frame (offscreen) over a large generated C file with CR LF line ends, in a folder of
// its own that also takes the settings file the frame writes at exit. Made once per benchmark
// program, on first use, and ended while the application still exists.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "FrameServices.h"
#include "GeneratedCText.h"
#include "MainFrame.h"

// Failures would make the figures meaningless: stop at once.
class FailingErrorBox : public scrivo::FileErrorBox {
  public:
    void ShowFileError(const std::string &message) override { qFatal("%s", message.c_str()); }
};

struct LargeFileFrame {
    explicit LargeFileFrame(std::size_t fileBytes)
        : LargeFileFrame(GeneratedCProgram(fileBytes, "\r\n")) {}

    explicit LargeFileFrame(const std::string &bytes) {
        QDir::setCurrent(Folder.path());
        QFile file(QStringLiteral("large.c"));
        file.open(QIODevice::WriteOnly);
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        file.close();
        Path = QDir::current().absoluteFilePath(QStringLiteral("large.c")).toStdString();
        Frame = std::make_unique<CMainFrame>(scrivo::FrameServices{.fileErrors = &Errors});
        Frame->CreateFrame();
    }

    // The one frame of the program, over a file of `fileBytes` the first time.
    static LargeFileFrame &Shared(std::size_t fileBytes) {
        static std::unique_ptr<LargeFileFrame> shared;
        if (!shared) {
            shared = std::make_unique<LargeFileFrame>(fileBytes);
            qAddPostRoutine([] { shared.reset(); });
        }
        return *shared;
    }

    QTemporaryDir Folder;
    FailingErrorBox Errors;
    std::string Path;
    std::unique_ptr<CMainFrame> Frame;
};
