// The editor's main window. It owns every piece of editor state for the whole run: the text
// control, toolbar, status bar, settings, colour scheme, word tables and current path. Commands of
// the menus, shortcuts and toolbar arrive here by identifier and go through one table of handlers;
// each family of commands registers its handlers from its own source file.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "ColorSchemes.h"
#include "FindReplaceDialog.h"
#include "FrameServices.h"
#include "RecoveryFolder.h"
#include "Scanner.h"
#include "ScrivoRichEditCtrl.h"
#include "SettingsFile.h"
#include "Splash.h"

class QAction;
class QLabel;
class QPainter;
class QPrinter;
class QStatusBar;
class QToolBar;
class StatusPositionPane;

class CMainFrame : public QMainWindow {
    Q_OBJECT

  public:
    // Reads the settings and applies the scheme; no window is created yet.
    explicit CMainFrame(scrivo::FrameServices services);
    // Writes the settings file first, then tears the members down.
    ~CMainFrame() override;

    // Creates the window's parts and shows it maximised.
    void CreateFrame();

    // Colours [start, end) from the scanner's runs; an end past the text means the end of it.
    void ColorizeRange(int start, int end);
    // Recolours the line holding the selection start, keeping selection and view.
    void ColorizeCurrentLine();
    // Recolours the whole text, keeping selection and view.
    void RecolorDocument();
    // Takes the colours of the scheme with this identifier (none change for an unknown one) and
    // hands the gutter its colours.
    void ApplyColorScheme(int schemeId);
    void UpdateTitle();
    void UpdateStatusLine();

    // Makes the file at path the current file: its text replaces the control's, coloured, with the
    // caret at the start. A file that cannot be read is reported and changes nothing. The text it
    // replaces is kept first (KeepUnsavedText).
    void LoadDocument(const std::string &path);
    // Replaces the whole text with the file's bytes, line breaks made the control's. False (and
    // reported) when the file cannot be read; the text is then untouched.
    bool ReadTextFile(const std::string &path);
    // Writes the whole text with CR LF line breaks, through a link to the file it names. The old
    // file is replaced only once everything is written; where its folder takes no temporary file
    // it is written in place, but only into space reserved first. False and reported when that
    // fails, with the old content still in the file. Once written, the text's recovery copy goes.
    bool WriteTextFile(const std::string &path);

    // Before the text goes (New, Load, a drop, closing): a text that differs from its file, or an
    // untitled one that is not empty, is written to the recovery folder as Save would write it.
    // False when that failed and the learner has just been told; the same request again, with the
    // text unchanged, lets the text go.
    bool KeepUnsavedText();
    // A termination signal: the unsaved text is kept without a question, then the program ends.
    void EndOnSignal(int signal);

    // Runs a command as if its menu item, shortcut or button had been used.
    void ExecuteCommand(int id);
    // The control reports every key here before it processes it.
    void KeyUp(int key);

    CScrivoRichEditCtrl &Editor() { return *m_editor; }
    QAction *ActionFor(int id) const;
    QToolBar *ToolBar() const { return m_toolBar; }
    QString StatusPaneText(int pane) const;
    // Status pane 0: "Ready", or the word of a running operation.
    void SetMessageText(const QString &text);

    int ColorSchemeId() const { return m_colorSchemeId; }
    const scrivo::SchemeColors &Colors() const { return m_colors; }
    bool KeyClickOn() const { return m_keyClick; }
    const std::string &CurrentPath() const { return m_currentPath; }
    const SPLASH &Splash() const { return m_splash; }

    // The open find/replace dialog, or null; and where its next search starts.
    FindReplaceDialog *FindReplaceWindow() const { return m_findReplaceDialog; }
    int SearchPosition() const { return m_searchPosition; }

  protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    using CommandHandler = std::function<void()>;

    // One registration per command; a second one for the same identifier replaces the first.
    void OnCommand(int id, CommandHandler handler);
    void RegisterCommandHandlers();
    void Dispatch(int id);
    void BuildMenusAndActions();
    void BuildToolBar();
    void BuildStatusBar();
    void ShowPrompt(int id);

    void OnKeyClickSound();
    void OnColorScheme(int schemeId);
    void OnViewToolbar();
    void OnViewStatusBar();

