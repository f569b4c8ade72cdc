// Tests of the editor function table: its invariants, the class lists, the lookups and the script bridge.
#include "commands/FunctionTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/TempHome.h"

namespace vexa {
namespace {

class FunctionTableTest : public ::testing::Test {
protected:
    test::TempHome m_home;
    const FunctionTable& m_table = FunctionTable::standard();
};

TEST_F(FunctionTableTest, EveryIdentifierExceptTheReservedOneHasExactlyOneRecord) {
    std::set<std::string_view> names;
    for (uint32_t id = kFirstFunctionId; id <= kLastFunctionId; ++id) {
        const EditorFunction* record = m_table.find(id);
        if (id == kReservedFunctionId) {
            EXPECT_EQ(record, nullptr);
            continue;
        }
        ASSERT_NE(record, nullptr) << id;
        EXPECT_EQ(record->id, id);
        EXPECT_FALSE(record->name.empty()) << id;
        EXPECT_TRUE(names.insert(record->name).second) << "repeated name " << record->name;
        // Each name is found again by name, so no earlier record shadows it.
        EXPECT_EQ(m_table.idOf(record->name), id) << record->name;
    }
    EXPECT_EQ(names.size(), 362u);
}

TEST_F(FunctionTableTest, NamesAreCamelCaseAscii) {
    for (const EditorFunction* record : m_table.offered()) {
        const std::string_view name = record->name;
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(name.front()))) << name;
        EXPECT_TRUE(std::all_of(name.begin(), name.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) != 0;
        })) << name;
    }
}

TEST_F(FunctionTableTest, OfferedFunctionsAreTheOrdinaryOnesInTableOrder) {
    const std::vector<const EditorFunction*> offered = m_table.offered();
    ASSERT_EQ(offered.size(), 362u);
    EXPECT_EQ(offered.front()->name, "NotSupported");
    EXPECT_EQ(offered.back()->name, "BookMarkPrevious");
    for (std::size_t i = 1; i < offered.size(); ++i) {
        EXPECT_LT(offered[i - 1]->id, offered[i]->id);
        EXPECT_NE(offered[i]->id, kReservedFunctionId);
        EXPECT_LT(offered[i]->id, kMarkCuaStart);
    }
}

// The identifiers are stored in keymap and keyboard-macro files, so every row of ten must start at its
// number; a name dropped or doubled anywhere shifts every later row.
TEST_F(FunctionTableTest, RowAnchorsKeepTheirStoredIdentifiers) {
    const std::vector<std::pair<std::string_view, uint32_t>> anchors = {
        {"NotSupported", 1000},
        {"FileExit", 1010},
        {"FileReload7", 1020},
        {"FileReadOnlyReset", 1030},
        {"MacroPlay", 1035},
        {"MacroRepeat", 1036},
        {"MacroRecordToggle", 1039},
        {"MacroLoad", 1040},
        {"MacroSave", 1041},
        {"MacroExecute9", 1050},
        {"ToolsExecute2", 1060},
        {"ToolsExecute12", 1070},
        {"OptionsKeyboard", 1080},
        {"WindowPrevious", 1090},
        {"HelpAbout", 1094},
        {"HelpQuickHelp", 1096},
        {"LineCopy", 1100},
        {"LineWrapReset", 1110},
        {"WordCaseTranspose", 1120},
        {"SearchDialog", 1130},
        {"SearchCaseToggle", 1140},
        {"ReplaceDialog", 1150},
        {"ToolBarViewReset", 1160},
        {"MovePageStart", 1170},
        {"MoveWordNext", 1180},
        {"MoveLineDownAndFirst", 1190},
        {"ScrollLinePageStart", 1200},
        {"TabBackChar", 1210},
        {"BookMarkDrop4", 1220},
        {"BookMarkGoto3", 1230},
        {"MarkCopyEx", 1240},
        {"MarkCaseUpper", 1250},
        {"MarkColumnSet", 1260},
        {"MarkMoveToCursor", 1270},
        {"SoundQuestion", 1280},
        {"ProjectMakeAll", 1290},
        {"CompilerOutputNext", 1300},
        {"CharSwapNext", 1310},
        {"WindowMinimizeAll", 1320},
        {"MoveLineRightEx", 1330},
        {"FileWriteOEMReset", 1340},
        {"StampFileName", 1350},
        {"MacroExecuteScript", 1353},
        {"FileListAssociates", 1355},
    };
    for (const auto& [name, id] : anchors) {
        EXPECT_EQ(m_table.idOf(name), id) << name;
    }
    // The compile-time lookup that handlers use as case labels agrees with the table.
    EXPECT_EQ(functionIdOf("MacroExecuteScript"), 1353);
    EXPECT_EQ(functionIdOf("FileListAssociates"), 1355);
    EXPECT_EQ(functionIdOf("HelpQuickHelp"), 1096);
}

