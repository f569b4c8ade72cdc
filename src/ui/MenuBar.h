// The menus, the tool bar and the status bar of the Qt main window, with their refreshes: the key
// texts of the menu items, the recent files, the installed tools, the macro list and the window
// list. Every item and button runs its command through the main window; the status bar shows the
// status line.
#pragma once

#include <QObject>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "frame/Frame.h"
#include "frame/StatusLine.h"
#include "keyboard/MenuKeyTexts.h"

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QString;
class QToolBar;

namespace vexa {
class Editor;
class Options;
class StartupHistory;
class Workspace;
} // namespace vexa

namespace vexa::ui {

class KeyRoad;

class MenuBar final : public QObject, public StatusLineObserver {
    Q_OBJECT

public:
    // The editor is the main window's: null while it is being put together. The status bar is built
    // first, to show the messages of that time; the menus and the tool bar once the editor is there.
    // The window and the options outlive the bars. `runCommand` runs a menu command.
    MenuBar(QMainWindow& window, Options& options, const std::unique_ptr<Editor>& editor,
            std::function<void(uint32_t commandId)> runCommand);
    ~MenuBar() override;

    void buildStatusBar();
    void buildMenus();
    void buildToolBar();
    void refreshMenuKeyTexts();
    void refreshRecentFiles();
    // The installed tools at the end of the Tools menu, one item per tool in list order.
    void refreshToolsMenu();
    // Shows or hides the tool bar or the status bar.
    void showBar(FrameBar bar, bool visible);

    QToolBar* toolBar() const { return m_toolBar; }
    // The text a status-bar pane shows now.
    QString statusText(StatusPane pane) const;
    // The menu action of a command identifier; null when the menus have none.
    QAction* action(uint32_t commandId) const;
    QMenu* contextMenu() const { return m_contextMenu; }
    QMenu* windowMenu() const { return m_windowMenu; }

    // StatusLineObserver
    void paneChanged(StatusPane pane, std::string_view text) override;

private:
    // The editor's parts the menus show.
    StatusLine& statusLine() const;
    KeyRoad& keys() const;
    StartupHistory& history() const;
    Workspace& workspace() const;
    // The entries of the macro menu list after the fixed items of the Macros menu.
    void refreshMacroMenu();
    void refreshWindowList();
    void showHint(QAction* action);
    QAction* addCommandAction(QMenu& menu, const QString& text, uint32_t commandId);

    QMainWindow& m_window;
    Options& m_options;
    const std::unique_ptr<Editor>& m_editor;
    std::function<void(uint32_t)> m_runCommand;
    MenuBarTexts m_menuTexts;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_contextMenu = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    std::map<uint32_t, QAction*> m_actions;
    std::vector<QAction*> m_recentActions;
    QMenu* m_toolsMenu = nullptr;
    std::vector<QAction*> m_toolActions;
    QMenu* m_macrosMenu = nullptr;
    std::size_t m_macrosMenuIndex = 0;
    std::vector<QAction*> m_macroActions;
    std::vector<QAction*> m_windowListActions;
    std::array<QLabel*, kStatusPaneCount> m_statusLabels{};
};

} // namespace vexa::ui
