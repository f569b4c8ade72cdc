// Large files opened in the window load in slices: the window shows the first blocks at once and a
// timer reads the rest a few blocks at a time, from the top-level event loop only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "commands/CommandFamily.h"
#include "frame/Frame.h"

namespace vexa {

class Document;
class EditPane;
class FileLoad;
namespace platform {
class Clock;
class KeyState;
} // namespace platform

// The loads under way. Each belongs to a document window; the window's closing forgets its load.
// A slice runs only when the host says nothing runs below the top-level event loop, so no line is
// added under a function or a nested event loop that reads the document. While a load runs it is
// work the user waits for: Escape ("RunStop") stops it, and the document keeps what was read.
class DocumentLoads final : public CommandFamily {
public:
    struct Services {
        Frame& frame;
        const platform::Clock& clock;
        // Polled for Escape while a function waits for a load; may be null.
        platform::KeyState* keys = nullptr;
    };
    // `tick` is what the timer calls (the host's turn at the top level, which then calls slice).
    DocumentLoads(Services services, std::function<void()> tick);
    ~DocumentLoads() override;
    DocumentLoads(const DocumentLoads&) = delete;
    DocumentLoads& operator=(const DocumentLoads&) = delete;

    // The blocks a window's open reads before it shows the document, and each slice at most.
    static constexpr int kFirstBlocks = 4;
    static constexpr int kSliceBlocks = 64;
    // How long a slice reads at most (it ends after the block that passes it).
    static constexpr uint64_t kSliceMs = 25;
    // How often a function that waits for a load looks for Escape and shows the progress.
    static constexpr uint64_t kWaitPollMs = 40;

    // Files up to this size load whole before their window opens, as a file of a few tens of
    // megabytes is read in about a tenth of a second: their open costs nothing extra.
    static constexpr uint64_t kWholeLoadLimit = uint64_t{64} << 20;

    // Whether opens load in slices (the window's editor) or to the end (batch runs, tests).
    void setEnabled(bool enabled) { m_enabled = enabled; }
    bool enabled() const { return m_enabled; }
    // The size up to which a file loads whole (at least the first blocks).
    void setWholeLoadLimit(uint64_t bytes) { m_wholeLoadLimit = bytes; }
    // Whether a file of this many bytes is shown before its load is complete.
    bool inSlices(uint64_t fileSize) const;

    // Takes over a started load whose first blocks are in the pane's document. `keepReadOnly`: the
    // document stays read only once complete (another editor has the file).
    void add(EditPane& pane, std::unique_ptr<FileLoad> load, bool keepReadOnly);
    bool isLoading(const Document& document) const;
    // One slice of each running load, with its progress shown; the panes whose load ended (complete
    // or stopped) since the last slice, which the host then reports.
    struct Ended {
        EditPane* pane;
        bool complete;
    };
    [[nodiscard]] std::vector<Ended> slice();
    // See DocumentWindows::waitForLines.
    bool waitForLines(Document& document, int lines);
    // The pane's window closes: its load ends without a word.
    void forget(const EditPane& pane);

    // CommandFamily: no function of its own; a running load is work Escape stops.
    bool claims(FunctionId) const override { return false; }
    int32_t run(FunctionId) override { return 0; }
    bool hasForegroundWork() override;
    // Stops the load of the active window, else the newest one.
    bool stopForegroundWork() override;
    // The window the user works in: its load is the one Escape stops and whose progress is shown.
    void setActive(const EditPane* pane) { m_active = pane; }

private:
    struct Load {
        EditPane* pane;
        std::unique_ptr<FileLoad> file;
        bool keepReadOnly = false;
        bool ended = false;
        int shownPercent = -1;
    };
    Load* find(const Document& document);
    // Reads one block; false once the load has ended (the end state applied).
    bool step(Load& load);
    void end(Load& load);
    void showProgress(Load& load);
    void stop(Load& load);
    void updateTimer();

    Services m_services;
    std::function<void()> m_tick;
    std::vector<std::unique_ptr<Load>> m_loads; // oldest first
    std::optional<Frame::TimerId> m_timer;
    const EditPane* m_active = nullptr;
    bool m_enabled = false;
    uint64_t m_wholeLoadLimit = kWholeLoadLimit;
};

} // namespace vexa
