// Lines: column mapping, byte changes over borrowed and owned bytes, the comment scan.
#include "core/DocLine.h"

#include <gtest/gtest.h>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

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

// Everything a line keeps besides its bytes' address, read through the public interface.
struct LineFields {
    std::string text;
    bool owns;
    bool changed;
    bool otherLineEnd;
    int startDepth;
    int openCount;
    int closeCount;
};

LineFields fieldsOf(const DocLine& line) {
    return {std::string(line.text()), line.ownsText(),  line.isChanged(), line.hasOtherLineEnd(),
            line.startDepth(),        line.openCount(), line.closeCount()};
}

void expectFields(const DocLine& line, const LineFields& expected, const std::string& label) {
    // The text is compared as a whole, without printing hundreds of kilobytes on a failure.
    EXPECT_EQ(line.length(), static_cast<int>(expected.text.size())) << label;
    EXPECT_TRUE(line.text() == expected.text) << label;
    EXPECT_EQ(line.ownsText(), expected.owns) << label;
    EXPECT_EQ(line.isChanged(), expected.changed) << label;
    EXPECT_EQ(line.hasOtherLineEnd(), expected.otherLineEnd) << label;
    EXPECT_EQ(line.startDepth(), expected.startDepth) << label;
    EXPECT_EQ(line.openCount(), expected.openCount) << label;
    EXPECT_EQ(line.closeCount(), expected.closeCount) << label;
}

