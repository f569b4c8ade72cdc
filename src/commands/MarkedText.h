// Work on the marked area built from the document's operations: its text, deleting it, case changes.
#pragma once

#include <string>

#include "core/Document.h"

namespace vexa {

// Every change goes through the document's undoable operations, so one function that uses these
// still undoes in one step.
class MarkedText {
public:
    explicit MarkedText(Document& document) : m_document(document) {}

    // The marked text, pieces joined by CR LF: a line or column mark of several lines ends every
    // piece with CR LF, a stream has none after its last piece, a single line has none.
    std::string collect() const;
    // Deletes the marked text and removes the mark; the cursor ends at the area's start.
    void remove();
    // Changes the case of every marked character; the cursor stays where it was.
    void changeCase(CaseChange change);
    // Moves every marked line's indentation by a number of columns (never below 0), rebuilding it
    // with tabs for whole tab stops when "UseTabs" is on; empty lines stay empty.
    void shiftLines(int columns);

private:
    struct Piece {
        int line = 0;
        int fromColumn = 0;
        int toColumn = 0; // exclusive; -1 for the end of the line
    };
    template <typename Visit>
    void forEachPiece(Visit&& visit) const;

    Document& m_document;
};

} // namespace vexa
