// The editor's main window.
#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include "Version.h"
#include "commands/FileCommands.h"
#include "commands/FunctionTable.h"
#include "commands/MenuTable.h"

#include "core/DocumentFile.h"
#include "keyboard/KeymapStore.h"
#include "platform/Files.h"
#include "settings/Format.h"
#include "settings/Options.h"
#include "ui/ColourOptionsWindow.h"
#include "ui/DialogViews.h"
#include "ui/DocumentPrinter.h"
#include "ui/EditPaneWidget.h"
#include "ui/EditorOptionsDialog.h"
#include "ui/ExtensionOptionsWindow.h"
#include "ui/FileFiltersDialog.h"
#include "ui/KeymapManagerWindow.h"
#include "ui/SearchDialog.h"
#include "ui/Windows1252.h"

namespace vexa::ui {
namespace {

constexpr int kStatusTickMs = 500;
constexpr int kIdleTickMs = 1000;
constexpr const char* kSaveQuestion = "The '%s' file has been modified.\nDo you want to save the changes?";
constexpr const char* kUntitled = "Untitled";

QString qText(std::string_view text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

// The widths of the indicator panes, in characters; the message pane takes the rest.
constexpr std::array<int, kStatusPaneCount> kPaneChars{0, 3, 2, 4, 3, 3, 18, 3, 4, 4, 8};

} // namespace

MainWindow::MainWindow(Options& options, QWidget* parent)
    : QMainWindow(parent), m_options(options),
      m_statusLine(m_clock, m_sound,
                   [this](int key) { return m_keyState.isToggled(static_cast<uint16_t>(key)); }),
      m_syntax(options.directory(DirectoryKind::Config), *this, &options.settingsFile()),
      m_processor(ProcessorServices{*this, options, m_clock, m_clipboard}), m_keys(m_processor, options),
      m_history(options.settingsFile()), m_printer(std::make_unique<QPrinter>()),
      m_documentArea(new QMdiArea(this)) {
    setWindowTitle(QString::fromLatin1(versionText()));
    setCentralWidget(m_documentArea);
    m_documentArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_documentArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    resize(1000, 700);

    m_processor.setStatusLine(&m_statusLine);
    m_processor.setKeymap(&m_keys);
    m_processor.setDocumentWindows(this);
    m_statusLine.setSoundEnabled(options.editor().makeSound != 0);
    m_statusLine.setClock24Hour(options.editor().clock24Hour != 0);
    m_prefixes.load(options.directory(DirectoryKind::Config));
    m_keys.loadKeymap();
    m_history.loadRecentFiles();

    buildStatusBar();
    buildMenus();
    buildToolBar();
    m_statusLine.setObserver(this);
    m_statusLine.refreshKeyStates();
    m_statusLine.setIndicator(Indicator::Mode, true);
    m_statusLine.setIndicator(Indicator::Mode, options.editor().insertMode != 0);

    connect(m_documentArea, &QMdiArea::subWindowActivated, this, &MainWindow::windowActivated);
    m_statusTimer = new QTimer(this);
    connect(m_statusTimer, &QTimer::timeout, this, [this] { m_statusLine.tick(); });
    m_statusTimer->start(kStatusTickMs);
    m_idleTimer = new QTimer(this);
    connect(m_idleTimer, &QTimer::timeout, this, &MainWindow::idleBackup);
    m_idleTimer->start(kIdleTickMs);
}

MainWindow::~MainWindow() {
    m_statusLine.setObserver(nullptr);
    // The document windows and dialogs use the services held here: they go while those still
    // live, and without the window's handlers, which would see a window half taken down.
    disconnect(m_documentArea, nullptr, this, nullptr);
    closeSearchDialog();
    for (QMdiSubWindow* window : m_documentArea->subWindowList()) {
        if (auto* pane = qobject_cast<EditPaneWidget*>(window->widget())) {
            m_processor.paneClosed(&pane->pane());
        }
        window->removeEventFilter(this);
        delete window;
    }
    m_processor.activatePane(nullptr);
    m_processor.setDocumentWindows(nullptr);
}

// ---- building ----

void MainWindow::buildMenus() {
    m_menuTexts = menuBarTexts(mainMenuBar());
    const auto menus = mainMenuBar();
    for (std::size_t m = 0; m < menus.size(); ++m) {
        QMenu* menu = menuBar()->addMenu(qText(menus[m].title));
        connect(menu, &QMenu::hovered, this, &MainWindow::showHint);
        connect(menu, &QMenu::aboutToHide, this,
                [this] { m_statusLine.showMessage("", MessageTimeout::Keep, MessageBeep::No); });
        for (const MenuItemText& item : m_menuTexts[m]) {
            if (item.commandId == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(qText(item.text));
            action->setData(item.commandId);
            const uint32_t id = item.commandId;
            connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
            m_actions[id] = action;
        }
        if (m == 0) {
            m_fileMenu = menu;
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
        QAction* action = m_contextMenu->addAction(qText(item.text));
        action->setData(item.commandId);
        const uint32_t id = item.commandId;
        connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    }
    refreshMenuKeyTexts();
    refreshRecentFiles();
}

void MainWindow::refreshMenuKeyTexts() {
    rewriteMenuKeyTexts(m_menuTexts, 0, m_keys.keymaps().keymap(), m_prefixes);
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
    const auto items = m_history.recentFiles();
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
    const auto windows = m_documentArea->subWindowList();
    if (windows.isEmpty()) {
        return;
    }
    m_windowListActions.push_back(m_windowMenu->addSeparator());
    int number = 1;
    for (QMdiSubWindow* window : windows) {
        QAction* item =
            m_windowMenu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(window->windowTitle()));
        item->setCheckable(true);
        item->setChecked(window == m_documentArea->activeSubWindow());
        connect(item, &QAction::triggered, this,
                [this, window] { m_documentArea->setActiveSubWindow(window); });
        m_windowListActions.push_back(item);
    }
}

void MainWindow::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Standard"));
    bar->setObjectName(QStringLiteral("StandardToolBar"));
    struct Button {
        FunctionId id;
        QStyle::StandardPixmap icon;
        const char* text;
    };
    const std::array buttons{
        Button{functionIdOf("FileNew"), QStyle::SP_FileIcon, "New"},
        Button{functionIdOf("FileOpen"), QStyle::SP_DialogOpenButton, "Open"},
        Button{functionIdOf("FileSave"), QStyle::SP_DialogSaveButton, "Save"},
        Button{0, QStyle::SP_CustomBase, nullptr},
        Button{functionIdOf("MarkCutEx"), QStyle::SP_CustomBase, "Cut"},
        Button{functionIdOf("MarkCopyEx"), QStyle::SP_CustomBase, "Copy"},
        Button{functionIdOf("MarkPasteEx"), QStyle::SP_CustomBase, "Paste"},
        Button{0, QStyle::SP_CustomBase, nullptr},
        Button{functionIdOf("Undo"), QStyle::SP_ArrowBack, "Undo"},
        Button{functionIdOf("Redo"), QStyle::SP_ArrowForward, "Redo"},
    };
    for (const Button& button : buttons) {
        if (button.id == 0) {
            bar->addSeparator();
            continue;
        }
        QAction* item = bar->addAction(QString::fromLatin1(button.text));
        if (button.icon != QStyle::SP_CustomBase) {
            item->setIcon(style()->standardIcon(button.icon));
        }
        item->setToolTip(qText(commandHint(button.id)));
        item->setData(button.id);
        const uint32_t id = button.id;
        connect(item, &QAction::triggered, this, [this, id] { runCommand(id); });
    }
    bar->setVisible(m_options.editor().toolBar != 0);
}

void MainWindow::buildStatusBar() {
    QStatusBar* bar = statusBar();
    const QFontMetrics metrics(bar->font());
    for (std::size_t i = 0; i < kStatusPaneCount; ++i) {
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("statusPane%1").arg(i));
        if (i == 0) {
            bar->addWidget(label, 1);
        } else {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setAlignment(Qt::AlignCenter);
            label->setMinimumWidth(metrics.horizontalAdvance(QLatin1Char('W')) * kPaneChars[i]);
            bar->addPermanentWidget(label);
        }
        m_statusLabels[i] = label;
    }
    bar->setVisible(m_options.editor().statusBar != 0);
}

void MainWindow::showHint(QAction* action) {
    const uint32_t id = action->data().toUInt();
    m_statusLine.showMessage(commandHint(id), MessageTimeout::Keep, MessageBeep::No);
}

// ---- commands ----

void MainWindow::runCommand(uint32_t commandId) {
    if (m_processor.execute(commandId) == 0) {
        handleWindowCommand(commandId);
    }
    if (EditPaneWidget* pane = activePane()) {
        pane->syncCaret();
    }
    updateIndicators();
}

void MainWindow::updateIndicators() {
    m_statusLine.setIndicator(Indicator::Mode, m_processor.editSettings().insertMode);
    EditPaneWidget* pane = activePane();
    if (pane == nullptr) {
        return;
    }
    const Document& doc = pane->document();
    m_statusLine.setIndicator(Indicator::Changed, doc.isModified());
    m_statusLine.setIndicator(Indicator::ReadOnly, doc.isReadOnly());
    if (auto* window = qobject_cast<QMdiSubWindow*>(pane->parentWidget())) {
        const QString title = doc.hasName() ? qText(doc.fileName()) : QString::fromLatin1(kUntitled);
        if (window->windowTitle() != title) {
            window->setWindowTitle(title);
            pane->chooseProfile();
        }
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // A document window's own close button goes through the save question too.
    if (event->type() == QEvent::Close) {
        if (auto* window = qobject_cast<QMdiSubWindow*>(watched)) {
            event->ignore();
            m_documentArea->setActiveSubWindow(window);
            (void)closeActive();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::handleWindowCommand(uint32_t commandId) {
    switch (static_cast<FunctionId>(commandId)) {
    case functionIdOf("WindowCascade"):
        m_documentArea->cascadeSubWindows();
        return true;
    case functionIdOf("WindowTile"):
        m_documentArea->tileSubWindows();
        return true;
    case functionIdOf("WindowTileVertical"):
    case functionIdOf("WindowTileHorizontal"): {
        const auto windows = m_documentArea->subWindowList();
        if (windows.isEmpty()) {
            return true;
        }
        const bool vertical = commandId == functionIdOf("WindowTileVertical");
        const QRect area = m_documentArea->viewport()->rect();
        const int count = static_cast<int>(windows.size());
        for (int i = 0; i < count; ++i) {
            windows[i]->showNormal();
            if (vertical) {
                const int width = area.width() / count;
                windows[i]->setGeometry(i * width, 0, width, area.height());
            } else {
                const int height = area.height() / count;
                windows[i]->setGeometry(0, i * height, area.width(), height);
            }
        }
        return true;
    }
    case functionIdOf("WindowArrange"):
        for (QMdiSubWindow* window : m_documentArea->subWindowList()) {
            if (window->isMinimized()) {
                window->showMinimized();
            }
        }
        return true;
    case functionIdOf("WindowCloseAll"):
        for (QMdiSubWindow* window : m_documentArea->subWindowList()) {
            m_documentArea->setActiveSubWindow(window);
            if (!closeActive()) {
                break;
            }
        }
        return true;
    case functionIdOf("WindowNext"):
        m_documentArea->activateNextSubWindow();
        return true;
    case functionIdOf("WindowPrevious"):
        m_documentArea->activatePreviousSubWindow();
        return true;
    case functionIdOf("WindowRestoreAll"):
        for (QMdiSubWindow* window : m_documentArea->subWindowList()) {
            window->showNormal();
        }
        return true;
    case functionIdOf("WindowMinimizeAll"):
        for (QMdiSubWindow* window : m_documentArea->subWindowList()) {
            window->showMinimized();
        }
        return true;
    case functionIdOf("WindowMaximizeAll"):
        for (QMdiSubWindow* window : m_documentArea->subWindowList()) {
            window->showMaximized();
        }
        return true;
    case functionIdOf("FilePrint"):
    case functionIdOf("MarkPrint"): {
        const bool marked = commandId == functionIdOf("MarkPrint");
        if (activePane() == nullptr || (marked && !activePane()->document().hasMark())) {
            status(marked ? "No area is currently marked" : std::string(kNoActiveDocument),
                   platform::SoundKind::Information);
            return true;
        }
        QPrintDialog dialog(m_printer.get(), this);
        if (dialog.exec() == QDialog::Accepted) {
            (void)printActive(*m_printer, marked);
        }
        return true;
    }
    case functionIdOf("FilePrintSetup"): {
        QPageSetupDialog dialog(m_printer.get(), this);
        (void)dialog.exec();
        return true;
    }
    case functionIdOf("OptionsEditor"): {
        EditorOptionsDialog dialog(m_options, this);
        if ((m_dialogRunner ? m_dialogRunner(dialog) : dialog.exec()) == QDialog::Accepted) {
            optionsChanged();
        }
        return true;
    }
    case functionIdOf("OptionsFilters"): {
        FileFiltersDialog dialog(m_options, this);
        (void)(m_dialogRunner ? m_dialogRunner(dialog) : dialog.exec());
        return true;
    }
    case functionIdOf("OptionsColors"): {
        ColourOptionsWindow dialog(m_syntax.colours(), this);
        if ((m_dialogRunner ? m_dialogRunner(dialog) : dialog.exec()) == QDialog::Accepted) {
            for (EditPaneWidget* pane : paneWidgets()) {
                pane->repaintAll();
            }
        }
        return true;
    }
    case functionIdOf("OptionsKeyboard"): {
        KeymapStore store(m_options.directory(DirectoryKind::Config), *this);
        const auto activate = [this](std::unique_ptr<Keymap> keymap) {
            m_keys.keymaps().replace(std::move(keymap));
            refreshMenuKeyTexts();
        };
        KeymapManagerWindow dialog(m_options, *this, store, m_prefixes, activate, m_dialogRunner, this);
        (void)(m_dialogRunner ? m_dialogRunner(dialog) : dialog.exec());
        return true;
    }
    case functionIdOf("OptionsExtension"): {
        ExtensionOptionsWindow dialog(m_syntax, *this, m_dialogRunner, this);
        (void)(m_dialogRunner ? m_dialogRunner(dialog) : dialog.exec());
        if (dialog.model().isChanged()) {
            for (EditPaneWidget* pane : paneWidgets()) {
                pane->chooseProfile();
            }
        }
        return true;
    }
    case functionIdOf("OptionsFont"): {
        const QFont current = activePane() != nullptr ? activePane()->font() : font();
        bool chosen = false;
        const QFont font = QFontDialog::getFont(&chosen, current, this, QStringLiteral("Font"),
                                                QFontDialog::MonospacedFonts);
        if (chosen) {
            applyFontChoice(font);
        }
        return true;
    }
    case functionIdOf("HelpAbout"):
        if (m_responder) {
            m_responder(versionText(), "About Vexa");
        } else {
            QMessageBox::about(this, QStringLiteral("About Vexa"), QString::fromLatin1(versionText()));
        }
        return true;
    default:
        return false;
    }
}

void MainWindow::optionsChanged() {
    m_processor.applySettings();
    m_statusLine.setSoundEnabled(m_options.editor().makeSound != 0);
    m_statusLine.setClock24Hour(m_options.editor().clock24Hour != 0);
    for (EditPaneWidget* pane : paneWidgets()) {
        pane->applyFont(); // the margin may have come or gone
    }
    updateIndicators();
}

int MainWindow::printActive(QPagedPaintDevice& device, bool markedOnly) {
    EditPaneWidget* pane = activePane();
    if (pane == nullptr) {
        return 0;
    }
    PrintRequest request;
    request.font = pane->font();
    request.tabSize = m_processor.editSettings().tabSize;
    request.markedOnly = markedOnly;
    const Document& document = pane->document();
    request.title = qText(document.hasName() ? document.fileName() : std::string(kUntitled));
    BusyCursor busy(*this);
    return printDocument(document, device, request);
}

void MainWindow::applyFontChoice(const QFont& font) {
    FontDetails& details = m_options.font();
    details.face = font.family().toLocal8Bit().toStdString();
    details.height = -QFontInfo(font).pixelSize();
    details.weight = font.bold() ? 700 : 400;
    details.italic = font.italic() ? 1 : 0;
    details.underline = font.underline() ? 1 : 0;
    details.strikeOut = font.strikeOut() ? 1 : 0;
    if (!m_options.saveFont()) {
        status("The font could not be written to the settings file.", platform::SoundKind::Exclamation);
    }
    for (EditPaneWidget* pane : paneWidgets()) {
        pane->applyFont();
    }
}

// ---- document windows ----

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

std::vector<EditPane*> MainWindow::panes() {
    std::vector<EditPane*> result;
    for (EditPaneWidget* widget : paneWidgets()) {
        result.push_back(&widget->pane());
    }
    return result;
}

FileOptions MainWindow::fileOptions() const {
    return fileOptionsFrom(m_options);
}

EditPane* MainWindow::addWindow(std::unique_ptr<Document> document) {
    document->setMessenger(this);
    document->setCuaMarkingRule(m_keys.keymaps().cuaRule());
    document->setSettings(m_processor.editSettings());
    PaneServices services{m_processor, m_keys, m_keyState, m_options, m_syntax, m_contextMenu};
    auto* widget = new EditPaneWidget(services, std::move(document));
    widget->setAttribute(Qt::WA_DeleteOnClose, false);
    QMdiSubWindow* window = m_documentArea->addSubWindow(widget);
    window->setAttribute(Qt::WA_DeleteOnClose);
    const Document& doc = widget->document();
    window->setWindowTitle(doc.hasName() ? qText(doc.fileName()) : QString::fromLatin1(kUntitled));
    connect(widget, &EditPaneWidget::activated, this,
            [this](EditPaneWidget* pane) { m_processor.activatePane(&pane->pane()); });
    connect(widget, &EditPaneWidget::inputHandled, this, &MainWindow::updateIndicators);
    connect(widget, &QObject::destroyed, this,
            [this, pane = &widget->pane()] { m_processor.paneClosed(pane); });
    window->installEventFilter(this);
    window->show();
    m_documentArea->setActiveSubWindow(window);
    widget->setFocus();
    m_processor.activatePane(&widget->pane());
    return &widget->pane();
}

EditPane* MainWindow::newDocument() {
    auto document = std::make_unique<Document>();
    document->makeNew();
    return addWindow(std::move(document));
}

EditPane* MainWindow::openDocument(const std::string& path) {
    return openDocumentAt(path, 0);
}

EditPane* MainWindow::openDocumentAt(const std::string& path, int line) {
    if (path.empty()) {
        return newDocument();
    }
    const std::string full = platform::fullPath(path).value_or(path);
    EditPane* pane = nullptr;
    if (m_options.editor().multipleCopies == 0) {
        for (EditPaneWidget* widget : paneWidgets()) {
            if (widget->document().fileName() == full) {
                m_documentArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(widget->parentWidget()));
                m_processor.activatePane(&widget->pane());
                pane = &widget->pane();
                break;
            }
        }
    }
    if (pane == nullptr) {
        auto document = std::make_unique<Document>();
        document->setMessenger(this);
        document->setFileName(full);
        // With its language known before the load, the text is scanned for comments as it is read.
        document->setLanguageRules(m_syntax.profileForFile(full));
        DocumentFile file(fileOptions(), *this);
        if (!file.load(*document)) {
            status(formatText(file_messages::kNewFileCreated, document->namePart().c_str()),
                   platform::SoundKind::Exclamation);
        } else {
            status({}, platform::SoundKind::None); // the loading dots end with the load
        }
        pane = addWindow(std::move(document));
    }
    if (line > 0) {
        pane->document().goToLine(line - 1);
        pane->updateExtent();
        pane->bringCursorIntoView();
        pane->repaintChanged();
        m_statusLine.showEditPosition(static_cast<uint32_t>(pane->document().cursorLine()),
                                      pane->document().cursorColumn());
    }
    if (EditPaneWidget* widget = activePane()) {
        widget->syncCaret();
    }
    return pane;
}

bool MainWindow::confirmClose(EditPaneWidget& pane) {
    Document& document = pane.document();
    if (!document.isModified()) {
        return true;
    }
    const std::string name = document.hasName() ? document.namePart() : std::string(kUntitled);
    const Answer answer = ask(formatText(kSaveQuestion, name.c_str()), "Vexa", Question::YesNoCancel);
    if (answer == Answer::Cancel) {
        return false;
    }
    if (answer == Answer::No) {
        return true;
    }
    m_processor.activatePane(&pane.pane());
    (void)m_processor.execute(functionIdOf("FileSave"));
    return !document.isModified();
}

bool MainWindow::closeActive() {
    QMdiSubWindow* window = m_documentArea->activeSubWindow();
    auto* pane = window != nullptr ? qobject_cast<EditPaneWidget*>(window->widget()) : nullptr;
    if (pane == nullptr || !confirmClose(*pane)) {
        return false;
    }
    Document& document = pane->document();
    if (document.hasName()) {
        if (m_closingAll) {
            (void)m_history.recordStartupFile(document.fileName(), document.cursorLine());
        }
        m_history.addRecentFile(document.fileName());
        if (!m_closingAll) {
            refreshRecentFiles();
        }
    }
    m_processor.paneClosed(&pane->pane());
    // The window goes once the current event is handled: a key of this pane may have asked.
    m_documentArea->removeSubWindow(window);
    window->hide();
    window->deleteLater();
    if (QMdiSubWindow* next = m_documentArea->activeSubWindow()) {
        windowActivated(next);
    } else if (!m_documentArea->subWindowList().isEmpty()) {
        m_documentArea->activateNextSubWindow();
    } else {
        m_statusLine.clearAll();
    }
    return true;
}

std::string MainWindow::recentFile(int functionId) {
    return m_history.recentFile(static_cast<uint32_t>(functionId));
}

void MainWindow::exitApplication() {
    QTimer::singleShot(0, this, [this] { close(); });
}

void MainWindow::documentRenamed(Document& document, bool extensionChanged) {
    for (EditPaneWidget* pane : paneWidgets()) {
        if (&pane->document() != &document) {
            continue;
        }
        if (auto* window = qobject_cast<QMdiSubWindow*>(pane->parentWidget())) {
            window->setWindowTitle(qText(document.fileName()));
        }
        // A new extension may bring another colouring profile.
        if (extensionChanged) {
            pane->chooseProfile();
        }
    }
}

void MainWindow::windowActivated(QMdiSubWindow* window) {
    auto* pane = window != nullptr ? qobject_cast<EditPaneWidget*>(window->widget()) : nullptr;
    if (pane == nullptr) {
        return;
    }
    m_processor.activatePane(&pane->pane());
    const Document& doc = pane->document();
    updateIndicators();
    m_statusLine.showEditPosition(static_cast<uint32_t>(doc.cursorLine()), doc.cursorColumn());
}

void MainWindow::acceptHandOff(const std::optional<HandOff>& handOff) {
    if (isMinimized()) {
        showNormal();
    }
    raise();
    activateWindow();
    drainEvents();
    if (!handOff) {
        beep(platform::SoundKind::Exclamation);
        messageBox(formatText("Unexpected Vexa error at File: %s Line: %s", "VEXA",
                              std::to_string(__LINE__).c_str()));
        return;
    }
    if (!handOff->file.empty()) {
        BusyCursor busy(*this);
        (void)openDocumentAt(handOff->file, handOff->line);
    }
}

void MainWindow::openStartupFiles(std::span<const std::string> arguments) {
    if (m_options.editor().restoreFiles != 0) {
        for (const HandOff& entry : m_history.takeStartupFiles()) {
            (void)openDocumentAt(entry.file, entry.line);
        }
    }
    const StartupFiles files = collectStartupFiles(arguments);
    for (const std::string& name : files.names) {
        if (hasWildcards(name)) {
            const std::string directory(platform::directoryPart(name));
            for (const platform::FoundFile& found : platform::findFiles(name)) {
                (void)openDocumentAt(directory + found.name, 0);
            }
        } else if (platform::isRegularFile(name)) {
            (void)openDocumentAt(name, files.line);
        }
    }
    if (m_options.editor().restoreDirectory != 0 && !m_options.lastDirectoryUsed().empty()) {
        QDir::setCurrent(qText(m_options.lastDirectoryUsed()));
    }
}

// ---- idle work and re-activation ----

void MainWindow::idleBackup() {
    if (m_options.editor().autoBackup == 0 || m_closingAll) {
        return;
    }
    DocumentFile file(fileOptions(), *this);
    const auto now = static_cast<int64_t>(m_clock.tickCount());
    for (EditPaneWidget* pane : paneWidgets()) {
        (void)file.automaticBackup(pane->document(), now);
    }
}

void MainWindow::checkOutsideChanges() {
    if (m_checkingOutside) {
        return;
    }
    m_checkingOutside = true;
    DocumentFile file(fileOptions(), *this);
    for (EditPaneWidget* pane : paneWidgets()) {
        if (pane->document().hasName() && file.checkForOutsideChange(pane->document())) {
            pane->pane().updateExtent();
            pane->repaintAll();
        }
    }
    m_checkingOutside = false;
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        QTimer::singleShot(0, this, &MainWindow::checkOutsideChanges);
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    m_closingAll = true;
    for (QMdiSubWindow* window : m_documentArea->subWindowList()) {
        m_documentArea->setActiveSubWindow(window);
        if (!closeActive()) {
            m_closingAll = false;
            event->ignore();
            return;
        }
    }
    const QRect frame = geometry();
    FramePlacement placement{frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1,
                             isMaximized()   ? 3
                             : isMinimized() ? 2
                                             : 1};
    (void)m_history.writeFramePlacement(placement);
    (void)m_history.saveRecentFiles();
    closeSearchDialog();
    (void)m_processor.saveSearchState();
    event->accept();
}

// ---- the frame port ----

void MainWindow::status(std::string_view text, platform::SoundKind sound, Hold hold) {
    m_statusLine.showMessage(text, hold == Hold::Yes ? MessageTimeout::Keep : MessageTimeout::Clear,
                             MessageBeep::No);
    if (hold == Hold::Yes) {
        m_statusLine.setHold(true);
    }
    if (sound != platform::SoundKind::None) {
        beep(sound);
    }
}

void MainWindow::messageBox(std::string_view text, std::string_view title) {
    if (m_responder) {
        (void)m_responder(text, title);
        return;
    }
    QMessageBox::warning(this, qText(title), qText(text));
}

Answer MainWindow::ask(std::string_view text, std::string_view title, Question kind) {
    if (m_responder) {
        const Answer answer = m_responder(text, title);
        return kind == Question::YesNo && answer == Answer::Cancel ? Answer::No : answer;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (kind == Question::YesNoCancel) {
        buttons |= QMessageBox::Cancel;
    }
    switch (QMessageBox::question(this, qText(title), qText(text), buttons)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return Answer::No;
    }
}

void MainWindow::beginBusy() {
    if (m_busy++ == 0) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
}

void MainWindow::endBusy() {
    if (m_busy > 0 && --m_busy == 0) {
        QApplication::restoreOverrideCursor();
    }
}

void MainWindow::drainEvents() {
    // A long operation asks often (a load every 500 lines); handling events more often than
    // the screen can show a change only slows it down, and the window stays responsive anyway.
    constexpr qint64 kDrainIntervalMs = 40;
    if (m_lastDrain.isValid() && m_lastDrain.elapsed() < kDrainIntervalMs) {
        return;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    m_lastDrain.start();
}

namespace {

QString filterString(const std::vector<FileFilter>& filters) {
    QStringList parts;
    for (const FileFilter& filter : filters) {
        QString patterns = qText(filter.patterns);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        parts << QStringLiteral("%1 (%2)").arg(qText(filter.description), patterns);
    }
    return parts.join(QStringLiteral(";;"));
}

} // namespace

std::vector<std::string> MainWindow::chooseFilesToOpen(const FileDialogRequest& request) {
    if (m_fileChooser) {
        return m_fileChooser(request);
    }
    QFileDialog dialog(this, qText(request.title), qText(request.initialDirectory),
                       filterString(request.filters));
    dialog.setFileMode(request.selection == FileSelection::Several ? QFileDialog::ExistingFiles
                                                                   : QFileDialog::ExistingFile);
    std::vector<std::string> chosen;
    if (dialog.exec() == QDialog::Accepted) {
        for (const QString& file : dialog.selectedFiles()) {
            chosen.push_back(file.toLocal8Bit().toStdString());
        }
    }
    return chosen;
}

std::optional<std::string> MainWindow::chooseFileToSave(const FileDialogRequest& request) {
    if (m_fileChooser) {
        auto chosen = m_fileChooser(request);
        return chosen.empty() ? std::nullopt : std::optional<std::string>(chosen.front());
    }
    QFileDialog dialog(this, qText(request.title), qText(request.initialDirectory),
                       filterString(request.filters));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(qText(request.defaultExtension));
    if (!request.initialName.empty()) {
        dialog.selectFile(qText(request.initialName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front().toLocal8Bit().toStdString();
}

void MainWindow::beep(platform::SoundKind kind) {
    if (m_options.editor().makeSound != 0) {
        m_sound.beep(kind);
    }
}

Frame::TimerId MainWindow::startTimer(uint32_t intervalMs, std::function<void()> tick) {
    const TimerId id = m_nextTimer++;
    auto* timer = new QTimer(this);
    timer->setInterval(static_cast<int>(intervalMs));
    connect(timer, &QTimer::timeout, this, [tick = std::move(tick)] { tick(); });
    m_timers[id] = timer;
    timer->start();
    return id;
}

void MainWindow::stopTimer(TimerId id) {
    auto found = m_timers.find(id);
    if (found == m_timers.end()) {
        return;
    }
    found->second->stop();
    found->second->deleteLater();
    m_timers.erase(found);
}

DialogResult MainWindow::showDialog(DialogModel& model) {
    std::unique_ptr<QDialog> view = makeDialogView(model, this);
    if (view == nullptr) {
        messageBox(formatText("The dialog '%s' can not be shown.", std::string(model.title()).c_str()));
        return DialogResult::Cancelled;
    }
    const int code = m_dialogRunner ? m_dialogRunner(*view) : view->exec();
    return code == QDialog::Accepted ? DialogResult::Accepted : DialogResult::Cancelled;
}

void MainWindow::showSearchDialog(std::unique_ptr<SearchDialogSession> dialog) {
    closeSearchDialog();
    m_searchDialog = new SearchDialog(std::move(dialog), this);
    m_searchDialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_searchDialog, &QObject::destroyed, this, [this] { m_searchDialog = nullptr; });
    connect(m_searchDialog, &SearchDialog::searched, this, [this] {
        if (EditPaneWidget* pane = activePane()) {
            pane->syncCaret();
        }
        updateIndicators();
    });
    m_searchDialog->show();
}

void MainWindow::closeSearchDialog() {
    if (m_searchDialog != nullptr) {
        // Deleting the dialog closes its session, which writes the histories now.
        delete m_searchDialog;
        m_searchDialog = nullptr;
    }
}

QDialog* MainWindow::searchDialog() const {
    return m_searchDialog;
}

// ---- the status bar ----

void MainWindow::paneChanged(StatusPane pane, std::string_view text) {
    m_statusLabels[static_cast<std::size_t>(pane)]->setText(qText(text));
}

QString MainWindow::statusText(StatusPane pane) const {
    return m_statusLabels[static_cast<std::size_t>(pane)]->text();
}

QAction* MainWindow::action(uint32_t commandId) const {
    auto found = m_actions.find(commandId);
    return found != m_actions.end() ? found->second : nullptr;
}

} // namespace vexa::ui
