// The editor function table: identifiers, names and classes of every editor function, and the lookups.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "commands/FunctionDispatcher.h"
#include "commands/FunctionNames.h"

namespace vexa {

// An editor function identifier. The values are stored in keymap and keyboard-macro files and double
// as menu command identifiers.
using FunctionId = uint16_t;

inline constexpr FunctionId kFirstFunctionId = 1000;
inline constexpr FunctionId kLastFunctionId = 1362;
inline constexpr FunctionId kReservedFunctionId = 1095;
// Not a function: an unknown name or an unbound key.
inline constexpr FunctionId kNoFunction = 2000;
// Not a function: a prefix key was accepted and the next key completes the binding.
inline constexpr FunctionId kPrefixAccepted = 2001;
// The two internal functions the keyboard layer sends around Shift-marking.
inline constexpr FunctionId kMarkCuaStart = 2050;
inline constexpr FunctionId kMarkCuaEnd = 2051;

// The second parameter of a command message that comes from a key, a macro playback or a script.
inline constexpr uint32_t kKeyboardCommandSource = 0x10000;

// Classes of functions that other parts of the editor treat specially; a function may be in several.
enum class FunctionClass : uint8_t {
    TextChanging = 0x01,      // refused on a read-only document
    Movement = 0x02,          // starts or removes a Shift marking
    NeverRecorded = 0x04,     // left out of a keyboard-macro recording
    NoReshow = 0x08,          // the pane does not bring the cursor into view afterwards
    NotYetImplemented = 0x10, // only reports "Not yet implemented!"
    ShowsKey = 0x20,          // its menu item shows the bound key after a tab
};

// One record of the table.
struct EditorFunction {
    FunctionId id = kNoFunction;
    std::string_view name;
    uint8_t classes = 0;

    constexpr bool is(FunctionClass functionClass) const {
        return (classes & static_cast<uint8_t>(functionClass)) != 0;
    }
};

namespace detail {
// Never defined: reaching it while evaluating functionIdOf makes the program ill-formed.
FunctionId unknownEditorFunctionName();
} // namespace detail

// The identifier of a function named in code, resolved while compiling; a misspelt name does not
// compile. Usable as a case label.
consteval FunctionId functionIdOf(std::string_view name) {
    if (!name.empty()) {
        for (std::size_t slot = 0; slot < function_names::kFunctionNames.size(); ++slot) {
            if (function_names::kFunctionNames[slot] == name) {
                return static_cast<FunctionId>(kFirstFunctionId + slot);
            }
        }
    }
    return detail::unknownEditorFunctionName();
}

// The lookups over a table of ordinary functions, where the record of identifier 1000 + n stands in
// slot n (a slot whose record carries another identifier is a hole), and a short table of internal
// functions that is searched.
class FunctionTable {
public:
    constexpr FunctionTable(std::span<const EditorFunction> ordinary,
                            std::span<const EditorFunction> internal)
        : m_ordinary(ordinary), m_internal(internal) {}

    // The editor's own table: 355 functions from 1000 to 1355 and the two internal ones.
    static const FunctionTable& standard();

    // The record of an identifier; nullptr for the reserved number, for numbers outside the table
    // and for the reserved values 2000 and 2001.
    const EditorFunction* find(uint32_t id) const;

    // The identifier of an ordinary function, compared exactly and case-sensitively; kNoFunction
    // when there is none. The internal functions cannot be named.
    FunctionId idOf(std::string_view name) const;

    // The name of a function; empty when the identifier has no record.
    std::string_view nameOf(uint32_t id) const;

    // Whether a function belongs to a class; false when the identifier has no record.
    bool is(uint32_t id, FunctionClass functionClass) const;

    // The script bridge: looks the name up and sends the function as a keyboard-originated command.
    // An unknown name and MacroExecuteScript are refused with 0, so a script can neither name what is
    // not there nor start another script; otherwise the result is 1.
    [[nodiscard]] int32_t runByName(std::string_view name, FunctionDispatcher& dispatcher) const;

    // The ordinary functions in table order, without holes: what the keyboard dialog offers.
    std::vector<const EditorFunction*> offered() const;

    std::span<const EditorFunction> ordinary() const { return m_ordinary; }
    std::span<const EditorFunction> internal() const { return m_internal; }

private:
    std::span<const EditorFunction> m_ordinary;
    std::span<const EditorFunction> m_internal;
};

} // namespace vexa
