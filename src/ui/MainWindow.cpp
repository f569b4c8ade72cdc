// The editor's main window.
#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "Version.h"
#include "commands/EditPane.h"
#include "commands/FunctionTable.h"
#include "commands/MenuTable.h"
#include "commands/NotYetBuilt.h"
#include "platform/Environment.h"
#include "platform/Files.h"
#include "settings/Options.h"
#include "ui/ElidedLabel.h"
#include "ui/KeyForwarding.h"
#include "ui/Windows1252.h"

namespace vexa::ui {
namespace {

constexpr int kStatusTickMs = 500;
constexpr int kIdleTickMs = 1000;

// Messages, titles and file names: UTF-8 when they are valid UTF-8 (file names, find texts),
// otherwise the Windows-1252 characters of their bytes.
QString qText(std::string_view text) {
    return fromExternalText(text);
}

// The widest text each indicator pane shows: a pane is as wide as that (and hidden while it shows
// nothing), and the message pane takes the rest of the bar.
constexpr std::array<const char*, kStatusPaneCount> kPaneSamples{
    "", "CHG", " RO", " WRAP", "REC", "OVR ", "UTF-8 LF+CRLF", " L:00000 C:0000", "NUM", "CAPS", "SCRL", " 00:00 PM"};

QStyle::StandardPixmap pixmapOf(ToolBarIcon icon) {
    switch (icon) {
    case ToolBarIcon::NewFile:
        return QStyle::SP_FileIcon;
    case ToolBarIcon::OpenFile:
        return QStyle::SP_DialogOpenButton;
    case ToolBarIcon::SaveFile:
        return QStyle::SP_DialogSaveButton;
    case ToolBarIcon::Back:
        return QStyle::SP_ArrowBack;
    case ToolBarIcon::Forward:
        return QStyle::SP_ArrowForward;
    case ToolBarIcon::None:
        break;
    }
    return QStyle::SP_CustomBase;
}

} // namespace

MainWindow::MainWindow(Options& options, QWidget* parent)
    : QMainWindow(parent), m_options(options),
      m_frame(std::make_unique<QtFrame>(
          *this, options, m_sound, m_editor, *this,
          FrameWindowParts{
              [this](WindowArrangement arrangement) { m_area->arrangeWindows(arrangement); },
              [this](FrameBar bar, bool visible) { showBar(bar, visible); },
              [this](QPagedPaintDevice& device, bool markedOnly) { return m_area->printActive(device, markedOnly); },
              [this](const QFont& font) { m_area->applyFontChoice(font); }, [this] { refreshMenuKeyTexts(); },
              [this] { m_area->syncActivePane(); }, [this] { return m_area->activePane(); }})),
      m_area(std::make_unique<DocumentArea>(
          *this, options, m_keyState, m_primary, m_editor, *m_frame,
          DocumentAreaParts{[this] { refreshRecentFiles(); }, [this] { return m_contextMenu; }})) {
    setWindowTitle(QString::fromLatin1(versionText()));
    setCentralWidget(m_area->documentArea());
    setAcceptDrops(true);
    resize(1000, 700);
    buildStatusBar();

    m_editor = std::make_unique<Editor>(
        EditorPorts{*m_frame, *m_area, options, m_clock, m_clipboard, m_sound, m_searchKeys, *m_area, m_launcher,
                    std::string(platform::directoryPart(platform::programPath().value_or(""))),
                    [this](int key) { return m_keyState.isToggled(static_cast<uint16_t>(key)); }, true});

    buildMenus();
    buildToolBar();
    statusLine().setObserver(this);
    statusLine().refreshKeyStates();

    m_statusTimer = new QTimer(this);
    connect(m_statusTimer, &QTimer::timeout, this, [this] { statusLine().tick(); });
    m_statusTimer->start(kStatusTickMs);
    m_idleTimer = new QTimer(this);
    connect(m_idleTimer, &QTimer::timeout, this, [this] { workspace().idleBackup(); });
    m_idleTimer->start(kIdleTickMs);
}

MainWindow::~MainWindow() {
    statusLine().setObserver(nullptr);
    // The document windows and dialogs use the editor's services: they go while those still live,
    // and without the window's handlers, which would see a window half taken down.
    disconnect(m_area->documentArea(), nullptr, m_area.get(), nullptr);
    m_frame->closeSearchDialog();
    m_area->deleteWindows();
    m_editor.reset();
}

// ---- building ----

QAction* MainWindow::addCommandAction(QMenu& menu, const QString& text, uint32_t commandId) {
    QAction* action = menu.addAction(text);
    action->setData(commandId);
    action->setEnabled(!isNotYetBuilt(static_cast<FunctionId>(commandId)));
    connect(action, &QAction::triggered, this, [this, commandId] { runCommand(commandId); });
    return action;
}

void MainWindow::buildMenus() {
    m_menuTexts = menuBarTexts(mainMenuBar());
    const auto menus = mainMenuBar();
    menuBar()->installEventFilter(this);
    for (std::size_t m = 0; m < menus.size(); ++m) {
        QMenu* menu = menuBar()->addMenu(qText(menus[m].title));
        connect(menu, &QMenu::hovered, this, &MainWindow::showHint);
        connect(menu, &QMenu::aboutToHide, this,
                [this] { statusLine().showMessage("", MessageTimeout::Keep, MessageBeep::No); });
        for (const MenuItemText& item : m_menuTexts[m]) {
            if (item.commandId == 0) {
                menu->addSeparator();
                continue;
            }
            m_actions[item.commandId] = addCommandAction(*menu, qText(item.text), item.commandId);
        }
        if (m == 0) {
            m_fileMenu = menu;
        }
        if (menus[m].title == "&Tools") {
            m_toolsMenu = menu;
        }
        if (menus[m].title == "&Macros") {
            m_macrosMenu = menu;
            m_macrosMenuIndex = m;
        }
        if (menus[m].title == "&Window") {
            m_windowMenu = menu;
            connect(menu, &QMenu::aboutToShow, this, &MainWindow::refreshWindowList);
        }
    }
    m_contextMenu = new QMenu(this);
    connect(m_contextMenu, &QMenu::hovered, this, &MainWindow::showHint);
    for (const MenuItem& item : editContextMenu()) {
        if (item.isSeparator()) {
            m_contextMenu->addSeparator();
            continue;
        }
        (void)addCommandAction(*m_contextMenu, qText(item.text), item.commandId);
    }
    m_editor->macros().setMenuObserver([this] { refreshMacroMenu(); });
    refreshMacroMenu();
    refreshMenuKeyTexts();
    refreshRecentFiles();
    refreshToolsMenu();
}

void MainWindow::refreshToolsMenu() {
    if (m_toolsMenu == nullptr) {
        return;
    }
    for (QAction* action : m_toolActions) {
        m_toolsMenu->removeAction(action);
        action->deleteLater();
    }
    m_toolActions.clear();
    const std::vector<std::string> texts = m_editor->tools().menuTexts();
    if (texts.empty()) {
        return;
    }
    m_toolActions.push_back(m_toolsMenu->addSeparator());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        m_toolActions.push_back(addCommandAction(*m_toolsMenu, qText(texts[i]), toolchain::toolFunctionId(i)));
    }
}

