// The Find or Replace dialog model offered to the frame as the dialog it shows.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "commands/ProcessorMessenger.h"
#include "frame/SearchDialogSession.h"

namespace vexa {

class CommandProcessor;
class ReplaceDialogModel;
class SearchDialogModel;
class SearchState;

// Opening copies the search state (for Cancel) and reads the histories from the configuration
// directory. Each button works on the processor's active pane at the time it is pressed, and
// what a button changed forms one undo group of its own.
class SearchDialogBridge final : public SearchDialogSession {
public:
    SearchDialogBridge(CommandProcessor& processor, SearchState& state, SearchDialogKind kind,
                       const std::string& configDirectory);
    ~SearchDialogBridge() override;
    SearchDialogBridge(const SearchDialogBridge&) = delete;
    SearchDialogBridge& operator=(const SearchDialogBridge&) = delete;

    [[nodiscard]] SearchDialogKind kind() const override;
    [[nodiscard]] SearchDialogControls controls() const override;
    void setControls(const SearchDialogControls& controls) override;
    [[nodiscard]] std::vector<std::string> findHistory() const override;
    [[nodiscard]] std::vector<std::string> replaceHistory() const override;
    [[nodiscard]] bool findNextEnabled() const override;
    bool findNext() override;
    int replace() override;
    void cancel() override;
    [[nodiscard]] bool close() override;

private:
    void closeUndoGroup();

    CommandProcessor& m_processor;
    // Declared before the models, which keep a reference to it.
    ProcessorMessenger m_messenger;
    std::unique_ptr<SearchDialogModel> m_model;
    // The same model when this is the Replace dialog.
    ReplaceDialogModel* m_replace = nullptr;
};

} // namespace vexa
