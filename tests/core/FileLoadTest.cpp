// Loading a file block by block: lines and characters cut by a block's end, files that change
// while they load or after, a stopped load and what a partly loaded document refuses.
#include "core/FileLoad.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <span>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

#include "DocumentFixture.h"
#include "core/ContentHash.h"
#include "core/Document.h"
#include "core/DocumentFile.h"
#include "settings/Format.h"
#include "platform/Charset.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingMessenger.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

namespace fs = std::filesystem;
constexpr std::size_t kBlock = FileLoad::kBlockSize;

// Bytes of `size` filler characters with the piece placed so that it ends `after` bytes past
// `boundary`.
std::string withPieceAcross(std::size_t boundary, std::string_view piece, std::size_t after,
                            std::size_t size) {
    std::string bytes(size, 'a');
    for (std::size_t at = 79; at < size; at += 80) {
        bytes[at] = '\n';
    }
    bytes.replace(boundary + after - piece.size(), piece.size(), piece);
    bytes.back() = '\n';
    return bytes;
}

// The lines of bytes cut at LF, a CR before it going with the line end.
std::vector<std::string> expectedLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        std::size_t length = end - start;
        if (length > 0 && bytes[end - 1] == '\r') {
            --length;
        }
        lines.push_back(bytes.substr(start, length));
        start = end + 1;
    }
    return lines;
}

class FileLoadTest : public ::testing::Test {
protected:
    std::string writeFile(const std::string& bytes) {
        const std::string path = home.file("load.c");
        test::writeFileBytes(path, bytes);
        document.setFileName(path);
        return path;
    }

    // Saves the document under another name and gives the bytes written.
    std::string savedBytes() {
        const std::string name = document.fileName();
        document.setFileName(home.file("saved.c"));
        EXPECT_TRUE(DocumentFile({}, messenger).save(document));
        std::string bytes = test::readFileBytes(document.fileName());
        document.setFileName(name);
        return bytes;
    }

    test::TempHome home;
    test::RecordingMessenger messenger;
    FileOptions options;
    Document document;
};

TEST_F(FileLoadTest, LinesAndCharactersCutByABlockEndLoadWhole) {
    struct Case {
        const char* name;
        std::string bytes;
        TextEncoding encoding;
    };
    const std::string euro = "\xE2\x82\xAC";
    const Case cases[] = {
        {"CR at a block's end, LF at the next one's start",
         withPieceAcross(kBlock, "x\r\n", 1, 2 * kBlock + 100), TextEncoding::Utf8},
        {"line end at the block's last byte", withPieceAcross(kBlock, "y\r\n", 0, 2 * kBlock),
         TextEncoding::Utf8},
        {"a UTF-8 character cut after its first byte", withPieceAcross(kBlock, euro, 2, 2 * kBlock + 7),
         TextEncoding::Utf8},
        {"a UTF-8 character cut before its last byte", withPieceAcross(kBlock, euro, 1, 2 * kBlock + 7),
         TextEncoding::Utf8},
        {"a lone lead byte at a block's end", withPieceAcross(kBlock, "\xE2 ", 1, 2 * kBlock + 7),
         TextEncoding::Windows1252},
        {"one line over several blocks",
         std::string(3 * kBlock + kBlock / 2, 'L') + "\r\nend" + euro + "\r\n", TextEncoding::Utf8},
        {"a line ending just past half a block, then long ones",
         std::string(kBlock / 2 + 3, 'h') + "\n" + std::string(5 * kBlock, 'k') + "\n", TextEncoding::Utf8},
    };
    options.newEncoding = TextEncoding::Utf8;
    for (const Case& c : cases) {
        writeFile(c.bytes);
        FileLoad load(document, options, messenger);
        ASSERT_TRUE(load.start()) << c.name;
        load.runToEnd();
        ASSERT_TRUE(load.complete()) << c.name;
        EXPECT_EQ(test::linesOf(document), expectedLines(c.bytes)) << c.name;
        EXPECT_EQ(document.encoding(), c.encoding) << c.name;
        EXPECT_EQ(document.fileHash(), ContentHash::of(c.bytes)) << c.name;
        EXPECT_EQ(document.fileSize(), c.bytes.size()) << c.name;
        EXPECT_FALSE(document.isReadOnly()) << c.name;
        EXPECT_EQ(savedBytes(), c.bytes) << c.name;
    }
}

