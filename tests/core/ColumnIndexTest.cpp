// The column checkpoints of a long line give exactly the whole-line walk's results, also after
// edits that keep some checkpoints.
#include "core/ColumnIndex.h"

#include <gtest/gtest.h>
#include <string>

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

} // namespace
} // namespace vexa
