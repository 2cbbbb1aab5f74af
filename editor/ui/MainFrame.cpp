#include "MainFrame.h"

#include <QAction>
#include <QEvent>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>
#include <vector>

#include "CommandTable.h"
#include "QtText.h"
#include "TextFormats.h"

namespace {

constexpr int kPositionPaneWidth = 400;

QIcon IconFor(const scrivo::ToolbarIcon &icon) {
    return QIcon::fromTheme(ToQString(icon.themeName), QIcon(ToQString(icon.bundled)));
}

QString MenuText(const scrivo::Command &command) {
    QString text = ToQString(command.caption);
    if (!command.menu.empty() && !command.keys[0].empty()) {
        text += QLatin1Char('\t') + ToQString(command.keys[0]);
    }
    return text;
}

}  // namespace

// Status pane 1: the caret position at the left and, after the tab, the line count centred.
class StatusPositionPane : public QWidget {
  public:
    explicit StatusPositionPane(QWidget *parent) : QWidget(parent) {
        setFixedWidth(kPositionPaneWidth);
    }

    void SetText(const QString &text) {
        m_text = text;
        update();
    }
    const QString &Text() const { return m_text; }

    QSize sizeHint() const override { return {kPositionPaneWidth, fontMetrics().height() + 4}; }

  protected:
    void paintEvent(QPaintEvent *) override {
        const std::string utf8 = m_text.toStdString();
        const scrivo::StatusLineParts parts = scrivo::SplitStatusLine(utf8);
        QPainter painter(this);
        const QRect area = rect().adjusted(2, 0, -2, 0);
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, ToQString(parts.left));
        painter.drawText(area, Qt::AlignHCenter | Qt::AlignVCenter, ToQString(parts.centred));
    }

  private:
    QString m_text;
};

CMainFrame::CMainFrame(scrivo::FrameServices services)
    : m_colors(scrivo::FindColorScheme(scrivo::kFallbackSchemeId)->colors),
      m_wordTables(scrivo::WordTables::Standard()),
      m_scanner(m_wordTables),
      m_services(services),
      m_editor(std::make_unique<CScrivoRichEditCtrl>(*services.sound)) {
    const scrivo::EditorSettings settings = m_settings.Read();
    m_colorSchemeId = settings.colorSchemeId;
    ApplyColorScheme(m_colorSchemeId);
    m_keyClick = settings.keyClick;
    RegisterCommandHandlers();
}

CMainFrame::~CMainFrame() {
    m_settings.Write({m_colorSchemeId, m_keyClick});
    delete m_toolBar;
    delete m_statusBar;
    m_editor.reset();
}

void CMainFrame::CreateFrame() {
    ShowSplashWhileCreating();
    setCentralWidget(m_editor.get());
    BuildMenusAndActions();
    BuildToolBar();
    BuildStatusBar();

    m_editor->SetDefaultFormat(m_colors);
    m_editor->SetKeyObserver([this](int key) { KeyUp(key); });
    connect(m_editor.get(), &CScrivoRichEditCtrl::PositionChanged, this,
            &CMainFrame::UpdateStatusLine);
    m_editor->SetNotificationsEnabled(true);
    WatchForUnsavedText();
    m_editor->SetKeyClick(m_keyClick);
    AcceptDroppedFiles();
    UpdateTitle();
    showMaximized();
    ActionFor(scrivo::command::kOptionsKeyClick)->setChecked(m_keyClick);
}

void CMainFrame::OnCommand(int id, CommandHandler handler) {
    // A second handler for one identifier would make the first silently unreachable.
    const bool added = m_handlers.try_emplace(id, std::move(handler)).second;
    if (!added) {
        qCritical("command %d has two handlers; the second is ignored", id);
    }
    Q_ASSERT_X(added, "CMainFrame::OnCommand", "a command identifier is registered twice");
}

void CMainFrame::RegisterCommandHandlers() {
    using namespace scrivo::command;
    OnCommand(kFileExit, [this] { close(); });
    OnCommand(kViewToolbar, [this] { OnViewToolbar(); });
    OnCommand(kViewStatusBar, [this] { OnViewStatusBar(); });
    OnCommand(kOptionsKeyClick, [this] { OnKeyClickSound(); });
    RegisterSearchCommands();
    RegisterEditCommands();
    RegisterPrintAndHelpCommands();
    RegisterDocumentCommands();
    RegisterRunCommand();
    for (const scrivo::ColorScheme &scheme : scrivo::ColorSchemes()) {
        OnCommand(scheme.id, [this, id = scheme.id] { OnColorScheme(id); });
    }
}

void CMainFrame::Dispatch(int id) {
    const auto handler = m_handlers.find(id);
    if (handler != m_handlers.end()) {
        handler->second();
    }
}

void CMainFrame::ExecuteCommand(int id) {
    if (QAction *action = ActionFor(id)) {
        action->trigger();
    } else {
        Dispatch(id);
    }
}

QAction *CMainFrame::ActionFor(int id) const {
    const auto action = m_actions.find(id);
    return action == m_actions.end() ? nullptr : action->second;
}