TEST_F(FunctionTableTest, NumberedFamiliesCountUpWithoutGaps) {
    struct Family {
        std::string prefix;
        int first;
        int last;
    };
    const std::vector<Family> families = {
        {"FileReload", 1, 9},   {"MacroExecute", 1, 15}, {"ToolsExecute", 1, 15},
        {"BookMarkDrop", 0, 9}, {"BookMarkGoto", 0, 9},
    };
    for (const Family& family : families) {
        const FunctionId first = m_table.idOf(family.prefix + std::to_string(family.first));
        ASSERT_NE(first, kNoFunction) << family.prefix;
        for (int n = family.first; n <= family.last; ++n) {
            EXPECT_EQ(m_table.idOf(family.prefix + std::to_string(n)), first + (n - family.first))
                << family.prefix << n;
        }
        EXPECT_EQ(m_table.idOf(family.prefix + std::to_string(family.last + 1)), kNoFunction);
    }
}

// A switchable option is three neighbours: Set, Reset, Toggle; the toggle relies on that order.
TEST_F(FunctionTableTest, SwitchedOptionsComeAsSetResetToggle) {
    int triples = 0;
    for (const EditorFunction* record : m_table.offered()) {
        const std::string name(record->name);
        if (name.size() <= 3 || !name.ends_with("Set") || name.ends_with("Reset")) {
            continue;
        }
        const std::string stem = name.substr(0, name.size() - 3);
        EXPECT_EQ(m_table.nameOf(record->id + 1u), stem + "Reset") << name;
        EXPECT_EQ(m_table.nameOf(record->id + 2u), stem + "Toggle") << name;
        ++triples;
    }
    EXPECT_GE(triples, 1);
    for (const EditorFunction* record : m_table.offered()) {
        if (record->name.ends_with("Reset")) {
            EXPECT_TRUE(m_table.nameOf(record->id - 1u).ends_with("Set")) << record->name;
        }
    }
}

TEST_F(FunctionTableTest, EveryExVariantHasItsPlainFunction) {
    for (const EditorFunction* record : m_table.offered()) {
        if (record->name.ends_with("Ex")) {
            const std::string_view plain = record->name.substr(0, record->name.size() - 2);
            EXPECT_NE(m_table.idOf(plain), kNoFunction) << record->name;
        }
    }
}

TEST_F(FunctionTableTest, ClassListsNameExistingFunctionsOnce) {
    const auto check = [this](std::span<const std::string_view> list, FunctionClass functionClass,
                              std::size_t expectedSize) {
        EXPECT_EQ(list.size(), expectedSize);
        std::set<std::string_view> seen;
        for (std::string_view name : list) {
            EXPECT_TRUE(seen.insert(name).second) << "repeated " << name;
            const FunctionId id = m_table.idOf(name);
            ASSERT_NE(id, kNoFunction) << name;
            EXPECT_TRUE(m_table.is(id, functionClass)) << name;
        }
        // The flags in the built table come from the list and from nowhere else.
        std::size_t flagged = 0;
        for (const EditorFunction* record : m_table.offered()) {
            flagged += record->is(functionClass) ? 1 : 0;
        }
        EXPECT_EQ(flagged, expectedSize);
    };
    namespace names = function_names;
    check(names::kTextChangingFunctions, FunctionClass::TextChanging, 78);
    check(names::kMovementFunctions, FunctionClass::Movement, 36);
    check(names::kNeverRecordedFunctions, FunctionClass::NeverRecorded, 4);
    check(names::kNoReshowFunctions, FunctionClass::NoReshow, 44);
    check(names::kNotYetImplementedFunctions, FunctionClass::NotYetImplemented, 11);
    check(names::kShownKeyFunctions, FunctionClass::ShowsKey, 84);
}

