// The menus, the tool bar and the status bar of the Qt main window.
#include "ui/MenuBar.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "commands/FunctionTable.h"
#include "commands/MenuTable.h"
#include "commands/NotYetBuilt.h"
#include "session/Editor.h"
#include "settings/Options.h"
#include "ui/ElidedLabel.h"
#include "ui/Windows1252.h"

namespace vexa::ui {
namespace {

// Messages, titles and file names: UTF-8 when they are valid UTF-8 (file names, find texts),
// otherwise the Windows-1252 characters of their bytes.
QString qText(std::string_view text) {
    return fromExternalText(text);
}

// The widest text each indicator pane shows: a pane is as wide as that (and hidden while it shows
// nothing), and the message pane takes the rest of the bar.
constexpr std::array<const char*, kStatusPaneCount> kPaneSamples{
    "",    "CHG",  " RO",  " WRAP",    "REC", "OVR ", "UTF-8 LF+CRLF", " L:00000 C:0000",
    "NUM", "CAPS", "SCRL", " 00:00 PM"};

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

MenuBar::MenuBar(QMainWindow& window, Options& options, const std::unique_ptr<Editor>& editor,
                 std::function<void(uint32_t commandId)> runCommand)
    : m_window(window), m_options(options), m_editor(editor), m_runCommand(std::move(runCommand)) {}

MenuBar::~MenuBar() = default;

StatusLine& MenuBar::statusLine() const {
    return m_editor->statusLine();
}

KeyRoad& MenuBar::keys() const {
    return m_editor->keys();
}

StartupHistory& MenuBar::history() const {
    return m_editor->history();
}

Workspace& MenuBar::workspace() const {
    return m_editor->workspace();
}

// ---- building ----

QAction* MenuBar::addCommandAction(QMenu& menu, const QString& text, uint32_t commandId) {
    QAction* action = menu.addAction(text);
    action->setData(commandId);
    action->setEnabled(!isNotYetBuilt(static_cast<FunctionId>(commandId)));
    connect(action, &QAction::triggered, this, [this, commandId] { m_runCommand(commandId); });
    return action;
}

void MenuBar::buildMenus() {
    m_menuTexts = menuBarTexts(mainMenuBar());
    const auto menus = mainMenuBar();
    for (std::size_t m = 0; m < menus.size(); ++m) {
        QMenu* menu = m_window.menuBar()->addMenu(qText(menus[m].title));
        connect(menu, &QMenu::hovered, this, &MenuBar::showHint);
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
            connect(menu, &QMenu::aboutToShow, this, &MenuBar::refreshWindowList);
        }
    }
    m_contextMenu = new QMenu(&m_window);
    connect(m_contextMenu, &QMenu::hovered, this, &MenuBar::showHint);
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

void MenuBar::refreshToolsMenu() {
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
        m_toolActions.push_back(
            addCommandAction(*m_toolsMenu, qText(texts[i]), toolchain::toolFunctionId(i)));
    }
}

void MenuBar::refreshMacroMenu() {
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

void MenuBar::refreshMenuKeyTexts() {
    rewriteMenuKeyTexts(m_menuTexts, 0, keys().keymaps().keymap(), m_editor->prefixes());
    for (const auto& menu : m_menuTexts) {
        for (const MenuItemText& item : menu) {
            if (auto found = m_actions.find(item.commandId); found != m_actions.end()) {
                found->second->setText(qText(item.text));
            }
        }
    }
}

void MenuBar::refreshRecentFiles() {
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
        connect(item, &QAction::triggered, this, [this, commandId] { m_runCommand(commandId); });
        m_fileMenu->insertAction(before, item);
        m_recentActions.push_back(item);
    }
    QAction* separator = new QAction(m_fileMenu);
    separator->setSeparator(true);
    m_fileMenu->insertAction(before, separator);
    m_recentActions.push_back(separator);
}

void MenuBar::refreshWindowList() {
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

void MenuBar::buildToolBar() {
    m_toolBar = m_window.addToolBar(QStringLiteral("Standard"));
    m_toolBar->setObjectName(QStringLiteral("StandardToolBar"));
    for (const ToolBarButton& button : toolBarButtons()) {
        if (button.id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* item = m_toolBar->addAction(QString::fromLatin1(button.text));
        if (button.icon != ToolBarIcon::None) {
            item->setIcon(m_window.style()->standardIcon(pixmapOf(button.icon)));
        }
        item->setToolTip(qText(commandHint(button.id)));
        item->setData(button.id);
        const uint32_t id = button.id;
        connect(item, &QAction::triggered, this, [this, id] { m_runCommand(id); });
    }
    m_toolBar->setVisible(m_options.editor().toolBar != 0);
}

void MenuBar::buildStatusBar() {
    QStatusBar* bar = m_window.statusBar();
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

void MenuBar::showHint(QAction* action) {
    const uint32_t id = action->data().toUInt();
    statusLine().showMessage(commandHint(id), MessageTimeout::Keep, MessageBeep::No);
}

void MenuBar::showBar(FrameBar bar, bool visible) {
    if (bar == FrameBar::ToolBar) {
        m_toolBar->setVisible(visible);
    } else {
        m_window.statusBar()->setVisible(visible);
    }
}

// ---- the status bar ----

void MenuBar::paneChanged(StatusPane pane, std::string_view text) {
    QLabel* label = m_statusLabels[static_cast<std::size_t>(pane)];
    if (pane == StatusPane::Message) {
        static_cast<ElidedLabel*>(label)->setFullText(qText(text));
    } else {
        label->setText(qText(text));
        // An indicator that shows nothing takes no room from the message.
        label->setVisible(!text.empty());
    }
}

QString MenuBar::statusText(StatusPane pane) const {
    if (pane == StatusPane::Message) {
        return static_cast<const ElidedLabel*>(m_statusLabels[0])->fullText();
    }
    return m_statusLabels[static_cast<std::size_t>(pane)]->text();
}

QAction* MenuBar::action(uint32_t commandId) const {
    auto found = m_actions.find(commandId);
    return found != m_actions.end() ? found->second : nullptr;
}

} // namespace vexa::ui
