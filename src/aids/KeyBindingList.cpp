// Listing a keymap's bindings as text.
#include "aids/KeyBindingList.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "commands/FunctionTable.h"
#include "keyboard/Keymap.h"
#include "keyboard/PrefixKeyList.h"

namespace vexa::aids {
namespace {

std::string chordText(KeyChord chord) {
    if (auto name = keyName(chord.keyCode, chord.modifiers)) {
        if (!name->empty()) {
            return *name;
        }
    }
    return "key " + std::to_string(chord.keyCode) + " (modifiers " + std::to_string(chord.modifiers) + ")";
}

} // namespace

std::string keyBindingListText(const Keymap& keymap, const PrefixKeyList& prefixes) {
    const FunctionTable& functions = FunctionTable::standard();
    std::string text = "Key bindings of the active keymap\n";
    for (const KeyTable& table : keymap.tables()) {
        text += '\n';
        if (table.prefix() == kNoPrefix) {
            text += "Keys\n";
        } else {
            text += "After " + chordText(table.prefix());
            const PrefixKey* named = prefixes.find(table.prefix());
            if (named != nullptr && !named->name.empty()) {
                text += " (prefix " + named->name + ")";
            }
            text += "\n";
        }
        std::vector<std::pair<std::string, std::string>> lines;
        for (const KeyBinding& binding : table.bindings()) {
            std::string function(functions.nameOf(binding.function));
            if (table.prefix() == kNoPrefix &&
                keymap.tableOf({binding.keyCode, binding.modifiers}) != nullptr) {
                function = "(prefix key: its keys are listed below)";
            } else if (function.empty()) {
                function = "function " + std::to_string(binding.function);
            }
            lines.emplace_back(chordText({binding.keyCode, binding.modifiers}), std::move(function));
        }
        std::sort(lines.begin(), lines.end());
        for (const auto& [key, function] : lines) {
            std::string line = "  " + key;
            line.resize(std::max<std::size_t>(line.size() + 1, 24), ' ');
            text += line + function + "\n";
        }
        if (lines.empty()) {
            text += "  (no keys)\n";
        }
    }
    return text;
}

} // namespace vexa::aids
