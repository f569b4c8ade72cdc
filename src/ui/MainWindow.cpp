// The editor's main window.
#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFontMetricsF>
#include <QFontInfo>
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
#include <QtMath>

#include "Version.h"
#include "commands/EditPane.h"
#include "commands/FunctionTable.h"
#include "commands/MenuTable.h"
#include "commands/NotYetBuilt.h"
#include "platform/Environment.h"
#include "platform/Files.h"
#include "settings/Options.h"
#include "ui/DocumentPrinter.h"
#include "ui/EditPaneWidget.h"
#include "ui/ElidedLabel.h"
#include "ui/KeyForwarding.h"
#include "ui/OutputWindowWidget.h"
#include "ui/WindowArrangement.h"
#include "ui/Windows1252.h"

namespace vexa::ui {
namespace {

constexpr int kStatusTickMs = 500;
constexpr int kIdleTickMs = 1000;
// Held keys and drags change a mark many times a second; its text goes to the selection once.
constexpr int kPrimaryPauseMs = 60;

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
    : QMainWindow(parent), m_options(options), m_documentArea(new QMdiArea(this)),
      m_frame(std::make_unique<QtFrame>(
          *this, options, m_sound, m_editor, *this,
          FrameWindowParts{[this](WindowArrangement arrangement) { arrangeWindows(arrangement); },
                           [this](FrameBar bar, bool visible) { showBar(bar, visible); },
                           [this](QPagedPaintDevice& device, bool markedOnly) {
                               return printActive(device, markedOnly);
                           },
                           [this](const QFont& font) { applyFontChoice(font); },
                           [this] { refreshMenuKeyTexts(); }, [this] { syncActivePane(); },
                           [this] { return activePane(); }})) {
    setWindowTitle(QString::fromLatin1(versionText()));
    setCentralWidget(m_documentArea);
    setAcceptDrops(true);
    m_documentArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_documentArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    resize(1000, 700);
    buildStatusBar();
    m_primaryTimer = new QTimer(this);
    m_primaryTimer->setSingleShot(true);
    m_primaryTimer->setInterval(kPrimaryPauseMs);
    connect(m_primaryTimer, &QTimer::timeout, this, [this] { m_primary.follow(processor().document()); });

    m_editor = std::make_unique<Editor>(
        EditorPorts{*m_frame, *this, options, m_clock, m_clipboard, m_sound, m_searchKeys, *this, m_launcher,
                    std::string(platform::directoryPart(platform::programPath().value_or(""))),
                    [this](int key) { return m_keyState.isToggled(static_cast<uint16_t>(key)); }, true});

    buildMenus();
    buildToolBar();
    statusLine().setObserver(this);
    statusLine().refreshKeyStates();

    connect(m_documentArea, &QMdiArea::subWindowActivated, this, &MainWindow::subWindowActivated);
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
    disconnect(m_documentArea, nullptr, this, nullptr);
    m_frame->closeSearchDialog();
    for (QMdiSubWindow* window : m_documentArea->subWindowList()) {
        window->removeEventFilter(this);
        delete window; // its widget shows a pane of the workspace, which still lives
    }
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
    syncActivePane();
}

void MainWindow::syncActivePane() {
    if (EditPaneWidget* pane = activePane()) {
        pane->syncCaret();
    }
    afterInput();
}

void MainWindow::afterInput() {
    if (!m_editor) {
        return;
    }
    statusLine().setIndicator(Indicator::Mode, processor().editSettings().insertMode);
    statusLine().refreshKeyStates();
    m_primaryTimer->start();
    if (EditPaneWidget* pane = activePane()) {
        const Document& doc = pane->document();
        statusLine().setIndicator(Indicator::Changed, doc.isModified());
        statusLine().setIndicator(Indicator::ReadOnly, doc.isReadOnly());
        statusLine().showFormat(doc.encoding(), doc.lineEnds(), doc.hasMixedLineEnds());
        statusLine().showEditPosition(static_cast<uint32_t>(doc.cursorLine()), doc.cursorColumn());
    }
    workspace().refreshTitles();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // After Escape closed a menu the bar keeps the keyboard for its own navigation; a key the
    // keymap binds leaves the bar and goes to the active window instead of being swallowed.
    if (watched == menuBar() && event->type() == QEvent::KeyPress && QApplication::activePopupWidget() == nullptr) {
        const auto& key = *static_cast<QKeyEvent*>(event);
        QMdiSubWindow* window = m_documentArea->activeSubWindow();
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
    // A document window's own close button goes through the save question too.
    if (event->type() == QEvent::Close) {
        if (auto* window = qobject_cast<QMdiSubWindow*>(watched)) {
            event->ignore();
            if (auto* pane = qobject_cast<EditPaneWidget*>(window->widget())) {
                (void)workspace().close(pane->pane());
            }
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

int MainWindow::printActive(QPagedPaintDevice& device, bool markedOnly) {
    EditPaneWidget* pane = activePane();
    if (pane == nullptr) {
        return 0;
    }
    PrintRequest request;
    request.font = pane->font();
    request.tabSize = processor().editSettings().tabSize;
    request.markedOnly = markedOnly;
    const Document& document = pane->document();
    request.title = qText(document.hasName() ? document.fileName() : std::string(kUntitled));
    BusyCursor busy(*m_frame);
    return printDocument(document, device, request);
}

void MainWindow::applyFontChoice(const QFont& font) {
    FontDetails& details = m_options.font();
    details.face = toWindows1252(font.family());
    details.height = -QFontInfo(font).pixelSize();
    details.weight = font.bold() ? 700 : 400;
    details.italic = font.italic() ? 1 : 0;
    details.underline = font.underline() ? 1 : 0;
    details.strikeOut = font.strikeOut() ? 1 : 0;
    if (!m_options.saveFont()) {
        m_frame->status("The font could not be written to the settings file.", platform::SoundKind::Exclamation);
    }
    for (EditPaneWidget* pane : paneWidgets()) {
        pane->applyFont();
    }
}

EditPane* MainWindow::openDocumentAt(const std::string& path, int line) {
    EditPane* pane = workspace().openDocumentAt(path, line);
    syncActivePane();
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
    syncActivePane();
}

void MainWindow::runQueuedRequests() {
    workspace().runQueuedRequests();
    syncActivePane();
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
    syncActivePane();
}

// ---- the workspace's windows ----

EditPaneWidget* MainWindow::activePane() const {
    QMdiSubWindow* window = m_documentArea->activeSubWindow();
    return window != nullptr ? qobject_cast<EditPaneWidget*>(window->widget()) : nullptr;
}

std::vector<EditPaneWidget*> MainWindow::paneWidgets() const {
    std::vector<EditPaneWidget*> widgets;
    for (QMdiSubWindow* window : m_documentArea->subWindowList()) {
        if (auto* pane = qobject_cast<EditPaneWidget*>(window->widget())) {
            widgets.push_back(pane);
        }
    }
    return widgets;
}

EditPaneWidget* MainWindow::widgetOf(const EditPane& pane) const {
    for (EditPaneWidget* widget : paneWidgets()) {
        if (&widget->pane() == &pane) {
            return widget;
        }
    }
    return nullptr;
}

QMdiSubWindow* MainWindow::windowOf(const EditPane& pane) const {
    EditPaneWidget* widget = widgetOf(pane);
    return widget != nullptr ? qobject_cast<QMdiSubWindow*>(widget->parentWidget()) : nullptr;
}

void MainWindow::windowOpened(EditPane& pane) {
    // "DisplayMode" is the show state of a new document window (3 maximised, 2 minimised); a new
    // window also follows an active one that is maximised.
    const int displayMode = m_options.editor().displayMode;
    const bool maximised = displayMode == 3 || (m_documentArea->activeSubWindow() != nullptr &&
                                                m_documentArea->activeSubWindow()->isMaximized());
    PaneServices services{processor(),        keys(),      m_keyState, m_options, m_editor->syntax(),
                          workspace(),        m_primary, m_contextMenu};
    auto* widget = new EditPaneWidget(services, pane);
    QMdiSubWindow* window = m_documentArea->addSubWindow(widget);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(qText(workspace().title(pane)));
    connect(widget, &EditPaneWidget::inputHandled, this, &MainWindow::afterInput);
    connect(widget, &EditPaneWidget::activated, this,
            [this](EditPaneWidget* activated) { workspace().windowActivatedByUser(activated->pane()); });
    window->installEventFilter(this);
    // A new window takes most of the document area, at least the useful size, cascaded below the
    // ones already open. A window shown maximised or minimised gets the same place to be restored
    // to. Before the main window is first shown the area has no size yet: the window is placed
    // once it has.
    const int cascade = (static_cast<int>(m_documentArea->subWindowList().size()) - 1) % 8;
    const auto place = [this, cascade](QMdiSubWindow* placed) {
        const QSize area = m_documentArea->viewport()->size();
        const QSize size =
            windowSizeWithin(area * 4 / 5, usefulWindowSize(), area).expandedTo(QSize(200, 150));
        const int step = placed->style()->pixelMetric(QStyle::PM_TitleBarHeight);
        const int offset = std::max(0, std::min(cascade * step, std::min(area.width() - size.width(),
                                                                           area.height() - size.height())));
        placed->setGeometry(offset, offset, size.width(), size.height());
    };
    place(window);
    if (maximised) {
        window->showMaximized();
        return;
    }
    if (displayMode == 2) {
        window->showMinimized();
        return;
    }
    window->show();
    if (!m_documentArea->isVisible()) {
        QTimer::singleShot(0, window, [window, place] {
            if (!window->isMaximized()) {
                place(window);
            }
        });
    }
}

QSize MainWindow::usefulWindowSize() const {
    constexpr int kUsefulColumns = 80;
    constexpr int kUsefulLines = 25;
    const QFontMetricsF metrics(editorFont(m_options));
    const QStyle* style = m_documentArea->style();
    const int frame = 2 * style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    const int scrollBar = style->pixelMetric(QStyle::PM_ScrollBarExtent);
    // The margin column and the frame, scroll bars and title bar around the text.
    const int width = qCeil((kUsefulColumns + 1) * metrics.horizontalAdvance(QLatin1Char('M'))) + frame + scrollBar;
    const int height = kUsefulLines * QFontMetrics(editorFont(m_options)).height() + frame + scrollBar +
                       style->pixelMetric(QStyle::PM_TitleBarHeight);
    return {width, height};
}

void MainWindow::windowClosed(std::unique_ptr<EditPane> pane) {
    QMdiSubWindow* window = windowOf(*pane);
    if (window == nullptr) {
        return;
    }
    auto* widget = qobject_cast<EditPaneWidget*>(window->widget());
    m_documentArea->removeSubWindow(window);
    window->removeEventFilter(this);
    window->hide();
    // The window goes once the current event is handled (a key of this pane may have asked), and
    // its pane with it.
    widget->adoptClosedPane(std::move(pane));
    window->deleteLater();
    if (m_documentArea->subWindowList().isEmpty()) {
        statusLine().clearAll();
    }
}

void MainWindow::windowActivated(EditPane& pane) {
    if (QMdiSubWindow* window = windowOf(pane)) {
        if (m_documentArea->activeSubWindow() != window) {
            m_documentArea->setActiveSubWindow(window);
        }
        window->widget()->setFocus();
    }
    syncActivePane();
}

void MainWindow::windowChanged(EditPane& pane) {
    QMdiSubWindow* window = windowOf(pane);
    if (window == nullptr) {
        return;
    }
    window->setWindowTitle(qText(workspace().title(pane)));
    auto* widget = qobject_cast<EditPaneWidget*>(window->widget());
    widget->chooseProfile();
    widget->applyFont(); // the margin may have come or gone
    widget->repaintAll();
}

void MainWindow::recentFilesChanged() {
    refreshRecentFiles();
}

void MainWindow::exitRequested() {
    QTimer::singleShot(0, this, [this] { close(); });
}

void MainWindow::subWindowActivated(QMdiSubWindow* window) {
    if (window == nullptr || m_editor == nullptr) {
        return;
    }
    if (qobject_cast<OutputWindowWidget*>(window->widget()) != nullptr) {
        processor().activateOutputWindow();
        return;
    }
    auto* pane = qobject_cast<EditPaneWidget*>(window->widget());
    if (pane == nullptr) {
        return;
    }
    workspace().windowActivatedByUser(pane->pane());
    afterInput();
}

// ---- the output windows ----

OutputWindowWidget* MainWindow::outputWidgetOf(toolchain::OutputKind kind) const {
    for (QMdiSubWindow* window : m_documentArea->subWindowList()) {
        auto* widget = qobject_cast<OutputWindowWidget*>(window->widget());
        if (widget != nullptr && widget->kind() == kind) {
            return widget;
        }
    }
    return nullptr;
}

void MainWindow::showOutputWindow(toolchain::OutputWindow& output) {
    OutputWindowWidget* widget = outputWidgetOf(output.kind());
    if (widget == nullptr) {
        widget = new OutputWindowWidget(m_editor->outputs(), output.kind(), {keys(), m_keyState});
        QMdiSubWindow* window = m_documentArea->addSubWindow(widget);
        window->setWindowTitle(qText(output.title()));
        const QRect area = m_documentArea->viewport()->rect();
        window->setGeometry(0, area.height() * 3 / 5, area.width(), area.height() * 2 / 5);
    }
    auto* window = qobject_cast<QMdiSubWindow*>(widget->parentWidget());
    window->show();
    m_documentArea->setActiveSubWindow(window);
    widget->setFocus();
    processor().activateOutputWindow();
}

void MainWindow::outputLinesChanged(toolchain::OutputWindow& output) {
    if (OutputWindowWidget* widget = outputWidgetOf(output.kind())) {
        widget->refreshLines();
    }
}

void MainWindow::outputSelectionChanged(toolchain::OutputWindow& output) {
    if (OutputWindowWidget* widget = outputWidgetOf(output.kind())) {
        widget->refreshSelection();
    }
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

void MainWindow::arrangeWindows(WindowArrangement arrangement) {
    arrangeSubWindows(*m_documentArea, arrangement, usefulWindowSize());
}

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
