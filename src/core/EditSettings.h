// The editing settings a document works with, filled by the command layer from the options.
#pragma once

namespace vexa {

struct EditSettings {
    int tabSize = 3;                // "TabSize"
    bool useTabs = false;           // "UseTabs": fill gaps with tabs where a tab stop is crossed
    bool insertMode = true;         // "InsertMode": typed characters are inserted, not overwritten
    bool insertAfterCursor = false; // "InsertAfterCursor": new lines go below the cursor line
    bool briefCursor = false;       // "BriefCursor": after a column paste the cursor goes below it
};

} // namespace vexa
