// The window's share of searching: the search state with its settings, the Find dialog, and the
// find functions run against the active pane.
#pragma once

#include <functional>
#include <memory>

#include "commands/SearchState.h"

class QDialog;
class QWidget;

namespace vexa {
class Messenger;
class SearchPaneAdapter;
class SettingsFile;
} // namespace vexa

namespace vexa::ui {

class EditPaneWidget;
class FindDialog;

class SearchController {
public:
    SearchController(Messenger& messenger, SettingsFile& settings, std::string configDirectory,
                     std::function<EditPaneWidget*()> activePane, QWidget* dialogParent);
    ~SearchController();
    SearchController(const SearchController&) = delete;
    SearchController& operator=(const SearchController&) = delete;

    SearchState& state() { return m_state; }
    // The open Find dialog; null when none is open.
    QDialog* findDialog() const;

    // SearchWordCurrent: the word or one-line mark at the cursor becomes the find text, then the
    // Find dialog opens.
    void searchWordCurrent();
    // ReplaceWordCurrent: as above, with the Replace dialog.
    void replaceWordCurrent();
    // SearchNext and SearchPrevious.
    void searchAgain(bool forward);
    // Writes the search settings (at exit).
    bool save();

private:
    SearchPane* pane();
    void takeFindText();
    // The pane a dialog button works on, with the caret brought along after it.
    SearchPane* paneForDialog();
    void show(FindDialog* dialog);

    Messenger& m_messenger;
    SettingsFile& m_settings;
    std::string m_configDirectory;
    std::function<EditPaneWidget*()> m_activePane;
    QWidget* m_dialogParent;
    SearchState m_state;
    std::unique_ptr<SearchPaneAdapter> m_pane;
    FindDialog* m_dialog = nullptr;
};

} // namespace vexa::ui
