// Printing what the output windows receive, for runs without a window.
#include "toolchain/HeadlessOutputHost.h"

#include <algorithm>

namespace vexa::toolchain {

void PrintingOutputHost::outputLinesChanged(OutputWindow& window) {
    Followed& followed = m_followed.at(static_cast<std::size_t>(window.kind()));
    if (followed.clears != window.clearCount() || followed.printed > window.lineCount()) {
        followed = Followed{window.clearCount(), window.headerLineCount()};
    }
    followed.printed = std::max(followed.printed, window.headerLineCount());
    const std::vector<OutputLine>& lines = window.lines();
    for (; followed.printed < lines.size(); ++followed.printed) {
        m_out << lines[followed.printed].text << '\n';
    }
    m_out.flush();
    if (window.classifies() && window.errorSeen()) {
        m_errorsSeen = true;
    }
}

} // namespace vexa::toolchain
