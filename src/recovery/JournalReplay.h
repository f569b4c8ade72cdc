// Bringing a journal's edits back onto a document.
#pragma once

#include <cstddef>

#include "recovery/JournalFormat.h"

namespace vexa {
class Document;
}

namespace vexa::recovery {

struct ReplayResult {
    int applied = 0; // entries that ran
    int refused = 0; // records that did not fit the text (skipped)
};

// Runs the journal's entries on a document holding the text they start from: the file the
// header names, loaded (undo then works back to it), or anything at all when the journal starts
// with a snapshot, which replaces the text (undo works back to the snapshot). The replayed
// edits go through the document's undo store and its edit observer as the original ones did.
ReplayResult replayJournal(Document& document, const JournalContent& content);

} // namespace vexa::recovery
