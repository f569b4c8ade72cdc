// The Find in Files editor function: the dialog, then a search whose results stream into the
// "Search Results" output window while the editor stays responsive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/CommandFamily.h"
#include "findfiles/FolderSearchWorker.h"
#include "frame/Frame.h"

namespace vexa {
class CommandProcessor;
namespace platform {
class KeyState;
}
namespace toolchain {
class OutputWindows;
}
} // namespace vexa

namespace vexa::findfiles {

inline constexpr const char* kSearchProgress =
    "Find in Files: %zu files searched, %zu matching lines (Esc stops)";
inline constexpr std::string_view kSearchStopped = "Find in Files was stopped; the results so far are kept.";
// How often the running search hands its news to the window.
inline constexpr uint32_t kSearchTickMs = 40;
// How many lines of open documents are searched per tick on the UI thread.
inline constexpr int kDocumentLinesPerTick = 20000;

class FindInFilesCommands final : public CommandFamily {
public:
    FindInFilesCommands(CommandProcessor& processor, toolchain::OutputWindows& outputs,
                        platform::KeyState* keys);
    ~FindInFilesCommands() override;
    FindInFilesCommands(const FindInFilesCommands&) = delete;
    FindInFilesCommands& operator=(const FindInFilesCommands&) = delete;

    bool claims(FunctionId id) const override;
    int32_t run(FunctionId id) override;
    // A running search is work the user waits for: "RunStop" and Escape stop it.
    bool hasForegroundWork() override { return isRunning(); }
    bool stopForegroundWork() override { return stop(); }

    // Starts a search without the dialog (the dialog's Find calls this too); a running one is
    // stopped first. False when the request cannot search (the reason on the status line).
    bool start(FolderSearchRequest request);
    // Ends a running search at once, keeping its results. False when none runs.
    bool stop();
    [[nodiscard]] bool isRunning() const { return m_worker != nullptr; }
    // One step of a running search, as its timer does: takes what the worker found, searches a
    // slice of the open documents, shows progress, and finishes once all is done.
    void tick();

private:
    struct OpenDocument {
        std::string path;
        std::string relativePath;
    };
    void searchDocumentSlice();
    void finish(bool stopped);
    void addResult(const std::string& relativePath, const std::string& fullPath, const ResultLine& line);

    CommandProcessor& m_processor;
    toolchain::OutputWindows& m_outputs;
    platform::KeyState* m_keys;
    FolderSearchRequest m_request;
    std::unique_ptr<LineFinder> m_finder;
    std::vector<OpenDocument> m_documents;
    std::size_t m_documentIndex = 0;
    int m_documentLine = 0;
    SearchTotals m_documentTotals;
    std::size_t m_files = 0;
    std::size_t m_lines = 0;
    std::optional<Frame::TimerId> m_timer;
    std::unique_ptr<FolderSearchWorker> m_worker;
};

} // namespace vexa::findfiles