TEST_F(FileLoadTest, TheFirstLineEndDecidesTheDocumentsLineEndsWhileTheRestLoads) {
    struct Case {
        const char* name;
        std::string bytes;
        LineEnds ends;
    };
    const Case cases[] = {
        {"LF lines, CR LF further on", withPieceAcross(0, "", 80, 3 * kBlock) + "x\r\n", LineEnds::Unix},
        {"CR LF first, LF after", "first\r\n" + withPieceAcross(0, "", 80, 3 * kBlock), LineEnds::Dos},
        {"a first line longer than a block, ending in CR LF",
         std::string(kBlock + 10, 'f') + "\r\n" + withPieceAcross(0, "", 80, 3 * kBlock), LineEnds::Dos},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(c.bytes);
        // The document starts with the other line ends, so a stale value shows.
        document.setLineEnds(c.ends == LineEnds::Dos ? LineEnds::Unix : LineEnds::Dos);
        FileLoad load(document, options, messenger);
        ASSERT_TRUE(load.start());
        while (document.lineCount() < 2 && load.step()) {
        }
        ASSERT_EQ(load.state(), FileLoad::State::Reading);
        EXPECT_EQ(document.lineEnds(), c.ends);
        load.runToEnd();
        EXPECT_EQ(document.lineEnds(), c.ends);
        EXPECT_TRUE(document.hasMixedLineEnds());
        EXPECT_EQ(savedBytes(), c.bytes);
    }
}

TEST_F(FileLoadTest, AReaderWithoutAThreadOfItsOwnGivesTheSamePieces) {
    // Byte 0, a UTF-8 character cut by a block's end and a short last block.
    std::string bytes = withPieceAcross(kBlock, "\xE2\x82\xAC", 1, 2 * kBlock + 300);
    bytes[10] = '\0';
    const std::string path = writeFile(bytes);
    struct Read {
        std::vector<std::string> blocks;
        bool nulls = false;
        bool utf8 = false;
        std::uint64_t hash = 0;
        std::uint64_t total = 0;
    };
    auto readAll = [&](BlockReader::Reading reading) {
        BlockReader reader(BlockReader::File(std::fopen(path.c_str(), "rb")), false, reading);
        Read read;
        for (bool end = false; !end;) {
            EXPECT_LT(read.blocks.size(), 5u);
            BlockReader::Piece piece = reader.take();
            read.blocks.emplace_back(piece.block.data(), piece.size);
            read.nulls = read.nulls || piece.nulls;
            end = piece.endOfFile || read.blocks.size() >= 5;
            read.utf8 = piece.utf8.valid && piece.utf8.multiByte;
            read.hash = piece.hash;
            read.total = piece.total;
        }
        return read;
    };
    const Read ahead = readAll(BlockReader::Reading::Ahead);
    const Read onTake = readAll(BlockReader::Reading::OnTake);
    std::string expected = bytes;
    expected[10] = ' ';
    ASSERT_EQ(onTake.blocks.size(), 3u);
    EXPECT_EQ(onTake.blocks[0] + onTake.blocks[1] + onTake.blocks[2], expected);
    EXPECT_EQ(onTake.blocks, ahead.blocks);
    EXPECT_TRUE(onTake.nulls);
    EXPECT_TRUE(onTake.utf8);
    EXPECT_EQ(onTake.total, bytes.size());
    EXPECT_EQ(onTake.hash, ahead.hash);
    EXPECT_NE(onTake.hash, 0u);
}

TEST_F(FileLoadTest, AFileThatGrowsOrShrinksWhileLoadingGivesTheBytesRead) {
    // More blocks than the reader reads ahead, so that it cannot have met the end before the
    // change.
    constexpr std::size_t kBlocks = BlockReader::kAhead + 2;
    const std::string first = withPieceAcross(0, "", 0, kBlocks * kBlock);
    const std::string added = "added at the end\n";
    std::vector<std::string> cutShort;
    for (std::size_t blocks = 1; blocks <= kBlocks; ++blocks) {
        cutShort.push_back(first.substr(0, blocks * kBlock));
    }
    // The file changes once the first block has been taken. The reader may already hold some
    // blocks after it, read before the change: a file cut short gives the old bytes up to the end
    // of some block, never fewer than the first block's, and never bytes it did not read.
    struct Case {
        const char* name;
        std::function<void(const std::string&)> change;
        std::vector<std::string> possible;
    };
    const Case cases[] = {
        {"grows",
         [&](const std::string& path) {
             std::ofstream(path, std::ios::binary | std::ios::app) << added;
         },
         {first + added}},
        {"shrinks", [](const std::string& path) { fs::resize_file(path, kBlock / 2); }, cutShort},
        {"emptied", [](const std::string& path) { fs::resize_file(path, 0); }, cutShort},
    };
    for (const Case& c : cases) {
        const std::string path = writeFile(first);
        FileLoad load(document, options, messenger);
        ASSERT_TRUE(load.start()) << c.name;
        ASSERT_TRUE(load.step()) << c.name;
        c.change(path);
        load.runToEnd();
        ASSERT_TRUE(load.complete()) << c.name;
        const auto loaded = std::find_if(c.possible.begin(), c.possible.end(), [&](const std::string& bytes) {
            return bytes.size() == document.fileSize();
        });
        ASSERT_NE(loaded, c.possible.end()) << c.name << ": " << document.fileSize() << " bytes";
        EXPECT_EQ(test::linesOf(document), expectedLines(*loaded)) << c.name;
        EXPECT_EQ(document.fileHash(), ContentHash::of(*loaded)) << c.name;
    }
}