void CMainFrame::BuildMenusAndActions() {
    std::vector<std::pair<std::string_view, QMenu *>> menus;
    auto menuNamed = [&menus](std::string_view caption, auto &&create) {
        for (const auto &[name, menu] : menus) {
            if (name == caption) {
                return menu;
            }
        }
        QMenu *menu = create(ToQString(caption));
        menus.emplace_back(caption, menu);
        return menu;
    };

    QList<QKeySequence> allShortcuts;
    for (const scrivo::Command &command : scrivo::CommandTable()) {
        auto *action = new QAction(MenuText(command), this);
        QList<QKeySequence> shortcuts;
        for (std::string_view key : command.keys) {
            if (!key.empty()) {
                shortcuts.append(
                    QKeySequence::fromString(ToQString(key), QKeySequence::PortableText));
            }
        }
        action->setShortcuts(shortcuts);
        allShortcuts.append(shortcuts);
        action->setCheckable(command.checkable);
        action->setToolTip(ToQString(command.tooltip));
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { Dispatch(id); });
        connect(action, &QAction::hovered, this, [this, id] { ShowPrompt(id); });
        m_actions[id] = action;

        if (command.menu.empty()) {
            addAction(action);
            continue;
        }
        QMenu *menu = menuNamed(command.menu, [this](const QString &caption) {
            QMenu *top = menuBar()->addMenu(caption);
            connect(top, &QMenu::aboutToHide, this,
                    [this] { SetMessageText(QStringLiteral("Ready")); });
            return top;
        });
        if (!command.submenu.empty()) {
            menu = menuNamed(command.submenu,
                             [menu](const QString &caption) { return menu->addMenu(caption); });
        }
        menu->addAction(action);
        if (command.separatorAfter) {
            menu->addSeparator();
        }
    }
    m_editor->SetReservedShortcuts(allShortcuts);
}

void CMainFrame::BuildToolBar() {
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(16, 15));
    for (int slot = 0; slot < scrivo::kToolbarSlotCount; ++slot) {
        if (slot == scrivo::kToolbarSeparatorBeforeSlot) {
            m_toolBar->addSeparator();
        }
        for (const scrivo::Command &command : scrivo::CommandTable()) {
            if (command.toolbarSlot == slot) {
                QAction *action = ActionFor(command.id);
                action->setIcon(IconFor(command.icon));
                m_toolBar->addAction(action);
            }
        }
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    m_toolBar->installEventFilter(this);
    ActionFor(scrivo::command::kViewToolbar)->setChecked(true);
}

void CMainFrame::BuildStatusBar() {
    m_statusBar = new QStatusBar(this);
    m_messagePane = new QLabel(QStringLiteral("Ready"), m_statusBar);
    m_positionPane = new StatusPositionPane(m_statusBar);
    m_statusBar->addWidget(m_messagePane, 1);
    m_statusBar->addWidget(m_positionPane, 0);
    setStatusBar(m_statusBar);
    ActionFor(scrivo::command::kViewStatusBar)->setChecked(true);
}

bool CMainFrame::event(QEvent *event) {
    // Prompts come from the actions' hovered signals; Qt's own status tips would cover pane 1.
    if (event->type() == QEvent::StatusTip) {
        return true;
    }
    return QMainWindow::event(event);
}

bool CMainFrame::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_toolBar && event->type() == QEvent::Leave) {
        SetMessageText(QStringLiteral("Ready"));
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::ShowPrompt(int id) {
    const scrivo::Command *command = scrivo::FindCommand(id);
    SetMessageText(command ? ToQString(command->prompt) : QString());
}

void CMainFrame::SetMessageText(const QString &text) {
    if (m_messagePane) {
        m_messagePane->setText(text);
    }
}

QString CMainFrame::StatusPaneText(int pane) const {
    if (pane == 0 && m_messagePane) {
        return m_messagePane->text();
    }
    if (pane == 1 && m_positionPane) {
        return m_positionPane->Text();
    }
    return {};
}

void CMainFrame::UpdateTitle() {
    setWindowTitle(ToQString(scrivo::TitleText(m_currentPath)));
}

void CMainFrame::UpdateStatusLine() {
    const int selectionStart = m_editor->SelectionStart();
    const int lineIndex = m_editor->LineFromPosition(selectionStart);
    scrivo::CaretPosition position{
        lineIndex + 1,
        m_editor->CountCharacters(m_editor->LineIndex(lineIndex), selectionStart) + 1,
        m_editor->LineCount()};
    if (m_loading) {
        position.line = 1;
        position.column = 1;
    }
    if (m_positionPane) {
        m_positionPane->SetText(ToQString(scrivo::StatusLineText(position)));
    }
}

void CMainFrame::KeyUp(int key) {
    if (key == CScrivoRichEditCtrl::kKeySpace || key == CScrivoRichEditCtrl::kKeyReturn) {
        ColorizeCurrentLine();
    }
}

void CMainFrame::ApplyColorScheme(int schemeId) {
    if (const scrivo::ColorScheme *scheme = scrivo::FindColorScheme(schemeId)) {
        m_colors = scheme->colors;
    }
    m_editor->SetGutterColors(m_colors.background, m_colors.keyword);
    m_editor->UpdateGutterBrush();
}

void CMainFrame::OnColorScheme(int schemeId) {
    m_colorSchemeId = schemeId;
    ApplyColorScheme(schemeId);
    RecolorDocument();
}

void CMainFrame::OnKeyClickSound() {
    // The menu has already flipped its own check mark; the flag is inverted on its own.
    m_keyClick = !m_keyClick;
    m_editor->SetKeyClick(m_keyClick);
}

void CMainFrame::OnViewToolbar() {
    m_toolBar->setHidden(!m_toolBar->isHidden());
    ActionFor(scrivo::command::kViewToolbar)->setChecked(!m_toolBar->isHidden());
}

void CMainFrame::OnViewStatusBar() {
    m_statusBar->setHidden(!m_statusBar->isHidden());
    ActionFor(scrivo::command::kViewStatusBar)->setChecked(!m_statusBar->isHidden());
}