TEST_F(FunctionTableTest, ClassMembershipAtTheBorders) {
    struct Case {
        std::string_view name;
        FunctionClass functionClass;
        bool member;
    };
    const std::vector<Case> cases = {
        {"MacroRecordSet", FunctionClass::NeverRecorded, false},
        {"MacroRecordReset", FunctionClass::NeverRecorded, false},
        {"MacroRecordToggle", FunctionClass::NeverRecorded, true},
        {"MacroSave", FunctionClass::NeverRecorded, true},
        {"ScrollLineUp", FunctionClass::Movement, false},
        {"ScrollLinePageEnd", FunctionClass::Movement, false},
        {"FunctionFindPrevious", FunctionClass::Movement, true},
        {"MoveDocumentStartEx", FunctionClass::Movement, true},
        {"SpaceDelete", FunctionClass::TextChanging, true},
        {"SpaceDelete", FunctionClass::NotYetImplemented, true},
        {"MarkFillWithChar", FunctionClass::TextChanging, false},
        {"MarkTextReverse", FunctionClass::NotYetImplemented, true},
        {"LineCopy", FunctionClass::TextChanging, false},
        {"WordCopy", FunctionClass::TextChanging, false},
        {"MacroPlay", FunctionClass::TextChanging, true},
        {"ReplaceDialog", FunctionClass::NoReshow, true},
        {"FileReload9", FunctionClass::NoReshow, true},
        {"FileReloadCurrent", FunctionClass::NoReshow, false},
        {"MarkCopyEx", FunctionClass::ShowsKey, true},
        {"MarkCopy", FunctionClass::ShowsKey, false},
        {"ToolsExecute15", FunctionClass::ShowsKey, true},
        {"MacroExecute15", FunctionClass::ShowsKey, true},
    };
    for (const Case& c : cases) {
        const FunctionId id = m_table.idOf(c.name);
        ASSERT_NE(id, kNoFunction) << c.name;
        EXPECT_EQ(m_table.is(id, c.functionClass), c.member) << c.name;
    }
}

TEST_F(FunctionTableTest, FindByIdentifier) {
    const std::vector<std::pair<uint32_t, std::string_view>> cases = {
        {1000, "NotSupported"},
        {1355, "FileListAssociates"},
        {1094, "HelpAbout"},
        {1096, "HelpQuickHelp"},
        {2050, "MarkCUAStart"},
        {2051, "MarkCUAEnd"},
        {0, ""},
        {999, ""},
        {1095, ""},
        {1356, "FileEncodingToggle"},
        {1357, "FileLineEndsToggle"},
        {1358, "FindInFiles"},
        {1359, "RunStop"},
        {1360, "BookMarkToggle"},
        {1361, "BookMarkNext"},
        {1362, "BookMarkPrevious"},
        {1363, ""},
        {1500, ""},
        {2000, ""},
        {2001, ""},
        {2049, ""},
        {2052, ""},
        {0x10000 + 1001, ""},
    };
    for (const auto& [id, name] : cases) {
        const EditorFunction* record = m_table.find(id);
        EXPECT_EQ(record != nullptr, !name.empty()) << id;
        EXPECT_EQ(m_table.nameOf(id), name) << id;
        if (record != nullptr) {
            EXPECT_EQ(record->id, id);
        }
    }
    // The internal functions belong to no class: they are recorded and re-show like any other.
    EXPECT_EQ(m_table.find(kMarkCuaStart)->classes, 0);
    EXPECT_FALSE(m_table.is(kNoFunction, FunctionClass::TextChanging));
}

