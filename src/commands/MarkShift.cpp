// Shifting the indentation of the marked lines by tab stops.
#include "commands/MarkShift.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace vexa {

namespace {

int leadingBlanks(std::string_view text) {
    int count = 0;
    while (count < static_cast<int>(text.size()) && (text[count] == ' ' || text[count] == '\t')) {
        ++count;
    }
    return count;
}

} // namespace

void MarkShift::shiftLines(int columns) {
    if (!m_document.hasMark()) {
        return;
    }
    const int first = m_document.mark().firstLine();
    const int last = m_document.mark().lastLine();
    const int line = m_document.cursorLine();
    const int column = m_document.cursorColumn();
    const EditSettings& settings = m_document.settings();
    const int tabSize = std::max(settings.tabSize, 1);
    // Replaying keeps the mark in place while the cursor walks over its lines.
    ReplayingScope replaying(m_document);
    for (int index = first; index <= last && index < m_document.lineCount(); ++index) {
        const DocLine& current = m_document.line(index);
        if (current.empty()) {
            continue;
        }
        const int blanks = leadingBlanks(current.text());
        const int width = current.columnOfOffset(blanks, m_document.layout());
        const int target = std::max(0, width + columns);
        std::string fill;
        int filled = 0;
        if (settings.useTabs) {
            while ((filled / tabSize + 1) * tabSize <= target) {
                fill.push_back('\t');
                filled = (filled / tabSize + 1) * tabSize;
            }
        }
        fill.append(static_cast<std::size_t>(target - filled), ' ');
        m_document.moveToLine(index);
        m_document.setCursorOffset(0);
        if (blanks > 0) {
            m_document.deleteBytes(blanks);
        }
        m_document.insertText(fill);
    }
    m_document.moveToLine(line);
    m_document.setCursorColumn(column);
}

} // namespace vexa