TEST_F(FileLoadTest, ALaterBlockThatIsNotUtf8SwitchesTheEncodingWhileLoading) {
    const std::string euro = "\xE2\x82\xAC";
    struct Case {
        const char* name;
        std::string bytes;
        TextEncoding newEncoding;
        // The encoding after each of the first three blocks, and at the end.
        std::vector<TextEncoding> after;
        std::vector<TextEncoding> announced;
    };
    using enum TextEncoding;
    const Case cases[] = {
        {"a byte that is no UTF-8 in the third block",
         withPieceAcross(2 * kBlock, "\xE9", 10, 3 * kBlock + 100), Utf8,
         {Utf8, Utf8, Windows1252, Windows1252}, {Windows1252}},
        {"ASCII first, UTF-8 in the second block",
         withPieceAcross(kBlock, euro, 10, 3 * kBlock + 100), Windows1252,
         {Windows1252, Utf8, Utf8, Utf8}, {Utf8}},
        {"a sequence left open at the end", withPieceAcross(0, euro, 10, 3 * kBlock + 100) + "\xE2\x82",
         Utf8, {Utf8, Utf8, Utf8, Windows1252}, {Windows1252}},
        {"UTF-8 throughout", withPieceAcross(2 * kBlock, euro, 10, 3 * kBlock + 100), Utf8,
         {Utf8, Utf8, Utf8, Utf8}, {}},
    };
    for (const Case& c : cases) {
        writeFile(c.bytes);
        options.newEncoding = c.newEncoding;
        FileLoad load(document, options, messenger);
        std::vector<TextEncoding> announced;
        load.setEncodingListener([&](TextEncoding encoding) {
            announced.push_back(encoding);
            EXPECT_EQ(document.encoding(), encoding) << c.name;
        });
        EXPECT_FALSE(load.blockReady()) << c.name << ": not started";
        ASSERT_TRUE(load.start()) << c.name;
        std::vector<TextEncoding> after;
        for (int block = 0; block < 3; ++block) {
            (void)document.takeRedrawAll();
            while (!load.blockReady()) {
                std::this_thread::yield(); // the reader thread brings it
            }
            ASSERT_TRUE(load.step()) << c.name;
            after.push_back(document.encoding());
            if (block > 0 && after[block] != after[block - 1]) {
                EXPECT_TRUE(document.takeRedrawAll()) << c.name << ": the view repaints";
            }
        }
        load.runToEnd();
        ASSERT_TRUE(load.complete()) << c.name;
        EXPECT_FALSE(load.blockReady()) << c.name << ": complete";
        after.push_back(document.encoding());
        EXPECT_EQ(after, c.after) << c.name;
        EXPECT_EQ(announced, c.announced) << c.name;
        EXPECT_EQ(test::linesOf(document), expectedLines(c.bytes)) << c.name << ": the bytes stay";
    }
}