    void RegisterDocumentCommands();
    // Files dropped on the frame or on the text area load the first of them.
    void AcceptDroppedFiles();
    void OnFileNew();
    void OnFileLoad();
    void OnFileSave();
    void OnFileSaveAs();
    void ShowFileError(const char *action, const std::string &path, const std::string &reason);
    // The bytes Save writes for the whole text.
    std::string TextAsFileBytes() const;

    void WatchForUnsavedText();
    // Counts an edit and schedules a copy; Replace, whose edits the control does not announce,
    // calls it itself.
    void NoteTextChanged();
    bool TextDiffersFromItsFile() const;
    // Brings the recovery folder up to date with the text: a copy while it differs, none once it
    // no longer does.
    scrivo::FileResult UpdateRecoveryCopy();
    void WritePeriodicCopy();
    // The text is now in its file: its copy goes.
    void TextSaved();
    // Another text took its place: its copy stays as the recovered text.
    void TextReplaced();

    void RegisterRunCommand();
    void OnRunStart();

    void RegisterPrintAndHelpCommands();
    // Prints the whole text or the selection, black on white, then puts the scheme's colours back.
    void OnFilePrint();
    // Pages of [start, end) until the control places no more text; no empty last page.
    void PrintPages(QPainter &painter, QPrinter &printer, int start, int end);
    // Printing that could not begin says so, instead of ending as if it had printed.
    void ReportPrintingNotStarted(const QPrinter &printer);
    // Shows the picture for two seconds over the area the frame will take, before its contents
    // exist.
    void ShowSplashWhileCreating();
    void OnHelpAbout();
    void OnHelpContents();

    void RegisterSearchCommands();
    void OnFindReplace(FindReplaceDialog::Form form);
    // Examines the dialog's report in the order closing, find next, replace, replace all.
    void OnFindReplaceRequest(const scrivo::FindReplaceRequest &request);
    void FindNext(const scrivo::FindReplaceRequest &request);
    void ReplaceNext(const scrivo::FindReplaceRequest &request);
    void ReplaceAll(const scrivo::FindReplaceRequest &request);
    void FocusAndRepaintEditor();
    void OnGoToLine();

    void RegisterEditCommands();
    void OnEditPaste();
    void OnContextMenu(QPoint globalPos);

    // The first member: made before every other part and destroyed after all of them, so the
    // picture can stand while the frame builds its parts, and the teardown runs in the order the
    // design gives (toolbar, status bar, control, settings, tables, splash last).
    SPLASH m_splash;
    bool m_loading = false;
    scrivo::SchemeColors m_colors;
    scrivo::WordTables m_wordTables;
    // Built from m_wordTables, so declared after them.
    scrivo::Scanner m_scanner;
    int m_colorSchemeId = scrivo::kFallbackSchemeId;
    scrivo::SettingsFile m_settings;
    bool m_keyClick = true;
    scrivo::FrameServices m_services;
    std::unique_ptr<CScrivoRichEditCtrl> m_editor;
    QStatusBar *m_statusBar = nullptr;
    QToolBar *m_toolBar = nullptr;
    std::string m_currentPath;

    QLabel *m_messagePane = nullptr;
    StatusPositionPane *m_positionPane = nullptr;
    std::unordered_map<int, CommandHandler> m_handlers;
    std::unordered_map<int, QAction *> m_actions;
    QPointer<FindReplaceDialog> m_findReplaceDialog;
    int m_searchPosition = 0;

    // The folder this run last saved a file into.
    std::string m_lastSavedFolder;
    scrivo::RecoveryFolder m_recovery{scrivo::UserRecoveryFolder()};
    // The copy of the current text in the recovery folder; empty until one is written.
    std::string m_recoveryName;
    // Edits counted since start, and their number when the text last matched its file (load, New,
    // save) and when the copy was last brought up to date.
    unsigned long m_textChanges = 0;
    unsigned long m_changesAtClean = 0;
    unsigned long m_changesAtCopy = 0;
    // The edit count at which keeping the text failed and the learner was told.
    std::optional<unsigned long> m_keepRefusedAt;
    QTimer m_copyTimer;
    // How long the last periodic copy took.
    qint64 m_lastCopyMs = 0;
};
