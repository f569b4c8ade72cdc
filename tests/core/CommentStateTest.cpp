// The comment state of lines stays what a full scan from the top would give, after any edit.
#include <gtest/gtest.h>

#include "DocumentFixture.h"
#include "core/Document.h"
#include "core/DocumentFile.h"
#include "support/RecordingMessenger.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

using test::setLines;

class CRules final : public LanguageRules {
public:
    CommentMarkers commentMarkers() const override { return {"/*", "*/"}; }
};

// The state a fresh scan of the whole text gives, line by line.
void expectFreshScan(const Document& document, const std::string& context) {
    CommentMarkers markers{"/*", "*/"};
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
