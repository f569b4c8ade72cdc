// The model of the dialog in which one keymap's flags and bindings are edited.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Messenger.h"
#include "keyboard/KeyFilter.h"
#include "keyboard/KeyNameTable.h"
#include "keyboard/Keymap.h"

namespace vexa {

class KeymapStore;
class PrefixKeyList;

inline constexpr std::string_view kLocatedMessage = "The entered key was located successfully";
inline constexpr std::string_view kNotBoundMessage = "The entered key is not bound to any function";
inline constexpr std::string_view kNoKeyMessage = "The key to be bound has not yet been defined!";
inline constexpr std::string_view kPrimaryKeyMessage =
    "This key code is already bound to a primary (non-prefix) key and as such cannot be re-bound!";
inline constexpr std::string_view kBindErrorMessage = "Unexpected error binding key!";
inline constexpr const char* kBoundFormat = "Key is now bounded to the '%s' function";
inline constexpr std::string_view kRemovedMessage = "The key was removed successfully";
inline constexpr std::string_view kAccessDeniedMessage = "Access to file denied.";

enum class KeymapEditMode : uint8_t { New, Edit };

// Whether the keymap counts as changed from the start (a new keymap made from the defaults).
enum class StartsChanged : uint8_t { No, Yes };

enum class KeymapFlag : uint8_t { AllowShiftMarking, KeyPressRemovesMark, CutCopyRemovesMark };

// The editor works on its own keymap object, never on the active one: edits take effect when the
// keymap is activated again.
class BindingEditor {
public:
    BindingEditor(Keymap keymap, std::string name, KeymapEditMode mode, StartsChanged startsChanged,
                  const PrefixKeyList& prefixes, KeymapStore& store, Messenger& messenger);

    std::string_view title() const;
    const std::string& name() const { return m_name; }
    const Keymap& keymap() const { return m_keymap; }
    bool isChanged() const { return m_changed; }

    // The three lists: prefix names ("(None)" first), the 119 key-code names, the function names.
    std::vector<std::string> prefixNames() const;
    std::span<const KeyName> keyRows() const { return keyNameTable(); }
    const std::vector<std::string_view>& functionNames() const { return m_functionNames; }

    bool flag(KeymapFlag which) const;
    void setFlag(KeymapFlag which, bool on);

    // The selections. Each change to a new combination of prefix, key and modifier boxes looks the
    // key up under the prefix and reports what it found.
    void selectPrefix(std::size_t index);
    void selectKeyRow(std::optional<std::size_t> row);
    void setAlt(bool on);
    void setShift(bool on);
    void setControl(bool on);
    void selectFunction(std::optional<std::size_t> index);

    std::size_t prefixSelection() const { return m_prefix; }
    std::optional<std::size_t> keyRowSelection() const { return m_keyRow; }
    std::optional<std::size_t> functionSelection() const { return m_function; }
    bool alt() const { return m_alt; }
    bool shift() const { return m_shift; }
    bool control() const { return m_control; }
    uint16_t modifiers() const;

    // While the key-code list has the focus, key presses are captured: the key's row is selected
    // and the modifier boxes follow the press. True when the press was swallowed; Tab and the
    // modifier keys themselves go on to the dialog.
    bool captureKey(const KeyPress& press);

    void update();
    void remove();

    // Saves a changed keymap under its name. False when the save failed.
    bool close();

private:
    void combinationChanged();
    std::optional<KeyChord> enteredKey() const;
    KeyChord selectedPrefix() const;
    void report(std::string_view text, platform::SoundKind sound);

    Keymap m_keymap;
    std::string m_name;
    KeymapEditMode m_mode;
    bool m_changed;
    const PrefixKeyList& m_prefixes;
    KeymapStore& m_store;
    Messenger& m_messenger;
    std::vector<std::string_view> m_functionNames;
    std::vector<FunctionId> m_functionIds;

    std::size_t m_prefix = 0;
    std::optional<std::size_t> m_keyRow;
    std::optional<std::size_t> m_function;
    bool m_alt = false;
    bool m_shift = false;
    bool m_control = false;

    // The combination last looked up, so only a new one is looked up and reported.
    struct Combination {
        std::size_t prefix = 0;
        std::optional<std::size_t> keyRow;
        uint16_t modifiers = 0;
        friend bool operator==(const Combination&, const Combination&) = default;
    };
    std::optional<Combination> m_lastCombination;
    std::optional<KeyPress> m_lastCapture;
};

} // namespace vexa
