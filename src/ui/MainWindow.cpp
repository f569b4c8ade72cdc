// The editor's main window.
#include "ui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "Version.h"
#include "commands/EditPane.h"
#include "commands/FunctionTable.h"
#include "platform/Environment.h"
#include "platform/Files.h"
#include "settings/Options.h"
#include "ui/KeyForwarding.h"

namespace vexa::ui {
namespace {

constexpr int kStatusTickMs = 500;
constexpr int kIdleTickMs = 1000;

} // namespace

MainWindow::MainWindow(Options& options, QWidget* parent)
    : QMainWindow(parent), m_options(options),
      m_menus(std::make_unique<MenuBar>(*this, options, m_editor,
                                        [this](uint32_t commandId) { runCommand(commandId); })),
      m_frame(std::make_unique<QtFrame>(
          *this, options, m_sound, m_editor, *m_menus,
          FrameWindowParts{[this](WindowArrangement arrangement) { m_area->arrangeWindows(arrangement); },
                           [this](FrameBar bar, bool visible) { m_menus->showBar(bar, visible); },
                           [this](QPagedPaintDevice& device, bool markedOnly) {
                               return m_area->printActive(device, markedOnly);
                           },
                           [this](const QFont& font) { m_area->applyFontChoice(font); },
                           [this] { m_menus->refreshMenuKeyTexts(); }, [this] { m_area->syncActivePane(); },
                           [this] { return m_area->activePane(); }})),
      m_area(std::make_unique<DocumentArea>(*this, options, m_keyState, m_primary, m_editor, *m_frame,
                                            DocumentAreaParts{[this] { m_menus->refreshRecentFiles(); },
                                                              [this] { return m_menus->contextMenu(); }})) {
    setWindowTitle(QString::fromLatin1(versionText()));
    setCentralWidget(m_area->documentArea());
    setAcceptDrops(true);
    resize(1000, 700);
    m_menus->buildStatusBar();

    m_editor = std::make_unique<Editor>(
        EditorPorts{*m_frame, *m_area, options, m_clock, m_clipboard, m_sound, m_searchKeys, *m_area, m_launcher,
                    std::string(platform::directoryPart(platform::programPath().value_or(""))),
                    [this](int key) { return m_keyState.isToggled(static_cast<uint16_t>(key)); }, true, false, true});

    m_menus->buildMenus();
    // After Escape closed a menu, keys the keymap binds leave the menu bar (see eventFilter).
    menuBar()->installEventFilter(this);
    m_menus->buildToolBar();
    statusLine().setObserver(m_menus.get());
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

// ---- commands ----

void MainWindow::runCommand(uint32_t commandId) {
    (void)processor().execute(commandId);
    if (commandId == functionIdOf("OptionsTools")) {
        m_menus->refreshToolsMenu();
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

} // namespace vexa::ui