TEST_F(FunctionTableTest, FindByNameIsExactAndCaseSensitive) {
    const std::vector<std::pair<std::string_view, FunctionId>> cases = {
        {"FileNew", 1001},
        {"filenew", kNoFunction},
        {"FILENEW", kNoFunction},
        {"FileNew ", kNoFunction},
        {" FileNew", kNoFunction},
        {"FileNe", kNoFunction},
        {"", kNoFunction},
        {"MarkCUAStart", kNoFunction},
        {"MarkCUAEnd", kNoFunction},
        {"Undo", 1202},
        {"UndoFlush", 1318},
        {"FileSaveAllNamed", 1354},
        {std::string_view("FileNew\0", 8), kNoFunction},
    };
    for (const auto& [name, id] : cases) {
        EXPECT_EQ(m_table.idOf(name), id) << '"' << name << '"';
    }
}

TEST_F(FunctionTableTest, AnEmptyTableFindsNothing) {
    const FunctionTable empty({}, {});
    EXPECT_EQ(empty.idOf("FileNew"), kNoFunction);
    EXPECT_EQ(empty.find(1000), nullptr);
    EXPECT_EQ(empty.find(kMarkCuaStart), nullptr);
    EXPECT_TRUE(empty.offered().empty());
}

TEST_F(FunctionTableTest, ASmallTableSkipsHolesAndTakesTheFirstEqualName) {
    const std::vector<EditorFunction> ordinary = {
        {1000, "Alpha", 0}, {1001, "Beta", 0},  {kNoFunction, "", 0},
        {1003, "Beta", 0},  {1999, "Gamma", 0}, // stands in the slot of 1004, so it is a hole
    };
    const std::vector<EditorFunction> internal = {{2050, "Inner", 0}};
    const FunctionTable table(ordinary, internal);
    EXPECT_EQ(table.idOf("Beta"), 1001);
    EXPECT_EQ(table.idOf(""), kNoFunction);
    EXPECT_EQ(table.idOf("Gamma"), kNoFunction);
    EXPECT_EQ(table.idOf("Inner"), kNoFunction);
    EXPECT_EQ(table.find(1002), nullptr);
    EXPECT_EQ(table.find(1004), nullptr);
    EXPECT_EQ(table.find(1999), nullptr);
    EXPECT_EQ(table.nameOf(1003), "Beta");
    EXPECT_EQ(table.nameOf(2050), "Inner");
    EXPECT_EQ(table.offered().size(), 3u);
}

class RecordingDispatcher final : public FunctionDispatcher {
public:
    void sendCommand(uint16_t id, uint32_t source) override { sent.emplace_back(id, source); }
    std::vector<std::pair<uint16_t, uint32_t>> sent;
};

TEST_F(FunctionTableTest, RunByNameSendsAKeyboardCommandOrRefuses) {
    struct Case {
        std::string_view name;
        int32_t result;
        FunctionId sent; // kNoFunction: nothing is sent
    };
    const std::vector<Case> cases = {
        {"FileNew", 1, 1001},
        {"MoveLineUp", 1, 1185},
        {"NotSupported", 1, 1000},
        {"MacroExecute1", 1, 1042},
        {"MacroExecuteScript", 0, kNoFunction},
        {"macroexecutescript", 0, kNoFunction},
        {"NoSuchFunction", 0, kNoFunction},
        {"MarkCUAStart", 0, kNoFunction},
        {"", 0, kNoFunction},
    };
    for (const Case& c : cases) {
        RecordingDispatcher dispatcher;
        EXPECT_EQ(m_table.runByName(c.name, dispatcher), c.result) << c.name;
        if (c.sent == kNoFunction) {
            EXPECT_TRUE(dispatcher.sent.empty()) << c.name;
        } else {
            ASSERT_EQ(dispatcher.sent.size(), 1u) << c.name;
            EXPECT_EQ(dispatcher.sent[0].first, c.sent);
            EXPECT_EQ(dispatcher.sent[0].second, kKeyboardCommandSource);
        }
    }
}

} // namespace
} // namespace vexa
