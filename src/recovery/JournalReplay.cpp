// Replaying a journal's records, undo and redo steps on a document.
#include "recovery/JournalReplay.h"

#include "core/Document.h"
#include "core/EditRecord.h"

namespace vexa::recovery {

namespace {

constexpr int kMaxMarkColumn = 1 << 24;

bool pointFits(const Document& document, MarkPoint point) {
    return point.line >= 0 && point.line <= document.lineCount() && point.column >= 0 &&
           point.column <= kMaxMarkColumn;
}

// The records whose execute trusts its caller are checked here: a journal may come from anywhere.
bool fits(const Document& document, const EditRecordValue& value) {
    switch (value.kind) {
    case EditRecordValue::Kind::MoveColumn:
        return value.line >= 0 &&
               value.line ==
                   Document::clampCursorOffset(value.line, document.line(document.cursorLine()).length());
    case EditRecordValue::Kind::GoToLine:
        return value.line >= 0 && value.line <= document.lineCount();
    case EditRecordValue::Kind::Mark:
        return pointFits(document, value.mark.anchor) && pointFits(document, value.mark.moving);
    default:
        return true;
    }
}

void loadSnapshot(Document& document, const JournalContent& content, const JournalEntry& snapshot) {
    document.clearForLoad(0);
    for (const SnapshotLine& line : snapshot.lines) {
        document.appendLoadedLine(line.bytes, line.otherLineEnd);
    }
    if (snapshot.lines.empty()) {
        document.appendLoadedLine({});
    }
    document.setEncoding(content.header->encoding);
    document.setLineEnds(content.header->lineEnds);
    document.setByteOrderMark(content.header->byteOrderMark);
    document.finishLoad();
    document.markRestored();
}

} // namespace

ReplayResult replayJournal(Document& document, const JournalContent& content) {
    ReplayResult result;
    if (!content.header) {
        return result;
    }
    bool started = false;
    int lastGroup = 0;
    for (const JournalEntry& entry : content.entries) {
        switch (entry.kind) {
        case JournalEntry::Kind::Snapshot:
            loadSnapshot(document, content, entry);
            ++result.applied;
            break;
        case JournalEntry::Kind::Undo:
            if (document.undo()) {
                ++result.applied;
            }
            break;
        case JournalEntry::Kind::Redo:
            if (document.redo()) {
                ++result.applied;
            }
            break;
        case JournalEntry::Kind::Flush:
            document.flushUndo();
            started = false; // the store numbers its groups from the start again
            ++result.applied;
            break;
        case JournalEntry::Kind::Encoding:
            document.switchEncoding(entry.encoding());
            ++result.applied;
            break;
        case JournalEntry::Kind::LineEnds:
            document.changeLineEnds(entry.lineEnds());
            ++result.applied;
            break;
        case JournalEntry::Kind::Record: {
            // The journal's groups are numbered as the editor that wrote it numbered them; what
            // matters is which records share one.
            if (!started || entry.group != lastGroup) {
                document.nextGroup();
                started = true;
                lastGroup = entry.group;
            }
            if (!fits(document, entry.value)) {
                ++result.refused;
                break;
            }
            EditObserver* observer = document.editObserver();
            if (observer != nullptr) {
                observer->beforeRecord();
            }
            std::unique_ptr<EditRecord> record = makeEditRecord(entry.value);
            if (record == nullptr || !record->execute(document)) {
                ++result.refused;
                break;
            }
            document.undoStore().record(std::move(record));
            if (observer != nullptr) {
                observer->recorded(entry.value.view(), document.undoStore().currentGroup());
            }
            ++result.applied;
            break;
        }
        }
    }
    return result;
}

} // namespace vexa::recovery
