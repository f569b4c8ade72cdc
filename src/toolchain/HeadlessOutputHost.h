// The output windows of runs without a window: nothing is shown; what was asked is counted.
#pragma once

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

} // namespace vexa::toolchain
