// The comment state of lines stays what a full scan from the top would give, after any edit.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "DocumentFixture.h"
#include "core/Document.h"
#include "core/DocumentFile.h"
#include "core/FileLoad.h"
#include "support/RecordingMessenger.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

using test::setLines;

class CRules final : public LanguageRules {
public:
    CommentMarkers commentMarkers() const override { return {"/*", "*/"}; }
};

// A language whose markers share no byte.
class BraceRules final : public LanguageRules {
public:
    CommentMarkers commentMarkers() const override { return {"{", "}"}; }
};

// The state a fresh scan of the whole text gives, line by line.
void expectFreshScan(const Document& document, const std::string& context,
                     CommentMarkers markers = {"/*", "*/"}) {
    int depth = 0;
    for (int i = 0; i < document.lineCount(); ++i) {
        DocLine copy(document.lineText(i));
        int end = copy.scanComments(depth, markers);
        const DocLine& line = document.line(i);
        ASSERT_EQ(line.startDepth(), depth) << context << " line " << i;
        ASSERT_EQ(line.openCount(), copy.openCount()) << context << " line " << i;
        ASSERT_EQ(line.closeCount(), copy.closeCount()) << context << " line " << i;
        depth = end;
    }
}

TEST(CommentState, OpeningAMarkerCarriesTheDepthDownToTheFirstClose) {
    Document document;
    document.setLanguageRules(std::make_shared<CRules>());
    setLines(document, {"int a;", "b", "c */ d", "e", "f"});
    for (int i = 0; i < document.lineCount(); ++i) {
        document.clearLineChanged(i);
    }
    document.setCursorOffset(6);
    document.insertText("/*");
    const int expected[] = {0, 1, 1, 0, 0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(document.line(i).startDepth(), expected[i]) << i;
    }
    EXPECT_TRUE(document.line(1).isChanged());
    EXPECT_TRUE(document.line(2).isChanged());
    EXPECT_FALSE(document.line(3).isChanged()); // the walk stops after the line with the close
    EXPECT_EQ(document.commentStart(2).closeEnd, 4);

    document.deleteToLineStart(); // removes "int a;/" and so the open marker
    expectFreshScan(document, "after removing the open marker");
    EXPECT_EQ(document.line(1).startDepth(), 0);

    ASSERT_TRUE(document.undo());
    expectFreshScan(document, "after undo");
}

TEST(CommentState, LoadingAFileComputesTheStateOfEveryLine) {
    test::TempHome home;
    std::string path = home.file("comments.c");
    test::writeFileBytes(path, "int a; /* one\r\ntwo\r\nthree */ x\r\n/* /* four\r\nfive */\r\n");
    test::RecordingMessenger messenger;
    Document document;
    document.setLanguageRules(std::make_shared<CRules>());
    document.setFileName(path);
    DocumentFile file({}, messenger);
    ASSERT_TRUE(file.load(document));
    expectFreshScan(document, "after load");
    const int depths[] = {0, 1, 1, 0, 2};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(document.line(i).startDepth(), depths[i]) << i;
    }
}

// Lines of code without a marker byte, to `size` bytes, with bytes put in place of theirs at
// offsets (markers, lone marker bytes, line ends).
std::string linesWithPlacedBytes(std::size_t size, std::string_view end,
                                 const std::vector<std::pair<std::size_t, std::string>>& placed) {
    std::string bytes;
    for (int i = 0; bytes.size() < size; ++i) {
        bytes += "int value" + std::to_string(i) + " = " + std::to_string(i * 7) + ";";
        bytes += end;
    }
    bytes.resize(size);
    for (const auto& [offset, text] : placed) {
        bytes.replace(offset, text.size(), text);
    }
    return bytes;
}

