// The template sets shipped in share/vConfig: each one is generated from the table below, compared
// byte for byte with the committed file, loaded by the store and tried in a document.
//
// To regenerate the files after changing the table, run this test program with
// VEXA_WRITE_SHIPPED_TEMPLATES=1 in the environment; it then writes share/vConfig instead.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "aids/TemplateStore.h"
#include "commands/ProcessorFixture.h"

namespace vexa::aids {
namespace {

std::filesystem::path shareDirectory() {
    return std::filesystem::path(VEXA_SOURCE_DIR) / "share" / "vConfig";
}

// What C and C++ share. "\n" starts a new line with the usual indentation, "\t" and "\b" indent
// and outdent, "\c" is where the cursor is left. With smart indenting (the default) a new line
// after a blank one takes the indentation of the last line with text, so a closing brace after an
// empty body needs no outdent.
std::vector<TemplateEntry> cEntries() {
    return {
        {"if", "if (\\c) {\\n\\t\\n}"},
        {"else", "else {\\n\\t\\c\\n}"},
        {"elif", "else if (\\c) {\\n\\t\\n}"},
        {"for", "for (\\c; ; ) {\\n\\t\\n}"},
        {"while", "while (\\c) {\\n\\t\\n}"},
        {"do", "do {\\n\\t\\c\\n} while ();"},
        {"switch", "switch (\\c) {\\ncase :\\n\\tbreak;\\n\\bdefault:\\n\\tbreak;\\n\\b}"},
        {"fn", "static void \\c(void)\\n{\\n\\t\\n}"},
        {"main", "int main(int argc, char *argv[])\\n{\\n\\t\\c\\n\\treturn 0;\\n\\b}"},
        {"inc", "#include \"\\c\""},
        {"incs", "#include <\\c>"},
        {"guard", "#ifndef NAME_H\\n#define NAME_H\\n\\n\\c\\n\\n#endif /* NAME_H */"},
        {"hdr", "/*\\n * File:    \\c\\n * Purpose: \\n */"},
    };
}

std::vector<TemplateEntry> cppEntries() {
    std::vector<TemplateEntry> entries = cEntries();
    entries.push_back({"class", "class \\c {\\npublic:\\n\\t\\nprivate:\\n\\t\\n};"});
    entries.push_back({"struct", "struct \\c {\\n\\t\\n};"});
    entries.push_back({"ns", "namespace \\c {\\n\\n} // namespace"});
    entries.push_back({"forr", "for (auto& \\c : ) {\\n\\t\\n}"});
    entries.push_back({"try", "try {\\n\\t\\c\\n} catch (const std::exception& error) {\\n\\t\\n}"});
    for (TemplateEntry& entry : entries) {
        if (entry.abbreviation == "fn") {
            entry.expansion = "void \\c()\\n{\\n\\t\\n}";
        }
        if (entry.abbreviation == "hdr") {
            entry.expansion = "// File:    \\c\\n// Purpose: ";
        }
        if (entry.abbreviation == "guard") {
            entry.expansion = "#pragma once\\n\\c";
        }
    }
    return entries;
}

std::vector<TemplateSet> shippedSets() {
    std::vector<TemplateSet> sets;
    TemplateSet fallback = TemplateSet::makeDefault();
    fallback.setEntries({{"todo", "TODO: \\c"}, {"fixme", "FIXME: \\c"}, {"note", "NOTE: \\c"}});
    sets.push_back(std::move(fallback));
    const auto add = [&](std::string_view name, std::string_view description,
                         std::vector<TemplateEntry> entries) {
        TemplateSet set = TemplateSet::makeNew(name);
        set.description = std::string(description);
        set.setEntries(std::move(entries));
        sets.push_back(std::move(set));
    };
    add("C", "C Templates", cEntries());
    add("H", "C Header Templates", cEntries());
    add("CPP", "C++ Templates", cppEntries());
    add("CC", "C++ Templates", cppEntries());
    add("CXX", "C++ Templates", cppEntries());
    add("HPP", "C++ Header Templates", cppEntries());
    return sets;
}

TEST(ShippedTemplates, FilesMatchTheTable) {
    test::TempHome home;
    HeadlessFrame frame;
    TemplateStore writer(home.path().string(), frame);
    TemplateStore shipped(shareDirectory().string(), frame);
    const bool regenerate = std::getenv("VEXA_WRITE_SHIPPED_TEMPLATES") != nullptr;
    for (const TemplateSet& set : shippedSets()) {
        if (regenerate) {
            ASSERT_TRUE(shipped.saveSet(set));
        }
        ASSERT_TRUE(writer.saveSet(set));
        const std::string path = shipped.pathOf(set);
        ASSERT_TRUE(std::filesystem::exists(path)) << path;
        EXPECT_EQ(test::readFileBytes(path), test::readFileBytes(writer.pathOf(set)))
            << "regenerate " << path;
    }
    shipped.loadAll();
    EXPECT_TRUE(frame.eventsOf(FrameEventKind::MessageBox).empty());
    EXPECT_EQ(shipped.sets().size(), shippedSets().size());
    for (const TemplateSet& set : shippedSets()) {
        const TemplateSet* loaded = shipped.findSet(set.name);
        ASSERT_NE(loaded, nullptr) << set.name;
        EXPECT_EQ(*loaded, set);
    }
}

class CDelimiters final : public LanguageRules {
public:
    std::string_view delimiterCharacters() const override { return "[](){},;:.$&*+-=~!%<>^|?/"; }
};

class ShippedExpansion : public test::ProcessorTest {
protected:
    ShippedExpansion() : store(shareDirectory().string(), frame, &processor) {
        linkHooks(idleRecorder, store);
        options.editor().smartTemplate = 1;
        options.editor().insertMode = 1;
        options.editor().tabSize = 4;
        options.editor().useTabs = 0;
        options.editor().smartIndent = 1;
        processor.applySettings();
        store.loadAll();
    }
    void typeIn(std::string_view fileName, const std::string& prefix, std::string_view typed) {
        setLines({prefix});
        doc().setFileName(std::string(fileName));
        doc().setLanguageRules(std::make_shared<CDelimiters>());
        processor.applySettings();
        place(0, static_cast<int>(prefix.size()));
        type(typed);
    }
    TemplateStore store;
};

TEST_F(ShippedExpansion, LoopInACFile) {
    typeIn("/src/loop.c", "", "for ");
    EXPECT_EQ(lines(), (std::vector<std::string>{"for (; ; ) {", "    ", "}"}));
    EXPECT_EQ(doc().cursorLine(), 0);
    EXPECT_EQ(doc().cursorOffset(), 5);
    exec(functionIdOf("Undo"));
    EXPECT_EQ(lines(), (std::vector<std::string>{"for"}));
}

TEST_F(ShippedExpansion, IndentedIfKeepsItsIndentation) {
    typeIn("/src/loop.c", "    ", "if x");
    EXPECT_EQ(lines(), (std::vector<std::string>{"    if (x) {", "        ", "    }"}));
    typeIn("/src/loop.c", "    ", "switch ");
    EXPECT_EQ(lines(), (std::vector<std::string>{"    switch () {", "    case :", "        break;",
                                                 "    default:", "        break;", "    }"}));
    EXPECT_EQ(doc().cursorOffset(), 12);
}

TEST_F(ShippedExpansion, ClassOnlyInCppAndDefaultsEverywhere) {
    typeIn("/src/shape.cpp", "", "class Shape");
    EXPECT_EQ(lines()[0], "class Shape {");
    typeIn("/src/shape.c", "", "class Shape");
    EXPECT_EQ(lines()[0], "class Shape");
    typeIn("/src/notes.txt", "", "todo check");
    EXPECT_EQ(lines()[0], "TODO: check");
}

} // namespace
} // namespace vexa::aids
