// Typing, moving and undoing in a UTF-8 document: whole characters, never part of a sequence.
#include "commands/CommandProcessor.h"
#include "core/DocumentText.h"

#include "ProcessorFixture.h"

namespace vexa {
namespace {

using test::ProcessorTest;
using Lines = std::vector<std::string>;

constexpr auto kUtf8 = TextEncoding::Utf8;
constexpr auto k1252 = TextEncoding::Windows1252;
// a, e acute (2 bytes), a CJK ideograph (3 bytes, 2 cells), an emoji (4 bytes, 2 cells), b.
const std::string kMixed = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"
                           "b";

class Utf8EditingTest : public ProcessorTest {};

TEST_F(Utf8EditingTest, TheCursorStepsOverWholeCharactersAndShowsCellColumns) {
    setLines({kMixed}, kUtf8);
    const std::pair<int, int> stops[] = {{0, 0}, {1, 1}, {3, 2}, {6, 4}, {10, 6}, {11, 7}, {12, 8}};
    for (std::size_t i = 0; i < std::size(stops); ++i) {
        if (i > 0) {
            exec(functionIdOf("MoveLineRight"));
        }
        EXPECT_EQ(doc().cursorOffset(), stops[i].first);
        EXPECT_EQ(doc().cursorColumn(), stops[i].second);
    }
    for (std::size_t i = std::size(stops) - 1; i > 0; --i) {
        exec(functionIdOf("MoveLineLeft"));
        EXPECT_EQ(doc().cursorOffset(), stops[i - 1].first);
    }
    // A column in the second cell of a wide character puts the cursor on its start.
    doc().setCursorColumn(5);
    EXPECT_EQ(doc().cursorOffset(), 6);
    // An offset inside a sequence is never taken.
    doc().setCursorOffset(8);
    EXPECT_EQ(doc().cursorOffset(), 6);
}

TEST_F(Utf8EditingTest, TypedCharactersAreWrittenInTheDocumentsEncoding) {
    struct Case {
        const char* name;
        TextEncoding encoding;
        int insertMode;
        std::string typed; // UTF-8
        std::string expected;
        bool refused;
    };
    const Case cases[] = {
        {"e acute in utf-8", kUtf8, 1, "\xC3\xA9",
         "\xC3\xA9"
         "ab",
         false},
        {"e acute in 1252", k1252, 1, "\xC3\xA9",
         "\xE9"
         "ab",
         false},
        {"euro in 1252", k1252, 1, "\xE2\x82\xAC",
         "\x80"
         "ab",
         false},
        {"greek in utf-8", kUtf8, 1, "\xCE\xB1",
         "\xCE\xB1"
         "ab",
         false},
        {"greek refused in 1252", k1252, 1, "\xCE\xB1", "ab", true},
        {"emoji in utf-8", kUtf8, 1, "\xF0\x9F\x98\x80",
         "\xF0\x9F\x98\x80"
         "ab",
         false},
        {"overwrite a one-byte character by a sequence", kUtf8, 0, "\xE4\xB8\xAD",
         "\xE4\xB8\xAD"
         "b",
         false},
    };
    for (const Case& c : cases) {
        options.editor().insertMode = c.insertMode;
        setLines({"ab"}, c.encoding);
        frame.clearEvents();
        type(c.typed);
        EXPECT_EQ(lines(), Lines{c.expected}) << c.name;
        bool toldWhy = false;
        for (const FrameEvent& event : statuses()) {
            toldWhy = toldWhy || event.text.find("U+03B1") != std::string::npos;
        }
        EXPECT_EQ(toldWhy, c.refused) << c.name;
    }
}

TEST_F(Utf8EditingTest, OverwritingReplacesTheWholeCharacterAtTheCursor) {
    options.editor().insertMode = 0;
    setLines({kMixed}, kUtf8);
    place(0, 3);
    type("xy");
    EXPECT_EQ(lines(), Lines{"a\xC3\xA9xy"
                             "b"});
    EXPECT_EQ(doc().cursorOffset(), 5);
}

TEST_F(Utf8EditingTest, OneUndoTakesBackATypedSequence) {
    setLines({"ab"}, kUtf8);
    place(0, 1);
    type("\xE4\xB8\xAD");
    ASSERT_EQ(lines(), Lines{"a\xE4\xB8\xAD"
                             "b"});
    exec(functionIdOf("Undo"));
    EXPECT_EQ(lines(), Lines{"ab"});
    EXPECT_EQ(doc().cursorOffset(), 1);
}

TEST_F(Utf8EditingTest, SwitchingTheEncodingReinterpretsAndNeverConverts) {
    setLines({kMixed}, k1252);
    place(0, 4);
    doc().setEncoding(kUtf8);
    EXPECT_EQ(lines(), Lines{kMixed});
    EXPECT_EQ(doc().cursorOffset(), 3) << "the cursor moves to the start of its character";
    EXPECT_FALSE(doc().isModified());
}

} // namespace
} // namespace vexa
