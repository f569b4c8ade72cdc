// A keymap: the primary key table, up to 27 prefix tables, the behaviour flags and the prefix state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "commands/FunctionTable.h"
#include "keyboard/KeyNameTable.h"
#include "keyboard/KeyTable.h"

namespace vexa {

class PrefixKeyList;

// The three behaviour flags, each stored as a 16-bit value in keymap files.
struct KeymapFlags {
    uint16_t allowShiftMarking = 1;
    uint16_t keyPressRemovesMark = 1;
    uint16_t cutCopyRemovesMark = 1;

    friend bool operator==(const KeymapFlags&, const KeymapFlags&) = default;
};

class Keymap {
public:
    // The primary table and 27 prefix tables.
    static constexpr std::size_t kMaxTables = 28;

    // An empty keymap: flags on, no tables, valid.
    Keymap() = default;

    // The built-in default keymap: a valid keymap whose primary table holds the default bindings.
    static Keymap makeDefault();

    bool isValid() const { return m_valid; }
    void setValid(bool valid) { m_valid = valid; }

    KeymapFlags& flags() { return m_flags; }
    const KeymapFlags& flags() const { return m_flags; }

    std::span<const KeyTable> tables() const { return m_tables; }
    // The table of a prefix; nullptr when the keymap has none.
    const KeyTable* tableOf(KeyChord prefix) const;

    // The function of a key press: the bound function, kNoFunction, or kPrefixAccepted when an
    // unarmed keymap met a prefix key (it is armed from then on). The prefix state is never
    // cleared here: the command processor does that after the function ran.
    FunctionId lookup(KeyChord key);

    // Whether some table, the primary one included, is reached through the pair.
    bool isPrefixKey(KeyChord key) const;

    // The function bound to a key under a prefix; kNoFunction when there is no such table or
    // binding. Leaves the prefix state alone.
    FunctionId lookupInTable(KeyChord prefix, KeyChord key) const;

    // Binds under a prefix, creating its table when fewer than 28 exist. Overwriting a key
    // always succeeds; a new key needs room in its table.
    [[nodiscard]] BindResult bind(KeyChord prefix, const KeyBinding& binding);

    // Removes a binding; false when the table or the binding does not exist. Tables stay.
    [[nodiscard]] bool unbind(KeyChord prefix, KeyChord key);

    // Appends a table as a file lists it, without merging; false at the table limit.
    bool appendTable(KeyTable table);

    bool isArmed() const { return m_prefixState != 0; }
    uint32_t prefixState() const { return m_prefixState; }
    void resetPrefixState() { m_prefixState = 0; }

    // The text a menu shows after a function's label: a tab, the name of the prefix key when the
    // binding sits under a named prefix, then the key's name. Empty when the function has no
    // binding or its first binding has no key name.
    std::string keyTextFor(FunctionId function, const PrefixKeyList& prefixes,
                           LayoutCharacter layout = usLayoutCharacter) const;

private:
    bool m_valid = true;
    KeymapFlags m_flags;
    std::vector<KeyTable> m_tables;
    uint32_t m_prefixState = 0;
};

} // namespace vexa
