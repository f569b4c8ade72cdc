// Lines: column mapping, byte changes over borrowed and owned bytes, the comment scan.
#include "core/DocLine.h"

#include <gtest/gtest.h>
#include <string>

namespace vexa {
namespace {

struct ColumnCase {
    const char* text;
    int tabSize;
    int offset;
    int column;
    TextEncoding encoding = TextEncoding::Windows1252;
};

constexpr auto kUtf8 = TextEncoding::Utf8;
// a, e acute (2 bytes), a CJK ideograph (3 bytes, 2 cells), tab, b.
constexpr const char* kMixed = "a\xC3\xA9\xE4\xB8\xAD\tb";

TEST(DocLine, ColumnOfOffsetCountsTabsToTheNextStop) {
    const ColumnCase cases[] = {
        {"a\tb", 3, 0, 0},
        {"a\tb", 3, 1, 1},
        {"a\tb", 3, 2, 3},
        {"a\tb", 3, 3, 4},
        {"a\tb", 3, 5, 6}, // past the end every offset counts one
        {"\t\t", 4, 2, 8},
        {"ab\t", 4, 3, 4},
        {"abc\t", 3, 4, 6},
        {"", 3, 7, 7},
        {"abc", 3, -2, 0},
        // Windows-1252: every byte one cell.
        {kMixed, 4, 3, 3},
        {kMixed, 4, 6, 6},
        {kMixed, 4, 7, 8},
        // UTF-8: a character takes its cells, a wide one two; an offset inside a sequence has the
        // column of its start; the tab counts from the cell column.
        {kMixed, 4, 1, 1, kUtf8},
        {kMixed, 4, 2, 1, kUtf8},
        {kMixed, 4, 3, 2, kUtf8},
        {kMixed, 4, 5, 2, kUtf8},
        {kMixed, 4, 6, 4, kUtf8},
        {kMixed, 4, 7, 8, kUtf8},
        {kMixed, 4, 8, 9, kUtf8},
        {kMixed, 4, 10, 11, kUtf8},
        // An invalid byte is one cell of its own.
        {"\xFF\xC3\xA9", 4, 1, 1, kUtf8},
        {"\xFF\xC3\xA9", 4, 3, 2, kUtf8},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DocLine(c.text).columnOfOffset(c.offset, {c.tabSize, c.encoding}), c.column)
            << '"' << c.text << "\" offset " << c.offset;
    }
}

TEST(DocLine, OffsetOfColumnMapsColumnsInsideATabToTheTab) {
    const ColumnCase cases[] = {
        {"a\tb", 3, 0, 0},
        {"a\tb", 3, 1, 1},
        {"a\tb", 3, 1, 2},
        {"a\tb", 3, 2, 3},
        {"a\tb", 3, 9, 10}, // 3 + (10 - 4)
        {"\t\t", 4, 1, 4},
        {"\t\t", 4, 1, 7},
        {"", 3, 5, 5},
        // UTF-8: a column inside a wide character maps to its start, never into a sequence.
        {kMixed, 4, 1, 1, kUtf8},
        {kMixed, 4, 3, 2, kUtf8},
        {kMixed, 4, 3, 3, kUtf8},
        {kMixed, 4, 6, 4, kUtf8},
        {kMixed, 4, 6, 7, kUtf8},
        {kMixed, 4, 7, 8, kUtf8},
        {kMixed, 4, 10, 11, kUtf8},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DocLine(c.text).offsetOfColumn(c.column, {c.tabSize, c.encoding}), c.offset)
            << '"' << c.text << "\" column " << c.column;
    }
}

