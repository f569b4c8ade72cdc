// Fuzzes the settings text reader: any bytes parse, look up, change and read back consistently.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/SettingsText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    vexa::SettingsText text = vexa::SettingsText::parse(bytes);

    (void)text.getString("Editor Options", "Keymap", "<Default Keymap>", 51);
    (void)text.getInteger("Editor Options", "TabSize", 3);
    (void)text.hasSection("Font Details");

    // A value written into any text must be the value read back, and the change must survive a
    // serialize and re-parse without disturbing an unrelated key.
    auto before = text.find("Searching", "FindText");
    std::string value(bytes.substr(0, 40));
    if (!text.putString("Editor Options", "Keymap", value)) {
        std::abort();
    }
    vexa::SettingsText reread = vexa::SettingsText::parse(text.serialize());
    auto after = reread.find("Editor Options", "Keymap");
    std::string expected = value;
    for (char& c : expected) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    if (after != expected || reread.find("Searching", "FindText") != before) {
        std::abort();
    }
    if (!text.putInteger("Editor Options", "TabSize", 7) ||
        vexa::SettingsText::parse(text.serialize()).getInteger("Editor Options", "TabSize", 3) != 7) {
        std::abort();
    }
    return 0;
}