void MainWindow::refreshMacroMenu() {
    if (m_macrosMenu == nullptr) {
        return;
    }
    for (QAction* item : m_macroActions) {
        m_macrosMenu->removeAction(item);
        m_actions.erase(item->data().toUInt());
        item->deleteLater();
    }
    m_macroActions.clear();
    std::vector<MenuItemText>& texts = m_menuTexts[m_macrosMenuIndex];
    std::erase_if(texts, [](const MenuItemText& item) {
        for (std::size_t index = 0; index < kMacroMenuMaxEntries; ++index) {
            if (item.commandId == macroExecuteId(index)) {
                return true;
            }
        }
        return false;
    });
    const std::vector<std::string> items = m_editor->macros().menuItemTexts();
    if (items.empty()) {
        return;
    }
    m_macroActions.push_back(m_macrosMenu->addSeparator());
    for (std::size_t index = 0; index < items.size(); ++index) {
        const FunctionId id = macroExecuteId(index);
        texts.push_back(MenuItemText{id, items[index]});
        QAction* item = addCommandAction(*m_macrosMenu, qText(items[index]), id);
        m_actions[id] = item;
        m_macroActions.push_back(item);
    }
    refreshMenuKeyTexts();
}

void MainWindow::refreshMenuKeyTexts() {
    rewriteMenuKeyTexts(m_menuTexts, 0, keys().keymaps().keymap(), m_editor->prefixes());
    for (const auto& menu : m_menuTexts) {
        for (const MenuItemText& item : menu) {
            if (auto found = m_actions.find(item.commandId); found != m_actions.end()) {
                found->second->setText(qText(item.text));
            }
        }
    }
}