TEST_F(FileLoadTest, AStoppedLoadKeepsWhatWasReadReadOnlyAndRefusesEverySave) {
    const std::string bytes = withPieceAcross(0, "", 0, 3 * kBlock);
    const std::string path = writeFile(bytes);
    FileLoad load(document, options, messenger);
    ASSERT_TRUE(load.start());
    // Between blocks the document shows what has arrived and can be neither changed nor saved.
    ASSERT_TRUE(load.step());
    EXPECT_TRUE(document.isReadOnly());
    EXPECT_TRUE(document.isLoadIncomplete());
    EXPECT_GT(document.lineCount(), 0);
    load.stop();
    EXPECT_EQ(load.state(), FileLoad::State::Stopped);
    EXPECT_FALSE(load.step());
    EXPECT_TRUE(document.isReadOnly());
    EXPECT_TRUE(document.isLoadIncomplete());
    EXPECT_TRUE(messenger.sawStatus(vexa::formatText(file_messages::kLoadStopped, "load.c")));
    const std::vector<std::string> shown = test::linesOf(document);
    EXPECT_EQ(shown, expectedLines(bytes.substr(0, kBlock - kBlock % 80)));

    DocumentFile file(options, messenger);
    EXPECT_FALSE(file.save(document));
    EXPECT_FALSE(file.saveCommand(document));
    EXPECT_EQ(file.saveAs(document, home.file("other.c")), SaveAsResult::Failed);
    ASSERT_FALSE(messenger.boxes().empty());
    EXPECT_EQ(messenger.boxes().back().text, vexa::formatText(file_messages::kIncompleteNotSaved, "load.c"));
    EXPECT_EQ(test::readFileBytes(path), bytes) << "the file is untouched";
    EXPECT_FALSE(fs::exists(home.file("other.c")));
}

TEST_F(FileLoadTest, TheTextStaysWhenTheFileIsTruncatedAfterLoading) {
    const std::string bytes = withPieceAcross(kBlock, "needle\n", 2, 2 * kBlock + 500);
    const std::string path = writeFile(bytes);
    FileLoad load(document, options, messenger);
    ASSERT_TRUE(load.start());
    load.runToEnd();
    fs::resize_file(path, 10);
    // Every line is read again (as scrolling and searching do), then the file is written back.
    EXPECT_EQ(test::linesOf(document), expectedLines(bytes));
    DocumentFile file(options, messenger);
    document.setFileName(path);
    ASSERT_TRUE(file.save(document));
    EXPECT_EQ(test::readFileBytes(path), bytes);
}

TEST_F(FileLoadTest, UndoAfterALoadReturnsToTheLoadedText) {
    const std::string bytes = withPieceAcross(kBlock, "x\r\n", 1, 2 * kBlock);
    writeFile(bytes);
    FileLoad load(document, options, messenger);
    ASSERT_TRUE(load.start());
    load.runToEnd();
    document.goToLine(document.lineCount() - 1);
    document.insertText("typed");
    document.nextGroup();
    EXPECT_TRUE(document.isModified());
    EXPECT_TRUE(document.undo());
    EXPECT_FALSE(document.undo()) << "nothing from before the load";
    EXPECT_EQ(test::linesOf(document), expectedLines(bytes));
    EXPECT_FALSE(document.isModified());
}

// Lines of numbered text over `size` bytes with the given end, each line different from the next.
std::string numberedLines(std::size_t size, std::string_view end) {
    std::string bytes;
    for (int line = 0; bytes.size() < size; ++line) {
        bytes += "line " + std::to_string(line) + " of the text that a save writes back";
        bytes += end;
    }
    return bytes;
}

// The offsets [start, end) of the line (without its end) that holds the byte at an offset.
std::pair<std::size_t, std::size_t> lineAround(const std::string& bytes, std::size_t offset) {
    const std::size_t start = bytes.rfind('\n', offset - 1) + 1;
    std::size_t end = bytes.find('\n', offset);
    if (end > start && bytes[end - 1] == '\r') {
        --end;
    }
    return {start, end};
}

