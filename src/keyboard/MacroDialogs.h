// The dialogs of the keyboard macros: the repeat count and the Macros menu list.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/DialogModel.h"
#include "keyboard/MacroFile.h"

namespace vexa {

class Frame;

// How many times MacroRepeat plays the macro.
class MacroRepeatModel final : public DialogModel {
public:
    static constexpr int32_t kMinimum = 1;
    static constexpr int32_t kMaximum = 32767;

    std::string_view title() const override { return "Repeat Macro"; }
    std::string_view label() const { return "&Repeat count:"; }

    // The count, kept within the limits.
    void setCount(int32_t count) {
        m_count = count < kMinimum ? kMinimum : (count > kMaximum ? kMaximum : count);
    }
    int32_t count() const { return m_count; }

private:
    int32_t m_count = 1;
};

// What a change of the Macros menu list came to.
enum class MacroMenuEdit : uint8_t { Added, Replaced, Full, ReplaceDeclined, Invalid };

inline constexpr std::string_view kMacroMenuFullMessage = "The maximum macro menu count has been reached.";
inline constexpr std::string_view kMacroMenuReplaceQuestion =
    "This macro item already exists on the menu. Do you wish to replace it?";

// The "Macro Options" dialog: the entries of the Macros menu, edited in the model; the caller
// writes the list and rebuilds the menu when the dialog is accepted.
class MacroOptionsModel final : public DialogModel {
public:
    MacroOptionsModel(std::vector<MacroMenuEntry> entries, Frame& frame)
        : m_entries(std::move(entries)), m_frame(frame) {}

    std::string_view title() const override { return "Macro Options"; }
    std::string_view nameLabel() const { return "&Name:"; }

    const std::vector<MacroMenuEntry>& entries() const { return m_entries; }
    // Adds an entry, or replaces the one of the same name once the user confirms it; a
    // sixteenth entry is refused with a message. An empty or too long name or path is refused.
    MacroMenuEdit add(const MacroMenuEntry& entry);
    // Removes the entry at the index; false when there is none.
    bool remove(size_t index);
    // The macro file of an entry, chosen in a "Load Macro" file dialog; nothing on Cancel.
    std::optional<std::string> chooseFile();

private:
    std::vector<MacroMenuEntry> m_entries;
    Frame& m_frame;
};

} // namespace vexa