void MainWindow::refreshRecentFiles() {
    for (QAction* action : m_recentActions) {
        m_fileMenu->removeAction(action);
        action->deleteLater();
    }
    m_recentActions.clear();
    const auto items = history().recentFiles();
    if (items.empty()) {
        return;
    }
    QAction* before = action(kRecentFilesBeforeId);
    int number = 1;
    for (const auto& [id, path] : items) {
        auto* item = new QAction(QStringLiteral("&%1 %2").arg(number++).arg(qText(path)), m_fileMenu);
        item->setData(id);
        const uint32_t commandId = id;
        connect(item, &QAction::triggered, this, [this, commandId] { runCommand(commandId); });
        m_fileMenu->insertAction(before, item);
        m_recentActions.push_back(item);
    }
    QAction* separator = new QAction(m_fileMenu);
    separator->setSeparator(true);
    m_fileMenu->insertAction(before, separator);
    m_recentActions.push_back(separator);
}

void MainWindow::refreshWindowList() {
    for (QAction* item : m_windowListActions) {
        m_windowMenu->removeAction(item);
        item->deleteLater();
    }
    m_windowListActions.clear();
    const std::vector<EditPane*> panes = workspace().panes();
    if (panes.empty()) {
        return;
    }
    m_windowListActions.push_back(m_windowMenu->addSeparator());
    int number = 1;
    for (EditPane* pane : panes) {
        QAction* item = m_windowMenu->addAction(
            QStringLiteral("&%1 %2").arg(number++).arg(qText(workspace().title(*pane))));
        item->setCheckable(true);
        item->setChecked(pane == workspace().active());
        connect(item, &QAction::triggered, this, [this, pane] { workspace().activate(*pane); });
        m_windowListActions.push_back(item);
    }
}

