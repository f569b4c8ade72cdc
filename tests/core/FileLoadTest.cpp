// Loading a file block by block: lines and characters cut by a block's end, files that change
// while they load or after, a stopped load and what a partly loaded document refuses.
#include "core/FileLoad.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "DocumentFixture.h"
#include "core/ContentHash.h"
#include "core/Document.h"
#include "core/DocumentFile.h"
#include "settings/Format.h"
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

TEST_F(FileLoadTest, AFileThatGrowsOrShrinksWhileLoadingGivesTheBytesRead) {
    const std::string first = withPieceAcross(0, "", 0, 3 * kBlock);
    struct Case {
        const char* name;
        std::string after; // the file's bytes once the first block has been read
        std::string loaded;
    };
    const Case cases[] = {
        {"grows", first + "added at the end\n", first + "added at the end\n"},
        // The second read finds the file ended where it now ends.
        {"shrinks", first.substr(0, kBlock / 2), first.substr(0, kBlock)},
        {"emptied", "", first.substr(0, kBlock)},
    };
    for (const Case& c : cases) {
        const std::string path = writeFile(first);
        FileLoad load(document, options, messenger);
        ASSERT_TRUE(load.start()) << c.name;
        ASSERT_TRUE(load.step()) << c.name;
        test::writeFileBytes(path, c.after);
        load.runToEnd();
        ASSERT_TRUE(load.complete()) << c.name;
        EXPECT_EQ(test::linesOf(document), expectedLines(c.loaded)) << c.name;
        EXPECT_EQ(document.fileHash(), ContentHash::of(c.loaded)) << c.name;
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

} // namespace
} // namespace vexa
