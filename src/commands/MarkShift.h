// Shifting the indentation of the marked lines by tab stops (Tab and TabBack over a mark).
#pragma once

#include "core/Document.h"

namespace vexa {

class MarkShift {
public:
    explicit MarkShift(Document& document) : m_document(document) {}

    // Moves every marked line's indentation by a number of columns (never below 0), rebuilding it
    // with tabs for whole tab stops when "UseTabs" is on; empty lines stay empty and the cursor
    // keeps its line and column. Every change goes through the document's undoable operations.
    void shiftLines(int columns);

private:
    Document& m_document;
};

} // namespace vexa