TEST(CommentState, LoadingBlocksGivesEveryLineTheStateOfAScanLineByLine) {
    constexpr std::size_t kBlock = FileLoad::kBlockSize;
    constexpr std::size_t kSize = 2 * kBlock + kBlock / 2;
    // Lone '/' and '*' on many lines (some next to each other as markers), across every block.
    std::vector<std::pair<std::size_t, std::string>> scattered;
    const char* const pieces[] = {"*", "/", "a * b", "x / y", "/*", "*/", "/ *", "**/"};
    for (std::size_t i = 0; i * 4099 + 16 < kSize; ++i) {
        scattered.emplace_back(i * 4099 + 3, pieces[i % 8]);
    }
    struct Case {
        const char* name;
        std::string bytes;
        int insideAtLeast;   // lines that must start inside a comment
        bool braces = false; // the markers are "{" and "}"
    };
    const Case cases[] = {
        {"an open in the first line, its close in the third block",
         linesWithPlacedBytes(kSize, "\n", {{5, "/*"}, {2 * kBlock + 100, "*/"}}), 40000},
        {"an open cut by the first block's end, closed in the next block",
         linesWithPlacedBytes(kSize, "\n", {{kBlock - 1, "/*"}, {kBlock + 5000, "*/"}}), 100},
        {"a close cut by a block's end, an open at a block's first byte",
         linesWithPlacedBytes(kSize, "\n", {{10, "/*"}, {kBlock - 1, "\n/*"}, {2 * kBlock - 1, "*/"}}),
         60000},
        {"nested opens closed by one close",
         linesWithPlacedBytes(kSize, "\n", {{100, "/* /*"}, {kBlock / 2, "*/"}}), 10000},
        {"lone marker bytes on many lines", linesWithPlacedBytes(kSize, "\n", scattered), 1},
        {"CR LF lines, an open cut between its bytes and the line end",
         linesWithPlacedBytes(kSize, "\r\n", {{kBlock - 2, "/*\r\n"}, {kBlock + kBlock / 2, "*/"}}), 1000},
        {"an open in a last line without a line end",
         linesWithPlacedBytes(kSize, "\n", {{kSize - 3, "/*x"}, {kBlock, "/*"}, {kBlock + 40, "*/"}}), 1},
        {"one-byte markers that share no byte, open and close in other blocks",
         linesWithPlacedBytes(kSize, "\n",
                              {{7, "{"}, {kBlock - 1, "{"}, {kBlock + 300, "}"}, {2 * kBlock + 9, "{"}}),
         60000, true},
    };
    test::TempHome home;
    const std::string path = home.file("blocks.c");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::writeFileBytes(path, c.bytes);
        test::RecordingMessenger messenger;
        Document document;
        const std::shared_ptr<LanguageRules> rules =
            c.braces ? std::shared_ptr<LanguageRules>(std::make_shared<BraceRules>())
                     : std::make_shared<CRules>();
        document.setLanguageRules(rules);
        document.setFileName(path);
        DocumentFile file({}, messenger);
        ASSERT_TRUE(file.load(document));
        ASSERT_GT(document.lineCount(), 60000);
        expectFreshScan(document, c.name, rules->commentMarkers());
        int inside = 0;
        for (int i = 0; i < document.lineCount(); ++i) {
            inside += document.line(i).startDepth() > 0 ? 1 : 0;
        }
        EXPECT_GE(inside, c.insideAtLeast);
    }
}

TEST(CommentState, RandomEditsKeepEveryLineAsAFreshScanWouldGiveIt) {
    Document document;
    document.setLanguageRules(std::make_shared<CRules>());
    setLines(document, {"/* head", "a", "b */ c", "d /* e", "f", "g */", "h", "/* i */ j", "k", "l"});
    expectFreshScan(document, "after load");
    uint32_t state = 99;
    auto next = [&state](uint32_t range) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % range);
    };
    const char pieces[] = {'/', '*', 'x', ' '};
    // Runs of bytes that make, break or stand beside markers, inserted or put in place of others.
    const std::string_view runs[] = {"x/", "*y", "/*", "*/", "ab", "*/ /*", "//**", "q"};
    for (int step = 0; step < 3000; ++step) {
        int count = document.lineCount();
        document.goToLine(next(static_cast<uint32_t>(count)));
        const int length = document.currentLine().length();
        document.setCursorOffset(next(static_cast<uint32_t>(length + 1)));
        switch (next(11)) {
        case 7:
            document.insertText(runs[next(8)]);
            break;
        case 8:
            document.overwriteCharacter(pieces[next(4)]);
            break;
        case 9: {
            const int offset = next(static_cast<uint32_t>(length + 1));
            document.replaceAt(document.cursorLine(), offset, next(4), runs[next(8)]);
            break;
        }
        case 10:
            document.deleteAt(document.cursorLine(), next(static_cast<uint32_t>(length + 1)), 1 + next(3));
            break;
        case 0:
        case 1:
        case 2:
            document.insertCharacter(pieces[next(4)]);
            break;
        case 3:
            document.deleteCharacters();
            break;
        case 4:
            document.newLine();
            break;
        case 5:
            if (count > 3) {
                document.deleteLine(document.cursorLine());
            }
            break;
        default:
            document.insertLine(DocLine(next(2) == 0 ? "/*" : "*/"));
            break;
        }
        document.nextGroup();
        expectFreshScan(document, "step " + std::to_string(step));
        if (step % 7 == 0) {
            ASSERT_TRUE(document.undo());
            expectFreshScan(document, "undo at step " + std::to_string(step));
        }
    }
}

} // namespace
} // namespace vexa