TEST(DocLine, ChangesToABorrowedLineNeverTouchTheBufferItReads) {
    std::string buffer = "hello world";
    const std::string original = buffer;
    struct Change {
        const char* name;
        void (*apply)(DocLine&);
        const char* expected;
    };
    const Change changes[] = {
        {"insert", [](DocLine& l) { l.insert(5, ","); }, "hello, world"},
        {"erase middle", [](DocLine& l) { l.erase(0, 6); }, "world"},
        {"erase tail", [](DocLine& l) { l.erase(5, 100); }, "hello"},
        {"set byte", [](DocLine& l) { l.setByte(0, 'J'); }, "Jello world"},
        {"truncate", [](DocLine& l) { l.truncate(4); }, "hell"},
        {"append", [](DocLine& l) { l.append("!"); }, "hello world!"},
        {"insert own bytes", [](DocLine& l) { l.insert(0, l.text().substr(6)); }, "worldhello world"},
    };
    for (const auto& change : changes) {
        DocLine line = DocLine::borrowing(buffer);
        change.apply(line);
        EXPECT_EQ(line.text(), change.expected) << change.name;
        EXPECT_EQ(buffer, original) << change.name;
    }
}

TEST(DocLine, CopiesOwnTheirBytesAndMovesKeepThem) {
    std::string buffer = "abc";
    DocLine borrowed = DocLine::borrowing(buffer);
    DocLine copy(borrowed);
    EXPECT_TRUE(copy.ownsText());
    EXPECT_FALSE(borrowed.ownsText());
    buffer[0] = 'X';
    EXPECT_EQ(copy.text(), "abc");

    DocLine owned("grow me");
    for (int i = 0; i < 200; ++i) {
        owned.append("x");
    }
    DocLine moved(std::move(owned));
    EXPECT_EQ(moved.length(), 207);
    EXPECT_EQ(moved.text().substr(0, 7), "grow me");
    moved.erase(0, 200);
    EXPECT_EQ(moved.text(), "xxxxxxx");
    moved.insert(3, std::string(100, 'y'));
    EXPECT_EQ(moved.length(), 107);
    EXPECT_EQ(moved.text().substr(0, 4), "xxxy");
}

struct ScanCase {
    const char* open;
    const char* close;
    const char* text;
    int startDepth;
    int endDepth;
    int opens;
    int closes;
};

TEST(DocLine, CommentScanCountsMarkersAndCarriesTheDepth) {
    const ScanCase cases[] = {
        {"/*", "*/", "int a;", 0, 0, 0, 0},
        {"/*", "*/", "a /* b", 0, 1, 1, 0},
        {"/*", "*/", "still inside", 2, 2, 0, 0},
        {"/*", "*/", "x */ y", 3, 0, 0, 1}, // a close ends every open comment
        {"/*", "*/", "*/ a /* b /*", 2, 2, 2, 1},
        {"/*", "*/", "/*/", 0, 1, 1, 0}, // open is tried first and consumes two bytes
        {"/*", "*/", "/**/", 0, 0, 1, 1},
        {"{", "}", "{a}{", 0, 1, 2, 1},
        {"", "", "/* nothing */", 4, 4, 0, 0},
    };
    for (const auto& c : cases) {
        DocLine line(c.text);
        CommentMarkers markers{c.open, c.close};
        EXPECT_EQ(line.endDepth(c.startDepth, markers), c.endDepth) << c.text;
        EXPECT_EQ(line.scanComments(c.startDepth, markers), c.endDepth) << c.text;
        EXPECT_EQ(line.startDepth(), c.startDepth) << c.text;
        EXPECT_EQ(line.openCount(), c.opens) << c.text;
        EXPECT_EQ(line.closeCount(), c.closes) << c.text;
    }
}

TEST(DocLine, CommentStartGivesTheOffsetPastTheFirstClose) {
    CommentMarkers markers{"/*", "*/"};
    DocLine inside("abc */ def */");
    inside.scanComments(1, markers);
    CommentStart start = inside.commentStart(markers);
    EXPECT_TRUE(start.insideAtStart);
    EXPECT_EQ(start.closeEnd, 6);

    DocLine plain("/* open");
    plain.scanComments(0, markers);
    start = plain.commentStart(markers);
    EXPECT_FALSE(start.insideAtStart);
    EXPECT_EQ(start.closeEnd, 0);
}

} // namespace
} // namespace vexa