// A few hundred kilobytes of text with comment markers near both ends: lengths above 65535 need
// both halves of the stored length.
std::string largeText() {
    std::string text(300'000, 'x');
    text.replace(10, 2, "/*");
    text.replace(text.size() - 20, 2, "*/");
    text.replace(text.size() - 10, 2, "/*");
    return text;
}

TEST(DocLine, AddressesAndLengthsRoundTripOnBothSidesOf16Bits) {
    const std::string buffer = largeText();
    const std::size_t lengths[] = {0, 1, 255, 65'535, 65'536, 65'537, 131'071, 131'072, 299'999, 300'000};
    for (std::size_t length : lengths) {
        const std::string_view view(buffer.data(), length);
        const std::string label = "length " + std::to_string(length);
        const DocLine borrowed(DocLine::Borrow{}, view, true);
        EXPECT_EQ(borrowed.text().data(), buffer.data()) << label;
        EXPECT_EQ(borrowed.text().size(), length) << label;
        EXPECT_EQ(borrowed.length(), static_cast<int>(length)) << label;
        EXPECT_EQ(borrowed.empty(), length == 0) << label;
        EXPECT_TRUE(borrowed.hasOtherLineEnd()) << label;
        const DocLine owned(view);
        EXPECT_EQ(owned.text().size(), length) << label;
        EXPECT_TRUE(owned.text() == view) << label;
        if (length > 0) {
            EXPECT_NE(owned.text().data(), buffer.data()) << label;
            EXPECT_EQ(owned.at(static_cast<int>(length) - 1), buffer[length - 1]) << label;
        }
        EXPECT_EQ(owned.at(static_cast<int>(length)), '\0') << label;
    }
    const DocLine line = DocLine::borrowing(buffer);
    for (int offset : {0, 10, 65'535, 65'536, 299'990}) {
        EXPECT_EQ(line.at(offset), buffer[static_cast<std::size_t>(offset)]) << offset;
    }
}

TEST(DocLine, BorrowedLengthsKeepEveryBitUpToTheTopOf32Bits) {
    // Views of these lengths are only measured, never read: the bytes past the buffer are not real.
    const char buffer[4] = {'a', 'b', 'c', 'd'};
    const std::size_t lengths[] = {0x0001'0000u, 0x8000'0001u, 0xFFFF'0000u, 0x0000'FFFFu, 0xFFFF'FFFFu};
    for (std::size_t length : lengths) {
        const DocLine line = DocLine::borrowing(std::string_view(buffer, length));
        EXPECT_EQ(line.text().data(), buffer) << length;
        EXPECT_EQ(line.text().size(), length) << length;
        EXPECT_FALSE(line.ownsText()) << length;
        EXPECT_FALSE(line.empty()) << length;
    }
}

TEST(DocLine, LengthAndAddressChangesLeaveTheNeighbouringFieldsAlone) {
    const std::string buffer = largeText();
    const CommentMarkers markers{"/*", "*/"};
    struct Change {
        const char* name;
        void (*apply)(DocLine&);
        bool owns;
        std::string (*expected)(std::string);
    };
    const Change changes[] = {
        {"truncate below 65536", [](DocLine& l) { l.truncate(65'535); }, false,
         [](std::string t) { return t.substr(0, 65'535); }},
        {"truncate above 65536", [](DocLine& l) { l.truncate(65'537); }, false,
         [](std::string t) { return t.substr(0, 65'537); }},
        {"erase the tail", [](DocLine& l) { l.erase(70'000, 1'000'000); }, false,
         [](std::string t) { return t.substr(0, 70'000); }},
        {"grow to 600000 bytes", [](DocLine& l) { l.append(std::string(300'000, 'y')); }, true,
         [](std::string t) { return t + std::string(300'000, 'y'); }},
        {"erase the middle", [](DocLine& l) { l.erase(100, 200'000); }, true,
         [](std::string t) { return t.erase(100, 200'000); }},
        {"replace", [](DocLine& l) { l.replace(5, 65'536, "z"); }, true,
         [](std::string t) { return t.replace(5, 65'536, "z"); }},
        {"assign", [](DocLine& l) { l.assign(std::string(70'000, 'w')); }, true,
         [](std::string) { return std::string(70'000, 'w'); }},
        {"assign nothing", [](DocLine& l) { l.assign({}); }, false,
         [](std::string) { return std::string(); }},
    };
    for (const auto& change : changes) {
        DocLine line(DocLine::Borrow{}, buffer, true);
        line.scanComments(65'535, markers);
        line.setChanged(true);
        const LineFields before = fieldsOf(line);
        ASSERT_EQ(before.openCount, 2);
        ASSERT_EQ(before.closeCount, 1);
        change.apply(line);
        LineFields expected = before;
        expected.text = change.expected(buffer);
        expected.owns = change.owns;
        expectFields(line, expected, change.name);
        EXPECT_TRUE(buffer == largeText()) << change.name;
    }

    // And the other way: flag, depth and count writes leave the address and the length alone.
    DocLine line = DocLine::borrowing(buffer);
    line.setOtherLineEnd(true);
    line.setChanged(true);
    line.scanComments(1, markers);
    line.setChanged(false);
    line.setOtherLineEnd(false);
    line.clearCommentState();
    EXPECT_EQ(line.text().data(), buffer.data());
    EXPECT_EQ(line.text().size(), buffer.size());
    EXPECT_FALSE(line.ownsText());
}

TEST(DocLine, MovesAndCopiesBetweenVectorsKeepEveryField) {
    const std::string buffer = largeText();
    const CommentMarkers markers{"/*", "*/"};
    std::vector<DocLine> source;
    source.emplace_back(DocLine::Borrow{}, buffer, true);
    source.emplace_back("owned /* text");
    source.emplace_back(DocLine::Borrow{}, std::string_view(buffer).substr(0, 65'536), false);
    source.emplace_back();
    source.emplace_back(buffer + "*/ more");
    for (std::size_t i = 0; i < source.size(); ++i) {
        source[i].scanComments(static_cast<int>(i) * 1'000, markers);
        source[i].setChanged(i % 2 == 0);
    }
    source[1].setOtherLineEnd(true);
    std::vector<LineFields> expected;
    for (const DocLine& line : source) {
        expected.push_back(fieldsOf(line));
    }
    const char* borrowedAddress = source[0].text().data();

    // Moved one at a time to the front of another vector, which moves the lines it holds each time.
    std::vector<DocLine> target;
    for (auto it = source.rbegin(); it != source.rend(); ++it) {
        target.insert(target.begin(), std::move(*it));
    }
    for (const DocLine& moved : source) {
        EXPECT_TRUE(moved.empty());
        EXPECT_FALSE(moved.ownsText());
        EXPECT_FALSE(moved.isChanged());
    }
    ASSERT_EQ(target.size(), expected.size());
    for (std::size_t i = 0; i < target.size(); ++i) {
        expectFields(target[i], expected[i], "moved line " + std::to_string(i));
    }
    EXPECT_EQ(target[0].text().data(), borrowedAddress);

    // Copies own their bytes and keep the rest; copy assignment over lines of every kind too.
    const std::vector<DocLine> copies = target;
    std::vector<DocLine> assigned(target.size(), DocLine("to be replaced"));
    for (std::size_t i = 0; i < target.size(); ++i) {
        assigned[i] = target[target.size() - 1 - i];
    }
    for (std::size_t i = 0; i < target.size(); ++i) {
        LineFields owned = expected[i];
        owned.owns = !owned.text.empty();
        expectFields(copies[i], owned, "copied line " + std::to_string(i));
        expectFields(assigned[target.size() - 1 - i], owned, "assigned line " + std::to_string(i));
        expectFields(target[i], expected[i], "original line " + std::to_string(i));
    }
}

} // namespace
} // namespace vexa
