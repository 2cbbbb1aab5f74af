// A real CMainFrame with fakes for every service, running in a temporary working directory that
// holds its own Config/Scrivo_Config.xml, so that settings read at start and written at exit stay
// private to the test, as do the unsaved texts it keeps in a temporary state folder of its own.
// The fakes record what was asked of them; a fixture that needs a real service puts it in through
// ConfigureServices.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMarginsF>
#include <QMimeData>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FrameServices.h"
#include "MainFrame.h"

namespace scrivo::testing {

class FakeSound : public Sound {
  public:
    void PlayClick() override { ++clicks; }
    int clicks = 0;
};

// Answers file dialogs from a script, in order; with the script used up it cancels.
class FakeFileDialogs : public FileDialogs {
  public:
    std::optional<std::string> ChooseFile(const FileDialogRequest &request) override {
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
    void ShowFileError(const std::string &message) override { messages.push_back(message); }
    std::vector<std::string> messages;
};

// Plays the user's part in a modal dialog of the program's own: `answer` works the dialog (types,
// clicks) and the runner reports how it ended. Without an answer the dialog is cancelled.
class FakeDialogRunner : public DialogRunner {
  public:
    int Run(QDialog &dialog) override {
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

// Answers the print dialog: prints to a PDF file on A4 with no margins of its own, the whole text
// or the selection; or cancels.
class FakePrintDialog : public PrintDialog {
  public:
    bool ChoosePrinter(QPrinter &printer, QWidget *) override {
        ++shown;
        rangeOffered = printer.printRange();
        if (cancel) {
            return false;
        }
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(outputFile);
        printer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        printer.setPrintRange(selection ? QPrinter::Selection : QPrinter::AllPages);
        return true;
    }
    QString outputFile;
    bool selection = false;
    bool cancel = false;
    int shown = 0;
    QPrinter::PrintRange rangeOffered = QPrinter::PageRange;
};

class FakeInformationBox : public InformationBox {
  public:
    struct Message {
        std::string caption;
        std::string text;
    };
    void ShowInformation(QWidget *, const std::string &caption, const std::string &text) override {
        messages.push_back({caption, text});
    }
    std::vector<Message> messages;
};

// Returns at once; `during` looks at the program while it would be waiting.
class FakeSplashWait : public SplashWait {
  public:
    void Wait(int milliseconds) override {
        waits.push_back(milliseconds);
        if (during) {
            during();
        }
    }
    std::vector<int> waits;
    std::function<void()> during;
};

class FakeHelpViewer : public HelpViewer {
  public:
    void DisplayTopic(const std::string &file) override { topics.push_back(file); }
    std::vector<std::string> topics;
};

class FrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_workDir.isValid());
        ASSERT_TRUE(m_stateDir.isValid());
        qputenv("XDG_STATE_HOME", QFile::encodeName(m_stateDir.path()));
        m_previousDir = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_workDir.path()));
        ASSERT_TRUE(QDir().mkpath(QStringLiteral("Config")));
        WriteSettingsFile(
            "<Scrivo>\n    <ColorScheme>32798</ColorScheme>\n    "
            "<KeyClick>1</KeyClick>\n</Scrivo>\n");
    }

    void TearDown() override {
        m_frame.reset();
        QDir::setCurrent(m_previousDir);
    }

    // Where a fixture replaces fakes before the frame is built. Processes are not faked: the
    // frame is given none unless a fixture puts a real starter in here.
    virtual void ConfigureServices(FrameServices &) {}

    static std::string SettingsPath() { return "Config/Scrivo_Config.xml"; }
    // Where the frame keeps the texts it was not given to save.
    std::string RecoveryFolder() const {
        return QFile::encodeName(m_stateDir.path()).toStdString() + "/scrivo/recovered";
    }

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

    // Builds and shows the frame on first use; write the settings file before calling it.
    CMainFrame &Frame() {
        if (!m_frame) {
            FrameServices services{.sound = &m_sound,
                                   .fileDialogs = &m_fileDialogs,
                                   .fileErrors = &m_fileErrors,
                                   .printDialog = &m_printDialog,
                                   .informationBox = &m_informationBox,
                                   .splashWait = &m_splashWait,
                                   .helpViewer = &m_helpViewer,
                                   .dialogs = &m_dialogs};
            ConfigureServices(services);
            m_frame = std::make_unique<CMainFrame>(services);
            m_frame->CreateFrame();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(m_frame.get()));
        }
        return *m_frame;
    }

    CScrivoRichEditCtrl &Editor() { return Frame().Editor(); }

    std::string Text() { return std::string(Editor().RangeText(0, Editor().TextLength())); }

    // Files are named relative to the working directory.
    static std::string AbsolutePath(const std::string &name) {
        return QDir::current().absoluteFilePath(QString::fromStdString(name)).toStdString();
    }

    static void WriteFile(const std::string &name, const std::string &bytes) {
        QFile file(QString::fromStdString(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    static std::string ReadFile(const std::string &name) {
        QFile file(QString::fromStdString(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString()
                                              : std::string("<unreadable>");
    }

    // Drags the files onto `target` and drops them there, as a file manager does.
    static void Drop(QWidget *target, const QStringList &files) {
        QList<QUrl> urls;
        for (const QString &file : files) {
            urls.append(QUrl::fromLocalFile(file));
        }
        DropUrls(target, urls);
    }

    static void DropUrls(QWidget *target, const QList<QUrl> &urls) {
        QMimeData mime;
        mime.setUrls(urls);
        const QPoint centre = target->rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        ASSERT_TRUE(enter.isAccepted()) << "a file drag must be accepted";
        QDropEvent drop(QPointF(centre), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
    }

    // Ends the frame as the program does at exit.
    void DestroyFrame() { m_frame.reset(); }

    // Puts text in the control as a load would: every character in the text colour.
    void SetText(const char *text) {
        Editor().setText(QString::fromUtf8(text));
        Editor().ApplyStyles(0, std::string(static_cast<std::size_t>(Editor().TextLength()), '\0'));
    }

    // Puts the text in the control coloured by the scheme, as a load leaves it.
    void LoadText(const std::string &text) {
        Editor().setText(QString::fromStdString(text));
        Frame().RecolorDocument();
    }

    // One letter per position: the slot of each character, '.' text, 'k' keyword, 'o' operator,
    // 'd' directive, 's' string, 'c' comment.
    std::string Slots(int start, int end) {
        std::string result;
        for (int position = start; position < end; ++position) {
            const int style = Editor().StyleAt(position);
            result += (style >= 0 && style < kColorSlotCount) ? ".kodsc"[style] : '?';
        }
        return result;
    }
    std::string AllSlots() { return Slots(0, Editor().TextLength()); }

    FakeSound m_sound;
    FakeDialogRunner m_dialogs;
    FakeFileDialogs m_fileDialogs;
    FakeFileErrorBox m_fileErrors;
    FakePrintDialog m_printDialog;
    FakeInformationBox m_informationBox;
    FakeSplashWait m_splashWait;
    FakeHelpViewer m_helpViewer;

  private:
    QTemporaryDir m_workDir;
    QTemporaryDir m_stateDir;
    QString m_previousDir;
    std::unique_ptr<CMainFrame> m_frame;
};

}  // namespace scrivo::testing
