// Fuzzing the recovery journal reader and its replay onto a document with arbitrary bytes.
#include <cstdint>
#include <string_view>

#include "core/Document.h"
#include "recovery/JournalFormat.h"
#include "recovery/JournalReplay.h"

namespace {

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

} // namespace

// Time and memory per input are bounded by its size: every entry is a frame of the input or a
// typed byte of one, and each replayed entry works on at most one line or one undo group.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const vexa::recovery::JournalContent content = vexa::recovery::readJournal(bytes);
    check(content.wholeBytes <= size);
    check(!content.complete || content.wholeBytes == size);
    check(content.header.has_value() || content.entries.empty());

    vexa::Document document;
    document.clearForLoad(0);
    document.appendLoadedLine("int main()");
    document.appendLoadedLine("{");
    document.appendLoadedLine("}");
    document.finishLoad();
    const vexa::recovery::ReplayResult result = vexa::recovery::replayJournal(document, content);
    check(result.applied + result.refused <= static_cast<int>(content.entries.size()));
    check(document.cursorLine() >= 0 && document.cursorLine() <= document.lineCount());
    check(document.cursorOffset() >= 0);
    if (document.cursorLine() < document.lineCount()) {
        const long long length = document.line(document.cursorLine()).length();
        check(document.cursorOffset() <= length + vexa::Document::kMaxPastEnd);
    }
    // Undo takes the edits back in any case.
    while (document.undo()) {
    }
    return 0;
}
