// Template sets on disk, choosing the set, and expansion through the typing road.
#include <gtest/gtest.h>

#include <filesystem>

#include "aids/TemplateStore.h"
#include "commands/ProcessorFixture.h"
#include "settings/BinaryFields.h"
#include "settings/InfoFile.h"

namespace vexa::aids {
namespace {

class CDelimiters final : public LanguageRules {
public:
    std::string_view delimiterCharacters() const override { return "[](){},;:.$&*+-=~!%<>^|?/"; }
};

TemplateSet cSet() {
    TemplateSet set = TemplateSet::makeNew("C");
    set.description = "C templates";
    set.setEntries({{"if", "if (\\c) {\\n}"},
                    {"fn", "void f\\c(void)\\n{\\n}"},
                    {"row", "int a\\cb = 1;\\n{\\n}"},
                    {"longabbrev1", "x"},
                    {"path", "a\\qb"}});
    return set;
}

TEST(TemplateSetTest, BodyRoundTripsWithFixedWidthsAndSortedEntries) {
    TemplateSet set = cSet();
    const std::string body = encodeTemplateBody(set);
    ASSERT_EQ(body.size(), 10u + 35 + 2 + 2 + 2 + 2 + set.entries().size() * kTemplateEntrySize);
    EXPECT_EQ(loadU16(body, 10 + 35 + 6), set.entries().size());
    // The first entry on disk is the smallest abbreviation, with its length in front.
    EXPECT_EQ(loadU16(body, 53), 2u);
    EXPECT_EQ(std::string(body.data() + 55, 2), "fn");
    TemplateSet back;
    ASSERT_EQ(decodeTemplateBody(body, true, back), TemplateRead::Ok);
    EXPECT_EQ(back, set);
    // The abbreviation was cut to ten characters when it was stored.
    EXPECT_NE(back.lookup("longabbrev"), nullptr);
}

TEST(TemplateSetTest, ShortBodiesAndNewerVersions) {
    const std::string body = encodeTemplateBody(cSet());
    TemplateSet cut;
    EXPECT_EQ(decodeTemplateBody(std::string_view(body).substr(0, 60), true, cut), TemplateRead::Truncated);
    EXPECT_EQ(cut.name, "C");
    EXPECT_TRUE(cut.entries().empty());
    TemplateSet newer;
    EXPECT_EQ(decodeTemplateBody(std::string_view(body).substr(0, 53), false, newer), TemplateRead::Ok);
    for (const TemplateEntry& entry : newer.entries()) {
        EXPECT_TRUE(entry.abbreviation.empty());
    }
}

TEST(TemplateSetTest, LookupNeedsEqualLengthAndFollowsTheCaseRule) {
    TemplateSet set = cSet();
    EXPECT_NE(set.lookup("if"), nullptr);
    EXPECT_EQ(set.lookup("i"), nullptr);
    EXPECT_EQ(set.lookup("iff"), nullptr);
    EXPECT_EQ(set.lookup("IF"), nullptr);
    set.ignoreCase = true;
    set.sortEntries();
    ASSERT_NE(set.lookup("IF"), nullptr);
    EXPECT_EQ(set.lookup("IF")->abbreviation, "if");
}

TEST(TemplateSetTest, FileNames) {
    EXPECT_EQ(templateFileName("C"), "VEXAC.TPL");
    EXPECT_EQ(templateFileName("cpp"), "VEXACPP.TPL");
    EXPECT_EQ(templateFileName("JAVA"), "VEXAJAV.TPL");
    EXPECT_EQ(templateFileName("<Default>"), "VEXAVDT.TPL");
}

TEST(TemplateSetTest, CutsKeepWholeUtf8Characters) {
    struct Case {
        std::string text;
        std::size_t limit;
        std::string kept;
    };
    const std::vector<Case> cases = {
        {"a\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 10,
         "a\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"}, // UTF-8: before the cut character
        {"abcdefgh\xE2\x86\x92", 10, "abcdefgh"},
        {"a\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9", 10,
         "a\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9"}, // Windows-1252: by bytes
        {std::string("ab\0cd", 5), 10, "ab"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cutTemplateText(c.text, c.limit), c.kept) << c.text;
    }
    TemplateSet set;
    set.putEntry({"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", "x"});
    EXPECT_EQ(set.entries().at(0).abbreviation, "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9");
}

class TemplateStoreTest : public test::ProcessorTest {
protected:
    TemplateStoreTest() : store(m_home.path().string(), frame, &processor) {
        linkHooks(idleRecorder, store);
        options.editor().smartTemplate = 1;
        options.editor().insertMode = 1;
    }
    void useCDocument(const std::vector<std::string>& text) {
        setLines(text);
        doc().setFileName("/src/main.c");
        doc().setLanguageRules(std::make_shared<CDelimiters>());
    }
    TemplateStore store;
};

TEST_F(TemplateStoreTest, LoadAllCreatesTheDefaultSetFileOnce) {
    store.loadAll();
    ASSERT_NE(store.defaultSet(), nullptr);
    EXPECT_EQ(store.current(), store.defaultSet());
    const auto path = m_home.path() / "VEXAVDT.TPL";
    const std::string bytes = test::readFileBytes(path);
    ASSERT_EQ(bytes.size(), kInfoHeaderSize + 53);
    EXPECT_EQ(bytes.substr(kInfoHeaderSize, 10), std::string("<Default>\0", 10));
    EXPECT_EQ(loadU16(bytes, kInfoHeaderSize + 45), 1u); // is default
    EXPECT_EQ(loadU16(bytes, kInfoHeaderSize + 47), 1u); // use default templates
    TemplateStore again(m_home.path().string(), frame, &processor);
    again.loadAll();
    EXPECT_EQ(again.sets().size(), 1u);
    EXPECT_EQ(test::readFileBytes(path), bytes);
}

TEST_F(TemplateStoreTest, CorruptFileIsReportedAndKeptEmpty) {
    test::writeFileBytes(m_home.path() / "VEXAPAS.TPL", "not a template file at all");
    store.loadAll();
    EXPECT_EQ(store.sets().size(), 2u);
    ASSERT_FALSE(frame.eventsOf(FrameEventKind::MessageBox).empty());
    EXPECT_EQ(frame.eventsOf(FrameEventKind::MessageBox)[0].text,
              "The 'VEXAPAS.TPL' information file is of an unknown format or has been corrupted.");
}

TEST_F(TemplateStoreTest, SelectsBySetNameAndFallsBackToDefault) {
    ASSERT_TRUE(store.saveSet(cSet()));
    store.loadAll();
    store.selectForFile("/src/main.c");
    ASSERT_NE(store.current(), nullptr);
    EXPECT_EQ(store.current()->name, "C");
    store.selectForFile("/src/notes.txt");
    EXPECT_EQ(store.current(), store.defaultSet());
    store.selectForFile("/src/Makefile");
    EXPECT_EQ(store.current(), store.defaultSet());
    EXPECT_NE(store.findSet("c"), nullptr);
    EXPECT_EQ(store.findOrLoadSet("PAS"), nullptr);
}

TEST_F(TemplateStoreTest, ExpansionWithCursorMarkIsOneUndoStep) {
    ASSERT_TRUE(store.saveSet(cSet()));
    store.loadAll();
    store.selectForExtension("C");
    useCDocument({"row"});
    place(0, 3);
    type(" ");
    EXPECT_EQ(lines(), (std::vector<std::string>{"int ab = 1;", "{", "}"}));
    EXPECT_EQ(doc().cursorLine(), 0);
    EXPECT_EQ(doc().cursorOffset(), 5);
    EXPECT_FALSE(processor.templateTyping());
    exec(functionIdOf("Undo"));
    EXPECT_EQ(lines(), (std::vector<std::string>{"row"}));
}

TEST_F(TemplateStoreTest, WhenExpansionDoesNotHappen) {
    ASSERT_TRUE(store.saveSet(cSet()));
    store.loadAll();
    store.selectForExtension("C");
    struct Case {
        std::string line;
        int cursor;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"ifx", 2, "if x"},                  // the cursor is on a letter
        {"longabbrev1", 11, "longabbrev1 "}, // typed text cut to ten never equals a shorter entry
        {"IF", 2, "IF "},                    // case counts by default
        {"", 0, " "},                        // nothing before the cursor
    };
    for (const Case& c : cases) {
        useCDocument({c.line});
        place(0, c.cursor);
        type(" ");
        EXPECT_EQ(lines()[0], c.after) << c.line;
    }
}

// A space typed before letters beyond ASCII is typed inside a word: nothing expands.
TEST_F(TemplateStoreTest, LettersOfTheDocumentsEncodingAreWordCharacters) {
    ASSERT_TRUE(store.saveSet(cSet()));
    store.loadAll();
    store.selectForExtension("C");
    struct Case {
        std::string line;
        TextEncoding encoding;
    };
    const std::vector<Case> cases = {
        {"if\xE9t\xE9", TextEncoding::Windows1252}, // é
        {"if\x9A"
         "a",
         TextEncoding::Windows1252},                 // š
        {"if\xDF", TextEncoding::Windows1252},       // ß
        {"if\xC3\xA9t\xC3\xA9", TextEncoding::Utf8}, // é
        {"if\xC3\x89T\xC3\x89", TextEncoding::Utf8}, // É
        {"if\xD0\xB6", TextEncoding::Utf8},          // Cyrillic zhe
    };
    for (const Case& c : cases) {
        useCDocument({c.line});
        doc().setEncoding(c.encoding);
        place(0, 2);
        type(" ");
        EXPECT_EQ(lines()[0], c.line.substr(0, 2) + " " + c.line.substr(2)) << c.line;
    }
}

TEST_F(TemplateStoreTest, AbbreviationStartsAfterDelimiterOrBlank) {
    ASSERT_TRUE(store.saveSet(cSet()));
    store.loadAll();
    store.selectForExtension("C");
    useCDocument({"    x=if"});
    place(0, 8);
    type(" ");
    EXPECT_EQ(lines()[0].substr(0, 10), "    x=if (");
    useCDocument({"a\\qb"});
    store.current()->putEntry({"q", "a\\qb"});
    place(0, 4);
    type(" ");
    EXPECT_EQ(lines()[0], "a\\qb ");
    useCDocument({"path"});
    place(0, 4);
    type(" ");
    // An unknown escape types the backslash and then the character as usual.
    EXPECT_EQ(lines()[0], "a\\qb");
}

TEST_F(TemplateStoreTest, IgnoreCaseAndDefaultSetFallback) {
    TemplateSet c = cSet();
    c.useDefaultTemplates = false;
    ASSERT_TRUE(store.saveSet(c));
    TemplateSet fallback = TemplateSet::makeDefault();
    fallback.ignoreCase = true;
    fallback.setEntries({{"hdr", "HEADER"}});
    ASSERT_TRUE(store.saveSet(fallback));
    store.loadAll();
    store.selectForExtension("C");
    useCDocument({"hdr"});
    place(0, 3);
    type(" ");
    EXPECT_EQ(lines()[0], "hdr ");
    store.current()->useDefaultTemplates = true;
    useCDocument({"HDR"});
    place(0, 3);
    type(" ");
    EXPECT_EQ(lines()[0], "HEADER");
}

// Sets written before UTF-8 documents hold Windows-1252 bytes; newer ones UTF-8. Either kind
// expands in documents of either encoding, as the characters it stands for.
TEST_F(TemplateStoreTest, ExpansionsAreWrittenInTheDocumentsEncoding) {
    TemplateSet set = TemplateSet::makeNew("C");
    set.setEntries({{"e", "caf\xC3\xA9\\c!"},        // UTF-8 text
                    {"old", "caf\xE9"},              // an older Windows-1252 entry
                    {"arr", "a \xE2\x86\x92 b"},     // no Windows-1252 form
                    {"\xC3\xA9t\xC3\xA9", "summer"}, // a UTF-8 abbreviation
                    {"h\xF4t", "hot"}});             // a Windows-1252 abbreviation
    ASSERT_TRUE(store.saveSet(set));
    store.loadAll();
    store.selectForExtension("C");
    constexpr auto utf8 = TextEncoding::Utf8;
    constexpr auto cp1252 = TextEncoding::Windows1252;
    struct Case {
        std::string typed;
        TextEncoding encoding;
        std::string after;
        int cursor;
    };
    const std::vector<Case> cases = {
        {"e", utf8, "caf\xC3\xA9!", 5},
        {"e", cp1252, "caf\xE9!", 4},
        {"old", utf8, "caf\xC3\xA9", 5},
        {"old", cp1252, "caf\xE9", 4},
        {"arr", utf8, "a \xE2\x86\x92 b", 7},
        {"\xC3\xA9t\xC3\xA9", utf8, "summer", 6},
        {"\xE9t\xE9", cp1252, "summer", 6},
        {"h\xC3\xB4t", utf8, "hot", 3},
        {"h\xF4t", cp1252, "hot", 3},
        // The same bytes read as other characters are another text.
        {"\xC3\xA9t\xC3\xA9", cp1252, "\xC3\xA9t\xC3\xA9 ", 6},
        {"h\xF4t", utf8, "h\xF4t ", 4},
    };
    for (const Case& c : cases) {
        useCDocument({c.typed});
        doc().setEncoding(c.encoding);
        place(0, static_cast<int>(c.typed.size()));
        type(" ");
        EXPECT_EQ(lines(), std::vector<std::string>{c.after}) << c.typed;
        EXPECT_EQ(doc().cursorOffset(), c.cursor) << c.typed;
    }
}

TEST_F(TemplateStoreTest, AnExpansionTheDocumentCannotHoldIsRefused) {
    TemplateSet set = TemplateSet::makeNew("C");
    set.setEntries({{"arr", "a \xE2\x86\x92 b"}});
    ASSERT_TRUE(store.saveSet(set));
    store.loadAll();
    store.selectForExtension("C");
    useCDocument({"x arr"});
    place(0, 5);
    EXPECT_FALSE(store.expandBeforeSpace(doc()));
    EXPECT_EQ(lines(), std::vector<std::string>{"x arr"});
    EXPECT_EQ(doc().cursorOffset(), 5);
    EXPECT_EQ(frame.lastStatus(),
              "The character U+2192 can not be held by this Windows-1252 document. View > "
              "Encoding switches it to UTF-8.");
    // Typed, the space then goes in as it would without the template.
    type(" ");
    EXPECT_EQ(lines(), std::vector<std::string>{"x arr "});
    exec(functionIdOf("Undo"));
    EXPECT_EQ(lines(), std::vector<std::string>{"x arr"});
}

} // namespace
} // namespace vexa::aids
