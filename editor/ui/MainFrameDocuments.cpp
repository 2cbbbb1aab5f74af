// Documents: New, Load, a dropped file, Save and Save As, and how a file's bytes become the text.
// The current path is the only link between the text and a file; there is no modified flag and no
// prompt to save. A load or save that fails is reported and leaves text, path and file as they
// were.
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <string_view>

#include "CommandTable.h"
#include "FileStore.h"
#include "LocalFileNames.h"
#include "MainFrame.h"
#include "SaveAsFolder.h"
#include "TextFileFormat.h"

namespace {

// What the control takes at the peak of being given a text, on top of the text itself: about
// three bytes per byte (its bytes, their styles, the insertion's undo record) and sixteen per line
// (the line starts), measured on 100 MB of lines of 3, 29 and 44 bytes.
constexpr std::size_t kControlBytesPerByte = 3;
constexpr std::size_t kControlBytesPerLine = 16;

// Beside the executable, whatever the working directory; worked out anew every time.
std::string ExamplesFolder() {
    return QFile::encodeName(QCoreApplication::applicationDirPath() + QStringLiteral("/Examples"))
        .toStdString();
}

// Load and Save As offer C files first, then all files, with "c" added to a name without a suffix.
scrivo::FileDialogRequest SourceFileRequest(scrivo::FileDialogRequest::Mode mode) {
    scrivo::FileDialogRequest request;
    request.mode = mode;
    request.initialName = "*.c";
    request.defaultSuffix = 'c';
    request.nameFilters = {"c Files (*.c)", "All Files (*)"};
    return request;
}

// Whether the file at `path` holds exactly what reads as `text`.
bool FileHoldsText(const std::string &path, std::string_view text) {
    std::string bytes;
    return scrivo::ReadRegularFile(path, bytes).Ok() && scrivo::ReadsAs(bytes, text);
}

// Why text that came from a file of another format is not saved over it, and what to do instead.
std::string ForeignFileReason(scrivo::ForeignText foreign) {
    const char *const what = foreign == scrivo::ForeignText::Utf16   ? "It is UTF-16 text"
                             : foreign == scrivo::ForeignText::Utf32 ? "It is UTF-32 text"
                                                                     : "It holds binary data";
    return std::string(what) +
           ", which Scrivo shows one byte at a time; saving your changes over it would damage "
           "it. Use Save As to keep your text in a new file.";
}

// The system's bytes of the local file named first by a drag, or "" when it names none.
std::string FirstDroppedFile(const QMimeData *mime) {
    if (mime == nullptr || !mime->hasUrls() || mime->urls().isEmpty()) {
        return {};
    }
    return scrivo::LocalFileBytes(mime->urls().constFirst());
}

// Takes file drags on the frame and on the text area, where the control would otherwise insert the
// file names as text. Other drags (text moved inside the control) pass on untouched.
class DropFilter : public QObject {
  public:
    DropFilter(QObject *parent, std::function<void(const std::string &)> load)
        : QObject(parent), m_load(std::move(load)) {}

  protected:
    bool eventFilter(QObject *, QEvent *event) override {
        switch (event->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove: {
                auto *drag = static_cast<QDragMoveEvent *>(event);
                if (FirstDroppedFile(drag->mimeData()).empty()) {
                    return false;
                }
                drag->acceptProposedAction();
                return true;
            }
            case QEvent::Drop: {
                auto *drop = static_cast<QDropEvent *>(event);
                const std::string path = FirstDroppedFile(drop->mimeData());
                if (path.empty()) {
                    return false;
                }
                drop->acceptProposedAction();
                m_load(path);
                return true;
            }
            default:
                return false;
        }
    }

  private:
    std::function<void(const std::string &)> m_load;
};

}  // namespace

void CMainFrame::RegisterDocumentCommands() {
    using namespace scrivo::command;
    OnCommand(kFileNew, [this] { OnFileNew(); });
    OnCommand(kFileLoad, [this] { OnFileLoad(); });
    OnCommand(kFileSave, [this] { OnFileSave(); });
    OnCommand(kFileSaveAs, [this] { OnFileSaveAs(); });
}

void CMainFrame::AcceptDroppedFiles() {
    auto *filter = new DropFilter(this, [this](const std::string &path) { LoadDocument(path); });
    setAcceptDrops(true);
    installEventFilter(filter);
    m_editor->viewport()->installEventFilter(filter);
}

void CMainFrame::OnFileNew() {
    if (!KeepUnsavedText()) {
        return;
    }
    m_editor->setText(QString());
    m_currentPath.clear();
    TextReplaced();
    UpdateTitle();
}

void CMainFrame::OnFileLoad() {
    scrivo::FileDialogRequest request = SourceFileRequest(scrivo::FileDialogRequest::Mode::Open);
    request.title = "Load";
    request.initialFolder = ExamplesFolder();
    request.sideBarFolders = {m_recovery.Folder()};
    if (const std::optional<std::string> path = m_services.fileDialogs->ChooseFile(request)) {
        LoadDocument(*path);
    }
}

