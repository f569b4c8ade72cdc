// Helpers of the core tests: documents made from lines, and snapshots of their whole state.
#pragma once

#include <string>
#include <vector>

#include "core/Document.h"

namespace vexa::test {

// Fills a document as loading does: the lines read the document's load buffer.
inline void setLines(Document& document, const std::vector<std::string>& lines) {
    document.clearForLoad(0);
    for (const auto& line : lines) {
        document.appendLoadedLine(line);
    }
    document.rescanComments();
}

inline std::vector<std::string> linesOf(const Document& document) {
    std::vector<std::string> lines;
    for (int i = 0; i < document.lineCount(); ++i) {
        lines.emplace_back(document.lineText(i));
    }
    return lines;
}

// Everything an undo must restore.
struct Snapshot {
    std::vector<std::string> lines;
    int cursorLine = 0;
    int cursorOffset = 0;
    MarkState mark;
    int modifications = 0;

    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

inline Snapshot snapshot(const Document& document) {
    return {linesOf(document), document.cursorLine(), document.cursorOffset(), document.mark(),
            document.modificationCount()};
}

inline std::string describe(const Snapshot& s) {
    std::string text = "cursor " + std::to_string(s.cursorLine) + ":" + std::to_string(s.cursorOffset) +
                       " mark " + std::to_string(static_cast<int>(s.mark.type)) + " (" +
                       std::to_string(s.mark.anchor.line) + "," + std::to_string(s.mark.anchor.column) +
                       ")-(" + std::to_string(s.mark.moving.line) + "," +
                       std::to_string(s.mark.moving.column) + ")" + (s.mark.active ? " active" : "") +
                       " mods " + std::to_string(s.modifications) + " lines:";
    for (const auto& line : s.lines) {
        text += " [" + line + "]";
    }
    return text;
}

} // namespace vexa::test
