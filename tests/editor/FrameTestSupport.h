// A real CMainFrame with fake services, running in a temporary working directory that holds its
// own Config/Scrivo_Config.xml, so that settings read at start and written at exit stay private to
// the test.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FrameServices.h"
#include "MainFrame.h"
#include "QtFrameServices.h"

namespace scrivo::testing {

class FakeSound : public Sound {
  public:
    void playClick() override { ++clicks; }
    int clicks = 0;
};

// Answers file dialogs from a script, in order; with the script used up it cancels.
class FakeFileDialogs : public FileDialogs {
  public:
    std::optional<std::string> chooseFile(const FileDialogRequest &request) override {
        requests.push_back(request);
        if (answers.empty()) {
            return std::nullopt;
        }
        std::optional<std::string> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<std::string>> answers;
    std::vector<FileDialogRequest> requests;
};

class FakeFileErrorBox : public FileErrorBox {
  public:
    void showFileError(const std::string &message) override { messages.push_back(message); }
    std::vector<std::string> messages;
};

// Plays the user's part in a modal dialog of the program's own: `answer` works the dialog (types,
// clicks) and the runner reports how it ended. Without an answer the dialog is cancelled.
class FakeDialogRunner : public DialogRunner {
  public:
    int run(QDialog &dialog) override {
        ++runs;
        if (answer) {
            answer(dialog);
        } else {
            dialog.reject();
        }
        return dialog.result();
    }
    std::function<void(QDialog &)> answer;
    int runs = 0;
};

class FrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(workDir_.isValid());
        previousDir_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(workDir_.path()));
        ASSERT_TRUE(QDir().mkpath(QStringLiteral("Config")));
        WriteSettingsFile(
            "<Scrivo>\n    <ColorScheme>32798</ColorScheme>\n    "
            "<KeyClick>1</KeyClick>\n</Scrivo>\n");
    }

    void TearDown() override {
        frame_.reset();
        QDir::setCurrent(previousDir_);
    }

    static std::string SettingsPath() { return "Config/Scrivo_Config.xml"; }

    void WriteSettingsFile(const std::string &content) {
        QFile file(QString::fromStdString(SettingsPath()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content.data(), static_cast<qint64>(content.size()));
    }

    std::string ReadSettingsFile() const {
        QFile file(QString::fromStdString(SettingsPath()));
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        return file.readAll().toStdString();
    }

    FrameServices Services() {
        FrameServices services{&sound_, &fileDialogs_, &fileErrors_, &processes_};
        services.dialogs = &dialogs_;
        return services;
    }

    // Builds and shows the frame on first use; write the settings file before calling it.
    CMainFrame &Frame() {
        if (!frame_) {
            frame_ = std::make_unique<CMainFrame>(Services());
            EXPECT_TRUE(frame_->CreateFrame());
            EXPECT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
        }
        return *frame_;
    }

    CScrivoRichEditCtrl &Editor() { return Frame().Editor(); }

    // Ends the frame as the program does at exit.
    void DestroyFrame() { frame_.reset(); }

    // Puts text in the control as a load would: every character in the text colour.
    void SetText(const char *text) {
        Editor().setText(QString::fromUtf8(text));
        Editor().ApplyStyles(0, std::string(static_cast<std::size_t>(Editor().TextLength()), '\0'));
    }

    FakeSound sound_;
    FakeDialogRunner dialogs_;
    FakeFileDialogs fileDialogs_;
    FakeFileErrorBox fileErrors_;
    // Real process start: tests give it a program of their own in the working directory.
    DetachedProcessStarter processes_;

  private:
    QTemporaryDir workDir_;
    QString previousDir_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace scrivo::testing
