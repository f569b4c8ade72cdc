// Joining and splitting lines of a file that mixes CR LF and LF line ends: the lines the user did
// not touch keep their ends, a joined line takes the removed line's end and both parts of a split
// line keep its end.
#include "ProcessorFixture.h"
#include "core/DocumentFile.h"
#include "support/RecordingMessenger.h"

namespace vexa {
namespace {

using test::readFileBytes;
using test::writeFileBytes;

class MixedLineEndsTest : public test::ProcessorTest {
protected:
    // Loads the bytes as a file into the pane's document.
    void load(const std::string& bytes) {
        writeFileBytes(path(), bytes);
        auto document = std::make_unique<Document>();
        document->setFileName(path());
        ASSERT_TRUE(DocumentFile(FileOptions{}, messenger).load(*document));
        setDocument(std::move(document));
    }

    // Saves the document and reads the file back.
    std::string saved() {
        EXPECT_TRUE(DocumentFile(FileOptions{}, messenger).save(doc()));
        return readFileBytes(path());
    }

    std::string path() const { return m_home.file("mixed.txt"); }

    test::RecordingMessenger messenger;
};

struct EndsCase {
    const char* name;
    std::string bytes;
    int line;
    int offset;
    std::vector<const char*> functions;
    std::string expected;
};

TEST_F(MixedLineEndsTest, JoinsAndSplitsKeepTheEndsOfTheLinesTheyTouch) {
    const std::string dosFirst = "a\r\nb\nc\r\n";
    const std::string unixFirst = "a\nbc\r\nd\n";
    const std::vector<EndsCase> cases = {
        {"delete at the end joins with the removed line's end", dosFirst, 0, 1, {"CharDelete"}, "ab\nc\r\n"},
        {"delete the other way round", unixFirst, 0, 1, {"CharDelete"}, "abc\r\nd\n"},
        {"backspace at the start joins", dosFirst, 1, 0, {"BackspaceEx"}, "ab\nc\r\n"},
        {"backspace at the start, unix first", unixFirst, 1, 0, {"BackspaceEx"}, "abc\r\nd\n"},
        {"line delete end ex joins", dosFirst, 0, 1, {"LineDeleteEndEx"}, "ab\nc\r\n"},
        {"enter in the middle", unixFirst, 1, 1, {"Enter"}, "a\nb\r\nc\r\nd\n"},
        {"enter in the middle of a line with the document's end",
         dosFirst,
         2,
         0,
         {"Enter"},
         "a\r\nb\n\r\nc\r\n"},
        {"enter at the end of a line", dosFirst, 1, 1, {"Enter"}, "a\r\nb\n\nc\r\n"},
        {"enter at the start of a line", dosFirst, 1, 0, {"Enter"}, "a\r\n\nb\nc\r\n"},
        {"enter next", unixFirst, 1, 1, {"EnterNext"}, "a\nbc\r\n\r\nd\n"},
        {"split and join again", unixFirst, 1, 1, {"Enter", "BackspaceEx"}, "a\nbc\r\nd\n"},
        {"undo of a join", dosFirst, 0, 1, {"CharDelete", "Undo"}, dosFirst},
        {"undo of a split", unixFirst, 1, 1, {"Enter", "Undo"}, unixFirst},
    };
    for (const EndsCase& c : cases) {
        load(c.bytes);
        place(c.line, c.offset);
        for (const char* name : c.functions) {
            exec(FunctionTable::standard().idOf(name));
        }
        EXPECT_EQ(saved(), c.expected) << c.name;
    }
}

TEST_F(MixedLineEndsTest, AStreamDeletedAcrossLinesEndsTheWayItsLastLineEnded) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"from a CR LF line to a LF line", "ab\r\ncd\r\nef\ngh\r\n", "af\ngh\r\n"},
        {"from a LF line to a CR LF line", "ab\ncd\nef\r\ngh\n", "af\r\ngh\n"},
    };
    for (const Case& c : cases) {
        load(c.bytes);
        place(0, 1);
        exec(functionIdOf("MarkBlockSet"));
        place(2, 1);
        exec(functionIdOf("MarkBlockReset"));
        exec(functionIdOf("MarkDelete"));
        EXPECT_EQ(saved(), c.expected) << c.name;
    }
}

} // namespace
} // namespace vexa
