// The column checkpoints of a long line give exactly the whole-line walk's results, also after
// edits that keep some checkpoints.
#include "core/ColumnIndex.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/Document.h"

namespace vexa {
namespace {

// A long line of tabs, ASCII, two-byte and three-byte UTF-8 and wide characters, with a stray
// continuation byte.
std::string mixedLine(std::size_t length) {
    const std::string pieces[] = {"\t", "abc", "\xC3\xBC", "\xE2\x82\xAC", "\xE4\xB8\xAD", "x\ty", "\x80"};
    std::string text;
    for (std::size_t i = 0; text.size() < length; i = (i * 5 + 3) % 7) {
        text += pieces[i];
    }
    return text;
}

// Checks every n-th offset and column, and offsets past the end, against the whole-line walk.
void expectSameMapping(ColumnIndex& index, const DocLine& line, LineLayout layout, int step) {
    const int width = line.width(layout);
    for (int offset = 0; offset < line.length() + 5; offset += step) {
        ASSERT_EQ(index.columnOfOffset(0, line, offset, layout), line.columnOfOffset(offset, layout))
            << offset;
    }
    for (int column = 0; column < width + 5; column += step) {
        ASSERT_EQ(index.offsetOfColumn(0, line, column, layout), line.offsetOfColumn(column, layout))
            << column;
    }
    EXPECT_EQ(index.columnOfOffset(0, line, line.length(), layout), width);
}

TEST(ColumnIndex, LongLinesMapAsTheWholeLineWalkDoes) {
    for (const TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Windows1252}) {
        for (const int tabSize : {1, 3, 8}) {
            DocLine line(mixedLine(50'000));
            ColumnIndex index;
            expectSameMapping(index, line, LineLayout{tabSize, encoding}, 499);
        }
    }
}

TEST(ColumnIndex, EditsKeepTheMappingRight) {
    const LineLayout layout{4, TextEncoding::Utf8};
    DocLine line(mixedLine(40'000));
    ColumnIndex index;
    expectSameMapping(index, line, layout, 501);
    struct EditCase {
        const char* name;
        int offset;
        int erase;
        std::string insert;
    };
    const EditCase edits[] = {{"tab near the start", 10, 0, "\t"},
                              {"wide character in the middle", 20'001, 0, "\xE4\xB8\xAD"},
                              {"bytes removed", 30'000, 7, ""},
                              {"typing at the end", -1, 0, "z"}};
    for (const auto& e : edits) {
        const int at = e.offset < 0 ? line.length() : e.offset;
        line.replace(at, e.erase, e.insert);
        index.textChanged(0, line, at);
        expectSameMapping(index, line, layout, 499);
    }
}

TEST(ColumnIndex, TheDocumentsCursorColumnFollowsEditsOnALongLine) {
    Document document;
    document.makeNew();
    document.insertLine(DocLine(mixedLine(100'000)));
    document.moveToLine(0);
    for (const int offset : {99'000, 50'000, 3}) {
        document.setCursorOffset(offset);
        document.typeCharacter('\t');
        const DocLine& line = document.line(0);
        EXPECT_EQ(document.cursorColumn(), line.columnOfOffset(document.cursorOffset(), document.layout()));
        const int column = document.cursorColumn() + 17;
        document.setCursorColumn(column);
        EXPECT_EQ(document.cursorOffset(), line.offsetOfColumn(column, document.layout()));
    }
}

// Several long lines asked about in turn keep their own checkpoints; lines inserted and removed
// above move them; more lines than the index keeps evict the one used longest ago, and every
// answer stays that of the whole-line walk.
TEST(ColumnIndex, SeveralLinesKeepTheirCheckpoints) {
    const LineLayout layout{4, TextEncoding::Utf8};
    std::vector<DocLine> lines;
    for (int i = 0; i < 3; ++i) {
        lines.emplace_back(mixedLine(20'000 + 7'000 * static_cast<std::size_t>(i)));
    }
    ColumnIndex index;
    const auto expectLines = [&](int firstIndex) {
        for (int i = 0; i < 3; ++i) {
            const DocLine& line = lines[static_cast<std::size_t>(i)];
            for (const int offset : {0, 9'999, line.length() - 1, line.length() + 2}) {
                ASSERT_EQ(index.columnOfOffset(firstIndex + i, line, offset, layout),
                          line.columnOfOffset(offset, layout))
                    << "line " << i << " offset " << offset;
            }
        }
    };
    expectLines(0);
    const uint64_t built = index.rebuilds();
    EXPECT_EQ(built, 3u);
    expectLines(0);
    EXPECT_EQ(index.rebuilds(), built);
    // A line inserted before the first and one removed before the last.
    index.lineInserted(0);
    expectLines(1);
    index.lineInserted(2);
    index.lineRemoved(2);
    expectLines(1);
    EXPECT_EQ(index.rebuilds(), built);
    // An edit on the second line keeps its entry.
    lines[1].replace(15'000, 3, "\t\xE4\xB8\xAD");
    index.textChanged(2, lines[1], 15'000);
    expectLines(1);
    EXPECT_EQ(index.rebuilds(), built);
    // The line removed is forgotten: another line at its index is walked afresh.
    index.lineRemoved(2);
    const DocLine other(mixedLine(30'000));
    EXPECT_EQ(index.columnOfOffset(2, other, 25'000, layout), other.columnOfOffset(25'000, layout));
    EXPECT_EQ(index.rebuilds(), built + 1);

    // More long lines than the index keeps: the first ones are walked afresh, correctly.
    ColumnIndex small;
    const DocLine line(mixedLine(20'000));
    for (int i = 0; i <= ColumnIndex::kLines; ++i) {
        ASSERT_EQ(small.columnOfOffset(i, line, 19'000, layout), line.columnOfOffset(19'000, layout));
    }
    EXPECT_EQ(small.rebuilds(), static_cast<uint64_t>(ColumnIndex::kLines) + 1);
    EXPECT_EQ(small.columnOfOffset(ColumnIndex::kLines, line, 100, layout), line.columnOfOffset(100, layout));
    EXPECT_EQ(small.rebuilds(), static_cast<uint64_t>(ColumnIndex::kLines) + 1);
    EXPECT_EQ(small.columnOfOffset(0, line, 100, layout), line.columnOfOffset(100, layout));
    EXPECT_EQ(small.rebuilds(), static_cast<uint64_t>(ColumnIndex::kLines) + 2);
}

} // namespace
} // namespace vexa
