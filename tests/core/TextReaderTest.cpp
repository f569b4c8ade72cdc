// Reading lines: DOS and Unix line ends, chunk boundaries, lines of any length, Ctrl-Z as a byte, NUL, OEM.
#include "core/TextReader.h"

#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "core/TextWriter.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

struct ReadResult {
    std::vector<std::string> lines;
    bool nulls = false;
};

ReadResult readAll(const test::TempHome& home, const std::string& bytes, ReadOptions options) {
    std::string path = home.file("input.txt");
    test::writeFileBytes(path, bytes);
    TextReader reader(options);
    EXPECT_TRUE(reader.open(path));
    ReadResult result;
    std::string line;
    while (!reader.endReached()) {
        int length = reader.readLine(line);
        if (length >= 0) {
            EXPECT_EQ(static_cast<std::size_t>(length), line.size());
            result.lines.push_back(line);
        }
    }
    result.nulls = reader.nullsSeen();
    return result;
}

struct ReadCase {
    const char* name;
    std::string bytes;
    bool unixText;
    std::vector<std::string> lines;
    bool nulls;
};

TEST(TextReader, SplitsLinesByTheChosenTerminator) {
    using namespace std::string_literals;
    const ReadCase cases[] = {
        {"dos", "a\r\nb\r\n", false, {"a", "b"}, false},
        {"dos without final end", "a\r\nbc", false, {"a", "bc"}, false},
        {"dos keeps a lone LF in the line", "a\nb\n", false, {"a\nb\n"}, false},
        {"dos keeps a lone CR in the line", "a\rb\r\nc", false, {"a\rb", "c"}, false},
        {"dos empty lines", "\r\n\r\nx\r\n", false, {"", "", "x"}, false},
        {"unix", "a\nb", true, {"a", "b"}, false},
        {"unix drops the CR of a DOS file", "a\r\nb\r\n", true, {"a", "b"}, false},
        {"unix keeps lone CRs", "a\rb\r", true, {"a\rb\r"}, false},
        {"empty file", "", false, {}, false},
        // Ctrl-Z is an ordinary byte: the text after it is read like any other.
        {"ctrl-z inside a line",
         "ab\x1a"
         "cd\r\nef\r\n",
         false,
         {"ab\x1a"
          "cd",
          "ef"},
         false},
        {"ctrl-z at a line start", "ab\r\n\x1azz", false, {"ab", "\x1azz"}, false},
        {"ctrl-z in unix text", "a\x1a\nb\n", true, {"a\x1a", "b"}, false},
        {"nul becomes a space", "a\0b\r\nc"s, false, {"a b", "c"}, true},
    };
    test::TempHome home;
    for (const auto& c : cases) {
        ReadResult result = readAll(home, c.bytes, {c.unixText, false});
        EXPECT_EQ(result.lines, c.lines) << c.name;
        EXPECT_EQ(result.nulls, c.nulls) << c.name;
    }
}

TEST(TextReader, LongLinesComeWholeAcrossManyChunks) {
    test::TempHome home;
    // Lengths around the chunk size and far beyond it, each with a CR LF that may straddle a
    // chunk boundary.
    for (std::size_t length : {std::size_t{1023}, std::size_t{8191}, std::size_t{8192}, std::size_t{8193},
                               std::size_t{70'000}}) {
        std::string line(length, 'x');
        for (std::size_t i = 0; i < length; i += 997) {
            line[i] = static_cast<char>('a' + i % 26);
        }
        for (bool unixText : {false, true}) {
            ReadResult result = readAll(home, line + "\r\n" + line + "\r\nnext", {unixText, false});
            ASSERT_EQ(result.lines.size(), 3u) << length;
            EXPECT_EQ(result.lines[0], line) << length;
            EXPECT_EQ(result.lines[1], line) << length;
            EXPECT_EQ(result.lines[2], "next");
        }
    }
}

TEST(TextReader, LinesAcrossChunkBoundariesReadWhole) {
    test::TempHome home;
    // Shifting the text by one byte at a time puts every byte of a CR LF on a chunk boundary.
    for (int shift = 0; shift < 12; ++shift) {
        std::vector<std::string> expected{std::string(static_cast<std::size_t>(shift), 'p')};
        std::string bytes = expected.front() + "\r\n";
        for (int i = 0; i < 2600; ++i) {
            expected.push_back("line " + std::to_string(i));
            bytes += expected.back() + "\r\n";
        }
        for (bool unixText : {false, true}) {
            ReadResult result = readAll(home, bytes, {unixText, false});
            ASSERT_EQ(result.lines, expected) << "shift " << shift << (unixText ? " unix" : " dos");
        }
    }
}

TEST(TextReader, OemTextIsConvertedOnReading) {
    test::TempHome home;
    // Code page 437 has u-umlaut at 0x81 and e-acute at 0x82; the ANSI set has them at 0xFC and 0xE9.
    ReadResult result = readAll(home, "gr\x81n caf\x82\r\n", {false, true});
    ASSERT_EQ(result.lines.size(), 1u);
    EXPECT_EQ(result.lines[0], "gr\xFCn caf\xE9");
}

TEST(TextReader, DirectoriesAndMissingFilesDoNotOpen) {
    test::TempHome home;
    TextReader reader;
    EXPECT_FALSE(reader.open(home.path().string()));
    EXPECT_FALSE(reader.open(home.file("missing.txt")));
    EXPECT_FALSE(reader.open("/dev/null")); // a device is no text file
    std::string line;
    EXPECT_EQ(reader.readLine(line), -1);
    EXPECT_TRUE(reader.endReached());
}

TEST(TextWriter, EndsEveryLineAndConvertsToOem) {
    test::TempHome home;
    struct WriteCase {
        WriteOptions options;
        std::string expected;
    };
    const WriteCase cases[] = {
        {{false, false}, "gr\xFCn\r\n\r\nend\r\n"},
        {{true, false}, "gr\xFCn\n\nend\n"},
        {{false, true}, "gr\x81n\r\n\r\nend\r\n"},
    };
    for (const auto& c : cases) {
        std::string path = home.file("out.txt");
        TextWriter writer(c.options);
        ASSERT_TRUE(writer.open(path));
        writer.writeLine("gr\xFCn");
        writer.writeLine("");
        writer.writeLine("end");
        EXPECT_EQ(writer.lastWritten(), c.options.unixText ? 4u : 5u);
        ASSERT_TRUE(writer.commit());
        EXPECT_EQ(test::readFileBytes(path), c.expected);
    }
}

TEST(TextWriter, AWriteProtectedFileIsNotReplaced) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "the superuser may write to any file";
    }
    test::TempHome home;
    std::string path = home.file("locked.txt");
    test::writeFileBytes(path, "keep\r\n");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    TextWriter writer;
    EXPECT_FALSE(writer.open(path));
    EXPECT_EQ(test::readFileBytes(path), "keep\r\n");
}

TEST(TextWriter, AFailedOpenLeavesNothingBehind) {
    test::TempHome home;
    TextWriter writer;
    EXPECT_FALSE(writer.open(home.file("no/such/dir/out.txt")));
    EXPECT_FALSE(writer.open(home.path().string()));
}

} // namespace
} // namespace vexa
