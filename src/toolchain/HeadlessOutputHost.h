// The output windows of runs without a window: nothing is shown; what was asked is counted, or
// the lines the windows receive are printed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <vector>

#include "toolchain/OutputWindows.h"

namespace vexa::toolchain {

class HeadlessOutputHost final : public OutputWindowHost {
public:
    void showOutputWindow(OutputWindow& window) override { shown.push_back(window.kind()); }
    void outputLinesChanged(OutputWindow& /*window*/) override { ++lineChanges; }
    void outputSelectionChanged(OutputWindow& /*window*/) override { ++selectionChanges; }

    std::vector<OutputKind> shown;
    int lineChanges = 0;
    int selectionChanges = 0;
};

// vexa-batch's output windows: every line a window receives after its header is written to the
// stream once, as it arrives; a window that is cleared and filled again is followed from its new
// header on. A compile or make that ended with errors is remembered.
class PrintingOutputHost final : public OutputWindowHost {
public:
    explicit PrintingOutputHost(std::ostream& out) : m_out(out) {}

    void showOutputWindow(OutputWindow& /*window*/) override {}
    void outputLinesChanged(OutputWindow& window) override;
    void outputSelectionChanged(OutputWindow& /*window*/) override {}

    // Whether a compiler or project window was filled with errors (error lines or a failing
    // status).
    bool errorsSeen() const { return m_errorsSeen; }

private:
    struct Followed {
        uint64_t clears = 0;
        std::size_t printed = 0;
    };

    std::ostream& m_out;
    std::array<Followed, 4> m_followed{};
    bool m_errorsSeen = false;
};

} // namespace vexa::toolchain