void CMainFrame::OnFileSave() {
    // A UTF-16, UTF-32 or binary file saved as one-byte text would get CR bytes inside its
    // characters. Unchanged, it already holds the text; changed, it is left as it is.
    if (m_currentPath.empty()) {
        OnFileSaveAs();
    } else if (const std::string_view text = m_editor->RangeText(0, m_editor->TextLength());
               scrivo::ForeignTextIn(text) == scrivo::ForeignText::None) {
        WriteTextFile(m_currentPath);
    } else if (!FileHoldsText(m_currentPath, text)) {
        ShowFileError("write", m_currentPath, ForeignFileReason(scrivo::ForeignTextIn(text)));
    }
    ColorizeCurrentLine();
}

void CMainFrame::OnFileSaveAs() {
    scrivo::FileDialogRequest request = SourceFileRequest(scrivo::FileDialogRequest::Mode::Save);
    request.initialFolder = scrivo::SaveAsFolder(
        {.currentPath = m_currentPath,
         .lastSavedFolder = m_lastSavedFolder,
         .workingDirectory = QFile::encodeName(QDir::currentPath()).toStdString(),
         .examplesFolder = ExamplesFolder(),
         .homeFolder = QFile::encodeName(QDir::homePath()).toStdString()});
    const std::optional<std::string> path = m_services.fileDialogs->ChooseFile(request);
    if (!path) {
        return;
    }
    const std::string previousPath = m_currentPath;
    m_currentPath = *path;
    UpdateTitle();
    if (!WriteTextFile(m_currentPath)) {
        // The text is in no file under that name; the title must not say otherwise.
        m_currentPath = previousPath;
        UpdateTitle();
    }
    ColorizeCurrentLine();
}

void CMainFrame::LoadDocument(const std::string &path) {
    if (!KeepUnsavedText()) {
        return;
    }
    // Kept until the new text is coloured. The control and the colouring can need many times a
    // large text's size, more than the machine has left; the text being edited then comes back
    // instead of being lost.
    std::string previousText;
    try {
        previousText = m_editor->RangeText(0, m_editor->TextLength());
    } catch (const std::bad_alloc &) {
        ShowFileError("read", path, scrivo::kNotEnoughMemory);
        return;
    }
    // Kept so that a failed load can give them back: otherwise the next Save would write the old
    // text over the file that could not be read.
    const std::string previousPath = m_currentPath;
    m_currentPath = path;
    m_loading = true;
    SetMessageText(QStringLiteral("Loading"));
    UpdateTitle();
    // A colouring that cannot get its memory reports false; it keeps nothing that needs freeing.
    auto colourWholeText = [this] {
        try {
            ColorizeRange(0, m_editor->TextLengthCountingBreaksTwice());
            return true;
        } catch (const std::bad_alloc &) {
            return false;
        }
    };
    bool read = false;
    {
        const CScrivoRichEditCtrl::ChangeGuard guard(*m_editor, {.suspendRedraw = true});
        bool replaced = false;
        try {
            replaced = read = ReadTextFile(path);
        } catch (const std::bad_alloc &) {
            replaced = true;  // the control ran short in spite of the room asked for
        }
        if (read) {
            UpdateStatusLine();
            read = colourWholeText();
        }
        if (replaced && !read) {
            m_editor->SetTextBytes(previousText);
            // It was coloured before with no more memory than is free now; else it stays plain.
            colourWholeText();
            ShowFileError("read", path, scrivo::kNotEnoughMemory);
        }
        if (!read) {
            m_currentPath = previousPath;
            UpdateTitle();
        }
    }
    if (read) {
        TextReplaced();
        m_editor->SetSelectionRange(0, 0);
        m_editor->setFocus();
        // Painted at once, not scheduled: a large file should appear as soon as it is read.
        m_editor->viewport()->repaint();
    }
    SetMessageText(QStringLiteral("Ready"));
    m_loading = false;
}

bool CMainFrame::ReadTextFile(const std::string &path) {
    std::string bytes;
    if (const scrivo::FileResult read = scrivo::ReadRegularFile(path, bytes); !read.Ok()) {
        ShowFileError("read", path, read.failure);
        return false;
    }
    const std::string text = scrivo::FileBytesToText(std::move(bytes));
    // The control does not survive running out of memory in the middle of an insertion: the room
    // is asked for first, while the old text is still whole.
    const auto lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    const std::size_t room = kControlBytesPerByte * text.size() + kControlBytesPerLine * lines;
    if (!std::unique_ptr<char[]>(new (std::nothrow) char[room + 1])) {
        ShowFileError("read", path, scrivo::kNotEnoughMemory);
        return false;
    }
    m_editor->SetTextBytes(text);
    return true;
}

std::string CMainFrame::TextAsFileBytes() const {
    return scrivo::TextToFileBytes(m_editor->RangeText(0, m_editor->TextLength()));
}

bool CMainFrame::WriteTextFile(const std::string &path) {
    const scrivo::FileResult written = scrivo::ReplaceFileContents(path, TextAsFileBytes());
    if (!written.Ok()) {
        ShowFileError("write", path, written.failure);
        return false;
    }
    m_lastSavedFolder = std::filesystem::path(path).parent_path().string();
    TextSaved();
    return true;
}

void CMainFrame::ShowFileError(const char *action, const std::string &path,
                               const std::string &reason) {
    m_services.fileErrors->ShowFileError("Cannot " + std::string(action) + " the file \"" + path +
                                         "\":\n" + reason);
}