TEST_F(FileLoadTest, SavingWritesEditedAndUneditedLinesByteForByte) {
    const std::string lf = numberedLines(2 * kBlock + kBlock / 2, "\n");
    const std::string crLf = numberedLines(2 * kBlock + kBlock / 2, "\r\n");
    // The line cut by the first block's end, moved to the start of the second block.
    const auto [cutStart, cutEnd] = lineAround(crLf, kBlock);
    const int cutLine = static_cast<int>(std::count(crLf.begin(), crLf.begin() + cutStart, '\n'));
    const auto [middleStart, middleEnd] = lineAround(lf, kBlock + kBlock / 3);
    const int middleLine = static_cast<int>(std::count(lf.begin(), lf.begin() + middleStart, '\n'));
    const int lastLine = static_cast<int>(std::count(lf.begin(), lf.end(), '\n')) - 1;
    std::string mixed = crLf;
    mixed.replace(cutEnd, 2, "\n");
    std::string allLf = crLf;
    for (std::size_t at = 0; (at = allLf.find("\r\n", at)) != std::string::npos;) {
        allLf.erase(at, 1);
    }
    // High bytes that come back the same through the OEM conversion both ways.
    std::string oem = crLf;
    for (std::size_t at = 0; at < oem.size(); at += 997) {
        char byte = static_cast<char>(0x80 + at % 0x80);
        char converted = byte;
        platform::oemToAnsi(std::span<char>(&converted, 1));
        platform::ansiToOem(std::span<char>(&converted, 1));
        if (converted == byte && oem[at] != '\r' && oem[at] != '\n') {
            oem[at] = byte;
        }
    }
    FileOptions oemOptions;
    oemOptions.oemRead = true;
    oemOptions.oemWrite = true;
    FileOptions trim;
    trim.fileTrim = true;
    const auto atEndOf = [](int line, std::string_view text) {
        return [line, text](Document& d) {
            ASSERT_TRUE(d.goToLine(line));
            d.setCursorOffset(d.currentLine().length());
            d.insertText(text);
        };
    };
    struct Case {
        const char* name;
        std::string bytes;
        FileOptions options;
        std::function<void(Document&)> edit;
        std::string expected;
    };
    const Case cases[] = {
        {"LF, unedited", lf, {}, nullptr, lf},
        {"CR LF, unedited", crLf, {}, nullptr, crLf},
        {"byte-order mark", "\xEF\xBB\xBF" + lf, {}, nullptr, "\xEF\xBB\xBF" + lf},
        {"first line edited", crLf, {}, atEndOf(0, "!"), crLf.substr(0, crLf.find('\r')) + "!" +
                                                               crLf.substr(crLf.find('\r'))},
        {"the line cut by the first block's end edited", crLf, {}, atEndOf(cutLine, "+"),
         crLf.substr(0, cutEnd) + "+" + crLf.substr(cutEnd)},
        {"a line removed in the middle", lf, {}, [&](Document& d) { ASSERT_TRUE(d.deleteLine(middleLine)); },
         lf.substr(0, middleStart) + lf.substr(middleEnd + 1)},
        {"the last line edited", lf, {}, atEndOf(lastLine, "z"), lf.substr(0, lf.size() - 1) + "z\n"},
        {"a last line without an end gets the document's", crLf + "tail", {}, nullptr, crLf + "tail\r\n"},
        {"mixed line ends, each kept", mixed, {}, nullptr, mixed},
        {"line ends switched by the user", crLf, {},
         [](Document& d) { d.changeLineEnds(LineEnds::Unix); }, allLf},
        {"OEM read and written", oem, oemOptions, atEndOf(cutLine, "o"),
         oem.substr(0, cutEnd) + "o" + oem.substr(cutEnd)},
        {"an empty last line trimmed", lf + "\n", trim, nullptr, lf},
    };
    for (const Case& c : cases) {
        writeFile(c.bytes);
        DocumentFile file(c.options, messenger);
        ASSERT_TRUE(file.load(document)) << c.name;
        ASSERT_GT(document.lineCount(), 1000) << c.name;
        if (c.edit) {
            c.edit(document);
        }
        ASSERT_TRUE(file.save(document)) << c.name;
        const std::string written = test::readFileBytes(document.fileName());
        EXPECT_EQ(written.size(), c.expected.size()) << c.name;
        EXPECT_TRUE(written == c.expected) << c.name;
        EXPECT_EQ(document.fileHash(), ContentHash::of(c.expected)) << c.name;
    }
}

TEST_F(FileLoadTest, ASaveThatFailsPartWayLeavesTheOldFileWhole) {
    const std::string bytes = numberedLines(3 * kBlock, "\r\n");
    const std::string path = writeFile(bytes);
    DocumentFile file(options, messenger);
    ASSERT_TRUE(file.load(document));
    {
        // The disk fills after the first block: the large spans written at once fail too.
        test::FileSizeLimit limit(kBlock + kBlock / 2);
        EXPECT_FALSE(file.save(document));
        EXPECT_EQ(file.saveAs(document, home.file("other.c")), SaveAsResult::Failed);
    }
    EXPECT_TRUE(test::readFileBytes(path) == bytes);
    EXPECT_FALSE(fs::exists(home.file("other.c")));
    EXPECT_EQ(document.fileName(), path);
    // Nothing but the file itself is left in its directory.
    EXPECT_EQ(std::distance(fs::directory_iterator(home.path()), fs::directory_iterator()), 1);
    if (geteuid() != 0) {
        fs::permissions(path, fs::perms::owner_write, fs::perm_options::remove);
        EXPECT_FALSE(file.save(document)) << "a write-protected file";
        fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
        EXPECT_TRUE(test::readFileBytes(path) == bytes);
    }
    ASSERT_TRUE(file.save(document));
    EXPECT_TRUE(test::readFileBytes(path) == bytes);
}

} // namespace
} // namespace vexa
