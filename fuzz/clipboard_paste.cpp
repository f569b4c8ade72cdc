// Fuzzing the paste of clipboard text another program put there: any bytes, any private mark type.
#include <cstdint>
#include <cstring>
#include <string>

#include "core/Document.h"
#include "core/MarkedArea.h"
#include "platform/Clipboard.h"

namespace {

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

} // namespace

// The first byte chooses the settings and whether a mark type is present, the next four give the
// mark type; the rest is the clipboard text. The paste must leave no line end inside a line and
// be undone to the text it started from.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) {
        return 0;
    }
    const uint8_t choice = data[0];
    int32_t markType = 0;
    std::memcpy(&markType, data + 1, sizeof markType);
    const std::string text(reinterpret_cast<const char*>(data + 5), size - 5);

    vexa::platform::MemoryClipboard clipboard;
    if ((choice & 1) != 0) {
        check(clipboard.put(text, markType));
    } else {
        clipboard.putForeignText(text);
    }
    vexa::Document document;
    vexa::EditSettings settings;
    settings.insertMode = (choice & 2) != 0;
    settings.insertAfterCursor = (choice & 4) != 0;
    settings.briefCursor = (choice & 8) != 0;
    settings.useTabs = (choice & 16) != 0;
    document.setSettings(settings);
    document.makeNew();
    document.insertText("one\ttwo");
    document.setCursorOffset((choice >> 5) * 2);
    document.undoStore().flush();
    const std::string before = document.text();

    vexa::MarkedArea area(document, clipboard);
    (void)area.paste((choice & 128) != 0 ? vexa::MarkType::Stream : vexa::MarkType::None);
    document.nextGroup();
    for (int i = 0; i < document.lineCount(); ++i) {
        const std::string_view line = document.lineText(i);
        check(line.find('\n') == std::string_view::npos);
    }
    check(document.cursorOffset() <= document.currentLine().length() + vexa::Document::kMaxPastEnd);
    while (document.undo()) {
    }
    check(document.text() == before);
    return 0;
}
