// The built-in editor function table, assembled while compiling from the names and the class lists.
#include "commands/FunctionTable.h"

#include <algorithm>
#include <array>

namespace vexa {

namespace {

namespace names = function_names;

constexpr std::size_t kOrdinarySlots = names::kFunctionNames.size();

template <std::size_t N>
constexpr bool listHolds(const std::array<std::string_view, N>& list, std::string_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

template <std::size_t N>
constexpr bool allNamesKnown(const std::array<std::string_view, N>& list) {
    for (std::size_t i = 0; i < N; ++i) {
        if (list[i].empty() || !listHolds(names::kFunctionNames, list[i])) {
            return false;
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (list[j] == list[i]) {
                return false;
            }
        }
    }
    return true;
}

// A misspelt or repeated entry in a class list would silently drop a function from its class.
static_assert(allNamesKnown(names::kTextChangingFunctions));
static_assert(allNamesKnown(names::kMovementFunctions));
static_assert(allNamesKnown(names::kNeverRecordedFunctions));
static_assert(allNamesKnown(names::kNoReshowFunctions));
static_assert(allNamesKnown(names::kNotYetImplementedFunctions));
static_assert(allNamesKnown(names::kShownKeyFunctions));

constexpr uint8_t classesOf(std::string_view name) {
    uint8_t classes = 0;
    const auto add = [&](bool member, FunctionClass functionClass) {
        if (member) {
            classes = static_cast<uint8_t>(classes | static_cast<uint8_t>(functionClass));
        }
    };
    add(listHolds(names::kTextChangingFunctions, name), FunctionClass::TextChanging);
    add(listHolds(names::kMovementFunctions, name), FunctionClass::Movement);
    add(listHolds(names::kNeverRecordedFunctions, name), FunctionClass::NeverRecorded);
    add(listHolds(names::kNoReshowFunctions, name), FunctionClass::NoReshow);
    add(listHolds(names::kNotYetImplementedFunctions, name), FunctionClass::NotYetImplemented);
    add(listHolds(names::kShownKeyFunctions, name), FunctionClass::ShowsKey);
    return classes;
}

consteval std::array<EditorFunction, kOrdinarySlots> buildOrdinary() {
    std::array<EditorFunction, kOrdinarySlots> records{};
    for (std::size_t slot = 0; slot < kOrdinarySlots; ++slot) {
        const std::string_view name = names::kFunctionNames[slot];
        if (name.empty()) {
            // The reserved slot keeps a record that no identifier reaches.
            records[slot] = EditorFunction{kNoFunction, {}, 0};
        } else {
            records[slot] =
                EditorFunction{static_cast<FunctionId>(kFirstFunctionId + slot), name, classesOf(name)};
        }
    }
    return records;
}

constexpr std::array<EditorFunction, kOrdinarySlots> kOrdinary = buildOrdinary();

constexpr std::array<EditorFunction, 2> kInternal = {{
    {kMarkCuaStart, "MarkCUAStart", 0},
    {kMarkCuaEnd, "MarkCUAEnd", 0},
}};

static_assert(kOrdinarySlots == kLastFunctionId - kFirstFunctionId + 1);
static_assert(kOrdinary[kReservedFunctionId - kFirstFunctionId].id == kNoFunction);

} // namespace

const FunctionTable& FunctionTable::standard() {
    static constexpr FunctionTable kStandard{kOrdinary, kInternal};
    return kStandard;
}

const EditorFunction* FunctionTable::find(uint32_t id) const {
    if (id >= kFirstFunctionId && id - kFirstFunctionId < m_ordinary.size()) {
        const EditorFunction& record = m_ordinary[id - kFirstFunctionId];
        return record.id == id ? &record : nullptr;
    }
    for (const EditorFunction& record : m_internal) {
        if (record.id == id) {
            return &record;
        }
    }
    return nullptr;
}

FunctionId FunctionTable::idOf(std::string_view name) const {
    // An empty name would otherwise match the hole of the reserved slot.
    if (name.empty()) {
        return kNoFunction;
    }
    for (std::size_t slot = 0; slot < m_ordinary.size(); ++slot) {
        const EditorFunction& record = m_ordinary[slot];
        if (record.name == name && record.id == kFirstFunctionId + slot) {
            return record.id;
        }
    }
    return kNoFunction;
}

std::string_view FunctionTable::nameOf(uint32_t id) const {
    const EditorFunction* record = find(id);
    return record != nullptr ? record->name : std::string_view{};
}

bool FunctionTable::is(uint32_t id, FunctionClass functionClass) const {
    const EditorFunction* record = find(id);
    return record != nullptr && record->is(functionClass);
}

int32_t FunctionTable::runByName(std::string_view name, FunctionDispatcher& dispatcher) const {
    const FunctionId id = idOf(name);
    if (id == kNoFunction || id == functionIdOf("MacroExecuteScript")) {
        return 0;
    }
    dispatcher.sendCommand(id, kKeyboardCommandSource);
    return 1;
}

std::vector<const EditorFunction*> FunctionTable::offered() const {
    std::vector<const EditorFunction*> functions;
    functions.reserve(m_ordinary.size());
    for (std::size_t slot = 0; slot < m_ordinary.size(); ++slot) {
        const EditorFunction& record = m_ordinary[slot];
        if (record.id == kFirstFunctionId + slot) {
            functions.push_back(&record);
        }
    }
    return functions;
}

} // namespace vexa
