// The guide's key reference (docs/KeyReference.md) is the default keymap's binding list, made by
// the same code as Help on Keys, with each function's hint: a change of the keymap without the
// reference fails here. VEXA_UPDATE_KEY_REFERENCE=1 writes the file anew.
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

#include "aids/KeyBindingList.h"
#include "commands/FunctionTable.h"
#include "commands/MenuTable.h"
#include "keyboard/Keymap.h"
#include "keyboard/PrefixKeyList.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

const std::filesystem::path kReference = std::filesystem::path(VEXA_SOURCE_DIR) / "docs" / "KeyReference.md";

// One table row per binding line of the list ("  Key    Function"), a heading per table.
std::string keyReference() {
    PrefixKeyList prefixes;
    prefixes.load(std::string(VEXA_SOURCE_DIR) + "/share/vConfig/");
    const std::string list = aids::keyBindingListText(Keymap::makeDefault(), prefixes);
    std::string text =
        "# Key Reference\n\n"
        "The keys of the default keymap, the keymap a new home starts with. This page is made\n"
        "from the keymap by the code that shows **Help | Help on Keys**, and a test compares\n"
        "the two, so it is always right for the default keymap. Your own keymap's list is\n"
        "Help on Keys inside the editor.\n";
    std::istringstream lines(list);
    std::string line;
    bool firstLine = true;
    while (std::getline(lines, line)) {
        if (firstLine) { // the list's own title
            firstLine = false;
            continue;
        }
        if (line.empty()) {
            continue;
        }
        if (line.rfind("  ", 0) != 0) {
            text += "\n## " + line + "\n\n| Key | Function | What it does |\n|---|---|---|\n";
            continue;
        }
        const std::size_t keyEnd = line.find("  ", 2);
        const std::string key = line.substr(2, keyEnd - 2);
        const std::string function = line.substr(line.find_first_not_of(' ', keyEnd));
        const FunctionId id = FunctionTable::standard().idOf(function);
        const std::string hint = id == kNoFunction ? std::string() : std::string(commandHint(id));
        text += "| `" + key + "` | `" + function + "` | " + hint + " |\n";
    }
    return text;
}

TEST(KeyReference, TheGuidesKeyReferenceIsTheDefaultKeymap) {
    const std::string expected = keyReference();
    if (const char* update = std::getenv("VEXA_UPDATE_KEY_REFERENCE"); update != nullptr && *update == '1') {
        test::writeFileBytes(kReference, expected);
    }
    ASSERT_TRUE(std::filesystem::exists(kReference));
    EXPECT_EQ(test::readFileBytes(kReference), expected)
        << "docs/KeyReference.md differs from the default keymap; run the test with "
           "VEXA_UPDATE_KEY_REFERENCE=1 to write it anew";
}

} // namespace
} // namespace vexa
