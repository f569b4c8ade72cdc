// Copying a document's text in slices while it is edited.
#include "recovery/SnapshotSlices.h"

#include "core/Document.h"

namespace vexa::recovery {

namespace {

SnapshotLine copyOf(const Document& document, int index) {
    return {std::string(document.lineText(index)), document.line(index).hasOtherLineEnd()};
}

} // namespace

bool SnapshotSlices::copyNext(const Document& document) {
    Run run;
    std::size_t bytes = 0;
    while (m_copied < document.lineCount() && run.lines.size() < m_sliceLines && bytes < kSliceBytes) {
        run.lines.push_back(copyOf(document, m_copied));
        bytes += run.lines.back().bytes.size();
        ++m_copied;
    }
    if (!run.lines.empty()) {
        run.stale.assign(run.lines.size(), false);
        m_runs.push_back(std::move(run));
    }
    return m_copied >= document.lineCount();
}

std::pair<std::size_t, std::size_t> SnapshotSlices::locate(int index) const {
    auto rest = static_cast<std::size_t>(index);
    for (std::size_t run = 0; run < m_runs.size(); ++run) {
        if (rest < m_runs[run].lines.size()) {
            return {run, rest};
        }
        rest -= m_runs[run].lines.size();
    }
    // Just past the last copied line: the end of the last run.
    return {m_runs.empty() ? 0 : m_runs.size() - 1, m_runs.empty() ? 0 : m_runs.back().lines.size()};
}

void SnapshotSlices::insert(int index) {
    const auto [run, at] = locate(index);
    Run& target = m_runs[run];
    target.lines.insert(target.lines.begin() + static_cast<std::ptrdiff_t>(at), SnapshotLine{});
    target.stale.insert(target.stale.begin() + static_cast<std::ptrdiff_t>(at), true);
    ++m_copied;
    // A run that grew too long is cut in two, so that inserting stays cheap.
    if (target.lines.size() > 2 * m_sliceLines) {
        const auto half = static_cast<std::ptrdiff_t>(target.lines.size() / 2);
        Run tail;
        tail.lines.assign(std::make_move_iterator(target.lines.begin() + half),
                          std::make_move_iterator(target.lines.end()));
        tail.stale.assign(target.stale.begin() + half, target.stale.end());
        target.lines.erase(target.lines.begin() + half, target.lines.end());
        target.stale.erase(target.stale.begin() + half, target.stale.end());
        m_runs.insert(m_runs.begin() + static_cast<std::ptrdiff_t>(run) + 1, std::move(tail));
    }
}

void SnapshotSlices::erase(int index) {
    const auto [run, at] = locate(index);
    Run& target = m_runs[run];
    target.lines.erase(target.lines.begin() + static_cast<std::ptrdiff_t>(at));
    target.stale.erase(target.stale.begin() + static_cast<std::ptrdiff_t>(at));
    if (target.lines.empty()) {
        m_runs.erase(m_runs.begin() + static_cast<std::ptrdiff_t>(run));
    }
    --m_copied;
}

void SnapshotSlices::markStale(int index) {
    const auto [run, at] = locate(index);
    m_runs[run].stale[at] = true;
}

void SnapshotSlices::follow(const EditRecordFields& record) {
    using Kind = EditRecordValue::Kind;
    const int line = record.line;
    if (line < 0) {
        return;
    }
    // Lines from the point reached on are copied later as they then are: only edits above it
    // change the copy.
    switch (record.kind) {
    case Kind::ReplaceBytes:
    case Kind::OverwriteCharacter:
        if (line < m_copied) {
            markStale(line);
        }
        break;
    case Kind::InsertLine:
        if (line < m_copied) {
            insert(line);
        }
        break;
    case Kind::SplitLine:
        if (line < m_copied) {
            markStale(line);
            insert(line + 1);
        }
        break;
    case Kind::JoinLine:
        if (line < m_copied) {
            markStale(line);
            if (line + 1 < m_copied) {
                erase(line + 1);
            }
        }
        break;
    case Kind::DeleteLine:
        if (line < m_copied) {
            erase(line);
        }
        break;
    case Kind::MoveColumn:
    case Kind::GoToLine:
    case Kind::Mark:
        break;
    }
}

std::vector<std::vector<SnapshotLine>> SnapshotSlices::finish(const Document& document) {
    while (!copyNext(document)) {
    }
    int index = 0;
    std::vector<std::vector<SnapshotLine>> lines;
    lines.reserve(m_runs.size());
    for (Run& run : m_runs) {
        for (std::size_t i = 0; i < run.lines.size(); ++i, ++index) {
            if (run.stale[i]) {
                run.lines[i] = copyOf(document, index);
            }
        }
        lines.push_back(std::move(run.lines));
    }
    m_runs.clear();
    m_copied = 0;
    return lines;
}

} // namespace vexa::recovery