void MainWindow::buildToolBar() {
    m_toolBar = addToolBar(QStringLiteral("Standard"));
    m_toolBar->setObjectName(QStringLiteral("StandardToolBar"));
    for (const ToolBarButton& button : toolBarButtons()) {
        if (button.id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* item = m_toolBar->addAction(QString::fromLatin1(button.text));
        if (button.icon != ToolBarIcon::None) {
            item->setIcon(style()->standardIcon(pixmapOf(button.icon)));
        }
        item->setToolTip(qText(commandHint(button.id)));
        item->setData(button.id);
        const uint32_t id = button.id;
        connect(item, &QAction::triggered, this, [this, id] { runCommand(id); });
    }
    m_toolBar->setVisible(m_options.editor().toolBar != 0);
}

void MainWindow::buildStatusBar() {
    QStatusBar* bar = statusBar();
    const QFontMetrics metrics(bar->font());
    for (std::size_t i = 0; i < kStatusPaneCount; ++i) {
        QLabel* label = i == 0 ? new ElidedLabel(bar) : new QLabel(bar);
        label->setObjectName(QStringLiteral("statusPane%1").arg(i));
        if (i == 0) {
            bar->addWidget(label, 1);
        } else {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setAlignment(Qt::AlignCenter);
            label->setMinimumWidth(metrics.horizontalAdvance(QLatin1String(kPaneSamples[i])) +
                                   2 * label->frameWidth() + 2 * metrics.averageCharWidth());
            bar->addPermanentWidget(label);
            label->hide();
        }
        m_statusLabels[i] = label;
    }
    bar->setVisible(m_options.editor().statusBar != 0);
}

void MainWindow::showHint(QAction* action) {
    const uint32_t id = action->data().toUInt();
    statusLine().showMessage(commandHint(id), MessageTimeout::Keep, MessageBeep::No);
}

// ---- commands ----

void MainWindow::runCommand(uint32_t commandId) {
    (void)processor().execute(commandId);
    if (commandId == functionIdOf("OptionsTools")) {
        refreshToolsMenu();
    }
    m_area->syncActivePane();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // After Escape closed a menu the bar keeps the keyboard for its own navigation; a key the
    // keymap binds leaves the bar and goes to the active window instead of being swallowed.
    if (watched == menuBar() && event->type() == QEvent::KeyPress && QApplication::activePopupWidget() == nullptr) {
        const auto& key = *static_cast<QKeyEvent*>(event);
        QMdiSubWindow* window = m_area->documentArea()->activeSubWindow();
        const bool navigates = key.key() == Qt::Key_Escape || key.key() == Qt::Key_Return ||
                               (key.key() >= Qt::Key_Left && key.key() <= Qt::Key_Down);
        if (window != nullptr && !navigates && keymapClaims(keys(), key)) {
            QWidget* target = window->widget()->focusProxy() != nullptr ? window->widget()->focusProxy()
                                                                         : window->widget();
            target->setFocus(Qt::OtherFocusReason);
            QKeyEvent again(key.type(), key.key(), key.modifiers(), key.text(), key.isAutoRepeat());
            QApplication::sendEvent(target, &again);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

EditPane* MainWindow::openDocumentAt(const std::string& path, int line) {
    EditPane* pane = workspace().openDocumentAt(path, line);
    m_area->syncActivePane();
    return pane;
}

void MainWindow::acceptHandOff(const std::optional<HandOff>& handOff) {
    if (isMinimized()) {
        showNormal();
    }
    raise();
    activateWindow();
    // Queued when it came inside a nested event loop; opened from the top level (the link poll).
    workspace().acceptHandOff(handOff);
    m_area->syncActivePane();
}

void MainWindow::runQueuedRequests() {
    workspace().runQueuedRequests();
    m_area->syncActivePane();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            acceptHandOff(HandOff{QFile::encodeName(url.toLocalFile()).toStdString(), 0});
        }
    }
    event->acceptProposedAction();
}

void MainWindow::openStartupFiles(std::span<const std::string> arguments) {
    workspace().openStartupFiles(arguments);
    m_area->syncActivePane();
}

// ---- re-activation and closing ----

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        QTimer::singleShot(0, this, [this] { workspace().checkOutsideChanges(); });
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!workspace().closeAllForExit()) {
        event->ignore();
        return;
    }
    const QRect frame = geometry();
    FramePlacement placement{frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1,
                             isMaximized()   ? 3
                             : isMinimized() ? 2
                                             : 1};
    if (!history().writeFramePlacement(placement)) {
        m_frame->status("The window placement could not be written to the settings file.",
               platform::SoundKind::Exclamation);
    }
    (void)m_editor->saveState(); // each failure has been reported
    event->accept();
}

// ---- the window ports of the frame ----

void MainWindow::showBar(FrameBar bar, bool visible) {
    if (bar == FrameBar::ToolBar) {
        m_toolBar->setVisible(visible);
    } else {
        statusBar()->setVisible(visible);
    }
}

// ---- the status bar ----

void MainWindow::paneChanged(StatusPane pane, std::string_view text) {
    QLabel* label = m_statusLabels[static_cast<std::size_t>(pane)];
    if (pane == StatusPane::Message) {
        static_cast<ElidedLabel*>(label)->setFullText(qText(text));
    } else {
        label->setText(qText(text));
        // An indicator that shows nothing takes no room from the message.
        label->setVisible(!text.empty());
    }
}

QString MainWindow::statusText(StatusPane pane) const {
    if (pane == StatusPane::Message) {
        return static_cast<const ElidedLabel*>(m_statusLabels[0])->fullText();
    }
    return m_statusLabels[static_cast<std::size_t>(pane)]->text();
}

QAction* MainWindow::action(uint32_t commandId) const {
    auto found = m_actions.find(commandId);
    return found != m_actions.end() ? found->second : nullptr;
}

} // namespace vexa::ui
