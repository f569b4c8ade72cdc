// A copy of a document's text taken a slice at a time while the document goes on being edited.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "core/EditRecordValue.h"
#include "recovery/JournalFormat.h"

namespace vexa {
class Document;
}

namespace vexa::recovery {

// The lines are copied from the first on, a slice per call, so that no call holds the editor's
// thread for long. Every edit made meanwhile is followed: lines inserted or removed above the
// point reached are inserted or removed in the copy, and a copied line that changed is marked and
// copied again at the end. The finished copy is the text as it is when it is finished.
class SnapshotSlices {
public:
    // A slice is at most this many lines, and ends after the line that passes this many bytes.
    static constexpr std::size_t kSliceLines = 4096;
    static constexpr std::size_t kSliceBytes = 1 << 20;

    explicit SnapshotSlices(std::size_t sliceLines = kSliceLines) : m_sliceLines(sliceLines) {}

    // Copies the next slice; true when every line has been copied.
    bool copyNext(const Document& document);
    // An edit the document made after the copy began (a record value as it ran).
    void follow(const EditRecordFields& record);
    // The copy (what is left copied first), its changed lines copied again, in runs of lines.
    std::vector<std::vector<SnapshotLine>> finish(const Document& document);

    int copiedLines() const { return m_copied; }

private:
    struct Run {
        std::vector<SnapshotLine> lines;
        std::vector<bool> stale;
    };
    // The run holding a copied line and the line's place in it.
    std::pair<std::size_t, std::size_t> locate(int index) const;
    void insert(int index);
    void erase(int index);
    void markStale(int index);

    std::size_t m_sliceLines;
    std::vector<Run> m_runs;
    int m_copied = 0;
};

} // namespace vexa::recovery
