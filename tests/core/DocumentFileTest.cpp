// Loading, saving, backups, touch and reload of a document's file, with their messages.
#include "core/DocumentFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>

#include "DocumentFixture.h"
#include "core/Document.h"
#include "core/FileLoad.h"
#include "platform/Charset.h"
#include "settings/Format.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingMessenger.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

namespace fs = std::filesystem;
namespace msg = file_messages;
using test::FileSizeLimit;
using test::linesOf;
using test::readFileBytes;
using test::writeFileBytes;

FileOptions withFlags(std::initializer_list<bool FileOptions::*> flags) {
    FileOptions options;
    for (bool FileOptions::*flag : flags) {
        options.*flag = true;
    }
    return options;
}

class DocumentFileTest : public ::testing::Test {
protected:
    // Loads bytes written to a file of the temporary home into the document.
    bool loadBytes(const std::string& bytes, const FileOptions& options = {},
                   const std::string& name = "file.txt") {
        std::string path = home.file(name);
        writeFileBytes(path, bytes);
        document.setFileName(path);
        DocumentFile file(options, messenger);
        return file.load(document);
    }

    // Sets a file's modification time to a fixed moment in the past.
    static void ageFile(const std::string& path) {
        struct timeval times[2] = {{1000000000, 0}, {1000000000, 0}};
        ASSERT_EQ(utimes(path.c_str(), times), 0);
    }

    bool boxShown(const std::string& text) const {
        for (const auto& box : messenger.boxes()) {
            if (box.text == text) {
                return true;
            }
        }
        return false;
    }

    test::TempHome home;
    test::RecordingMessenger messenger;
    Document document;
};

struct RoundTripCase {
    const char* name;
    std::string bytes;
    FileOptions options;
};

TEST_F(DocumentFileTest, LoadingAndSavingGiveBackTheSameBytes) {
    // Every byte above 127 that survives the OEM conversion both ways.
    std::string oemBytes;
    for (int byte = 128; byte < 256; ++byte) {
        char original = static_cast<char>(byte);
        char converted = original;
        platform::oemToAnsi(std::span<char>(&converted, 1));
        platform::ansiToOem(std::span<char>(&converted, 1));
        if (converted == original) {
            oemBytes += original;
        }
    }
    ASSERT_GT(oemBytes.size(), 40u);
    const RoundTripCase cases[] = {
        {"dos", "int main()\r\n{\r\n\treturn 0;\r\n}\r\n", {}},
        {"dos with empty lines", "\r\n\r\na\r\n\r\n", {}},
        {"unix", "line one\nline two\n\n", withFlags({&FileOptions::readUnix, &FileOptions::writeUnix})},
        {"oem", oemBytes + "\r\nplain\r\n", withFlags({&FileOptions::oemRead, &FileOptions::oemWrite})},
        {"high bytes untouched without oem", "\x80\x81\xff\r\n", {}},
        // Each file keeps its own line ends whatever the settings say.
        {"dos file with unix settings", "a\r\nb\r\n",
         withFlags({&FileOptions::readUnix, &FileOptions::writeUnix})},
        {"unix file with dos settings", "a\nb\n", {}},
        {"mixed line ends kept per line", "a\r\nb\nc\r\nd\n", {}},
        {"utf-8 text",
         "Caf\xC3\xA9 \xCE\xB1\xCE\xB2 \xE4\xB8\xAD \xF0\x9F\x98\x80 \xE2\x94\x8C\xE2\x94\x80\n",
         {}},
        {"utf-8 byte-order mark kept", "\xEF\xBB\xBFna\xC3\xAFve\r\n", {}},
        {"byte-order mark of an ascii file", "\xEF\xBB\xBFplain\n", {}},
        {"byte-order mark before windows-1252 text",
         "\xEF\xBB\xBF"
         "caf\xE9\r\n",
         {}},
        {"utf-8 file with oem settings", "\xC3\xA9t\xC3\xA9\n",
         withFlags({&FileOptions::oemRead, &FileOptions::oemWrite})},
        {"ctrl-z in a line", "ab\032cd\nline2\n", {}},
        {"ctrl-z at a line start and alone on a line", "a\r\n\032b\r\n\032\r\n", {}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(loadBytes(c.bytes, c.options)) << c.name;
        DocumentFile file(c.options, messenger);
        ASSERT_TRUE(file.save(document)) << c.name;
        EXPECT_EQ(readFileBytes(document.fileName()), c.bytes) << c.name;
    }
}

TEST_F(DocumentFileTest, TheEncodingAndLineEndsComeFromTheFile) {
    struct Case {
        const char* name;
        std::string bytes;
        FileOptions options;
        TextEncoding encoding;
        LineEnds ends;
        bool byteOrderMark;
    };
    FileOptions legacy = withFlags({&FileOptions::writeUnix});
    legacy.newEncoding = TextEncoding::Windows1252;
    const Case cases[] = {
        {"utf-8", "Caf\xC3\xA9\r\n", {}, TextEncoding::Utf8, LineEnds::Dos, false},
        {"windows-1252", "Caf\xE9\n", {}, TextEncoding::Windows1252, LineEnds::Unix, false},
        {"ascii follows the new-document setting", "plain\r\n", legacy, TextEncoding::Windows1252,
         LineEnds::Dos, false},
        {"ascii, default setting", "plain\n", {}, TextEncoding::Utf8, LineEnds::Unix, false},
        {"no line end takes the write setting", "one line", legacy, TextEncoding::Windows1252, LineEnds::Unix,
         false},
        {"the first line end decides", "a\nb\r\nc\r\n", {}, TextEncoding::Utf8, LineEnds::Unix, false},
        {"byte-order mark", "\xEF\xBB\xBFx\n", legacy, TextEncoding::Utf8, LineEnds::Unix, true},
        {"invalid after valid is 1252",
         "\xC3\xA9\n\xE9\n",
         {},
         TextEncoding::Windows1252,
         LineEnds::Unix,
         false},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(loadBytes(c.bytes, c.options)) << c.name;
        EXPECT_EQ(document.encoding(), c.encoding) << c.name;
        EXPECT_EQ(document.lineEnds(), c.ends) << c.name;
        EXPECT_EQ(document.hasByteOrderMark(), c.byteOrderMark) << c.name;
    }
    ASSERT_TRUE(loadBytes("\xEF\xBB\xBFx\n"));
    EXPECT_EQ(linesOf(document), std::vector<std::string>{"x"}) << "the mark is not text";
}

TEST_F(DocumentFileTest, EditedFilesKeepTheirLineEndsOnEveryLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"one\r\ntwo\r\n", "one\r\nnew\r\ntwo\r\n"},
        {"one\ntwo\n", "one\nnew\ntwo\n"},
        // A new line in a mixed file takes the document's (the first line's) end.
        {"one\ntwo\r\n", "one\nnew\ntwo\r\n"},
    };
    for (const auto& [before, after] : cases) {
        ASSERT_TRUE(loadBytes(before, withFlags({&FileOptions::writeUnix})));
        document.goToLine(1);
        document.insertEmptyLine();
        document.insertText("new");
        DocumentFile file(withFlags({&FileOptions::writeUnix}), messenger);
        ASSERT_TRUE(file.save(document));
        EXPECT_EQ(readFileBytes(document.fileName()), after);
        // The same for a new document: the settings decide.
    }
    DocumentFile file(withFlags({&FileOptions::writeUnix}), messenger);
    Document fresh;
    file.makeNew(fresh);
    EXPECT_EQ(fresh.lineEnds(), LineEnds::Unix);
    EXPECT_EQ(fresh.encoding(), TextEncoding::Utf8);
}

struct LoadCase {
    const char* name;
    std::string bytes;
    FileOptions options;
    std::vector<std::string> lines;
    bool readOnly;
    const char* box;
};

TEST_F(DocumentFileTest, LoadingFollowsTheFileRules) {
    using namespace std::string_literals;
    const LoadCase cases[] = {
        {"no final line end", "a\r\nlast", {}, {"a", "last"}, false, nullptr},
        {"dos file read as unix",
         "a\r\nb\r\n",
         withFlags({&FileOptions::readUnix}),
         {"a", "b"},
         false,
         nullptr},
        {"nul bytes", "a\0b\r\n"s, {}, {"a b"}, true, msg::kNullsReplaced},
        {"ctrl-z is kept with the text after it",
         "keep\r\ncut\x1a here\r\nkept\r\n",
         {},
         {"keep", "cut\x1a here", "kept"},
         false,
         nullptr},
        {"empty file", "", {}, {}, false, nullptr},
        {"lone CR line ends stay in one line", "a\rb\rc\r", {}, {"a\rb\rc\r"}, false, nullptr},
    };
    for (const auto& c : cases) {
        messenger.clear();
        ASSERT_TRUE(loadBytes(c.bytes, c.options)) << c.name;
        EXPECT_EQ(linesOf(document), c.lines) << c.name;
        EXPECT_EQ(document.isReadOnly(), c.readOnly) << c.name;
        EXPECT_EQ(document.nullsReplaced(), c.readOnly) << c.name;
        EXPECT_TRUE(document.isLoaded());
        EXPECT_FALSE(document.isModified());
        EXPECT_TRUE(messenger.sawStatus("Loading 0 %")) << c.name;
        if (c.box != nullptr) {
            EXPECT_TRUE(boxShown(c.box)) << c.name;
        } else {
            EXPECT_TRUE(messenger.boxes().empty()) << c.name;
        }
        document.setReadOnly(false);
    }
}

// A 70,000-byte JSON line of ASCII and a 3,000-byte line of UTF-8 text.
std::string jsonLine() {
    std::string json = "{\"items\":[";
    for (int i = 0; json.size() < 69'990; ++i) {
        json += "{\"id\":" + std::to_string(i) + ",\"name\":\"item\"},";
    }
    json.resize(69'998);
    return json + "]}";
}

std::string utf8Line() {
    std::string text;
    while (text.size() < 2'996) {
        text += "gr\xC3\xBC\xC3\x9F \xE2\x82\xAC\t"; // German letters, the euro sign, a tab
    }
    text.resize(2'996);
    while (text.size() < 3'000) {
        text += 'z';
    }
    return text;
}

TEST_F(DocumentFileTest, LongLinesLoadWholeAndSaveByteForByteAroundAnEdit) {
    const std::string json = jsonLine();
    const std::string utf8 = utf8Line();
    ASSERT_EQ(json.size(), 70'000u);
    ASSERT_EQ(utf8.size(), 3'000u);
    struct LongCase {
        const char* name;
        std::string line;
        const char* end;
        TextEncoding encoding;
    };
    const LongCase cases[] = {
        {"JSON, LF", json, "\n", TextEncoding::Windows1252},
        {"JSON, CR LF", json, "\r\n", TextEncoding::Windows1252},
        {"UTF-8, LF", utf8, "\n", TextEncoding::Utf8},
        {"UTF-8 without a final line end", utf8, "", TextEncoding::Utf8},
    };
    for (const auto& c : cases) {
        messenger.clear();
        const std::string bytes = std::string("first") + (*c.end ? c.end : "\n") + c.line + c.end;
        FileOptions options;
        options.newEncoding = TextEncoding::Windows1252;
        ASSERT_TRUE(loadBytes(bytes, options)) << c.name;
        EXPECT_TRUE(messenger.boxes().empty()) << c.name;
        ASSERT_EQ(linesOf(document), (std::vector<std::string>{"first", c.line})) << c.name;
        EXPECT_EQ(document.encoding(), c.encoding) << c.name;
        EXPECT_EQ(document.widestLine(), static_cast<int>(c.line.size())) << c.name;

        document.moveToLine(0);
        document.setCursorOffset(0);
        document.typeCharacter('X');
        DocumentFile file(options, messenger);
        ASSERT_TRUE(file.save(document)) << c.name;
        // Only the edit changed, and the final line end the document writes after a last line.
        const std::string end = *c.end ? c.end : "\n";
        EXPECT_EQ(readFileBytes(document.fileName()), "X" + bytes + (*c.end ? "" : end)) << c.name;
    }
}

TEST_F(DocumentFileTest, ATenMegabyteLineLoadsWholeAndSavesUnchanged) {
    std::string big;
    big.reserve(10'000'000);
    for (int i = 0; big.size() < 10'000'000; ++i) {
        big += static_cast<char>('a' + i % 26);
    }
    ASSERT_TRUE(loadBytes(big + "\n"));
    ASSERT_EQ(document.lineCount(), 1);
    EXPECT_EQ(document.lineText(0), big);
    DocumentFile file({}, messenger);
    ASSERT_TRUE(file.save(document));
    EXPECT_EQ(readFileBytes(document.fileName()), big + "\n");
}

TEST_F(DocumentFileTest, LoadShowsItsProgressInPercentAndHandlesEventsAfterEachBlock) {
    // Four blocks' worth of lines of 64 bytes, so that each block ends with a line: the share
    // read so far after each block, 99 % at most until the end of the file has been seen.
    std::string lines(4 * FileLoad::kBlockSize, 'x');
    for (std::size_t at = 63; at < lines.size(); at += 64) {
        lines[at] = '\n';
    }
    ASSERT_TRUE(loadBytes(lines));
    std::vector<std::string> texts;
    for (const auto& status : messenger.statuses()) {
        texts.push_back(status.text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Loading 0 %", "Loading 25 %", "Loading 50 %", "Loading 75 %",
                                               "Loading 99 %"}));
    EXPECT_EQ(messenger.drains(), 4);
    EXPECT_EQ(document.lineCount(), static_cast<int>(lines.size() / 64));
}

TEST_F(DocumentFileTest, AFileThatCannotBeOpenedGivesANewDocument) {
    struct OpenCase {
        const char* name;
        std::string path;
        bool readOnly;
    };
    fs::create_directory(home.path() / "folder");
    const OpenCase cases[] = {
        {"missing", home.file("missing.c"), false},
        // Something is there that could not be read: an unwary save must not replace it.
        {"directory", home.file("folder"), true},
    };
    for (const auto& c : cases) {
        Document fresh;
        fresh.setFileName(c.path);
        DocumentFile file({}, messenger);
        EXPECT_FALSE(file.load(fresh)) << c.name;
        EXPECT_EQ(fresh.lineCount(), 1) << c.name;
        EXPECT_FALSE(fresh.isLoaded()) << c.name;
        EXPECT_EQ(fresh.isReadOnly(), c.readOnly) << c.name;
    }
}

TEST_F(DocumentFileTest, AFileTheUserMayNotWriteOpensReadOnlyAndSavesUnderANewName) {
    // The superuser may write every file, so the access test stands in for the system's.
    const WritableCheck nothingWritable = [](const std::string&) { return false; };
    writeFileBytes(home.file("locked.txt"), "keep\r\n");
    document.setFileName(home.file("locked.txt"));
    DocumentFile file({}, messenger, nothingWritable);
    ASSERT_TRUE(file.load(document));
    EXPECT_TRUE(document.isReadOnly());
    EXPECT_EQ(messenger.lastStatus(),
              "The '" + home.file("locked.txt") +
                  "' file is write protected, so it has been opened as read only. Save As writes it under "
                  "another name.");
    EXPECT_EQ(messenger.statuses().back().sound, platform::SoundKind::Information);

    EXPECT_EQ(file.saveAs(document, home.file("copy.txt")), SaveAsResult::Saved);
    EXPECT_FALSE(document.isReadOnly());
    EXPECT_EQ(readFileBytes(home.file("copy.txt")), "keep\r\n");

    // The system's own test lets an ordinary file of the user's load as usual.
    Document writable;
    writable.setFileName(home.file("copy.txt"));
    DocumentFile plain({}, messenger);
    ASSERT_TRUE(plain.load(writable));
    EXPECT_FALSE(writable.isReadOnly());
}

TEST_F(DocumentFileTest, SavingTrimsAndEmptiesTheUndoStore) {
    ASSERT_TRUE(loadBytes("one\r\ntwo"));
    document.goToLine(1);
    document.setCursorOffset(3);
    document.newLine();
    ASSERT_EQ(linesOf(document), (std::vector<std::string>{"one", "two", ""}));
    struct TrimCase {
        bool trim;
        const char* bytes;
    };
    for (const TrimCase& c : {TrimCase{true, "one\r\ntwo\r\n"}, TrimCase{false, "one\r\ntwo\r\n\r\n"}}) {
        document.typeCharacter(' ');
        document.deleteToLineStart();
        ASSERT_TRUE(document.isModified());
        FileOptions options;
        options.fileTrim = c.trim;
        DocumentFile file(options, messenger);
        ASSERT_TRUE(file.save(document));
        EXPECT_EQ(readFileBytes(document.fileName()), c.bytes);
        EXPECT_FALSE(document.isModified());
        EXPECT_FALSE(document.undo());
    }
}

TEST_F(DocumentFileTest, WithSaveKeepsUndoASaveLeavesTheHistory) {
    ASSERT_TRUE(loadBytes("one"));
    document.setCursorOffset(3);
    document.typeCharacter('!');
    FileOptions options;
    options.saveKeepsUndo = true;
    DocumentFile file(options, messenger);
    ASSERT_TRUE(file.save(document));
    EXPECT_FALSE(document.isModified());
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(linesOf(document), (std::vector<std::string>{"one"}));
    EXPECT_TRUE(document.isModified()) << "the text differs from the saved file again";
    ASSERT_TRUE(document.redo());
    EXPECT_EQ(linesOf(document), (std::vector<std::string>{"one!"}));
}

TEST_F(DocumentFileTest, AFailedSaveKeepsTheOldFileAndTheModifiedDocument) {
    ASSERT_TRUE(loadBytes("old\r\n"));
    document.typeCharacter('x');
    DocumentFile file({}, messenger);
    document.setFileName(home.file("gone/file.txt"));
    EXPECT_FALSE(file.saveCommand(document));
    EXPECT_TRUE(document.isModified());
    EXPECT_TRUE(document.undoStore().undoCount() > 0);
    ASSERT_FALSE(messenger.statuses().empty());
    EXPECT_EQ(messenger.lastStatus(),
              "Unexpected error opening the '" + home.file("gone/file.txt") + "' file.");
    EXPECT_EQ(messenger.statuses().back().sound, platform::SoundKind::Error);
    ASSERT_EQ(messenger.boxes().size(), 1u);
    EXPECT_EQ(
        messenger.boxes()[0].text,
        "The program was unable to write to the file 'file.txt'.\nThe file may be write protected or does "
        "not exist!");
    EXPECT_EQ(messenger.boxes()[0].title, "Vexa Error");
    EXPECT_EQ(readFileBytes(home.file("file.txt")), "old\r\n");
}

TEST_F(DocumentFileTest, AWriteFailureIsReportedAndLosesNothing) {
    ASSERT_TRUE(loadBytes("small old text\r\n"));
    for (int i = 0; i < 2000; ++i) {
        document.insertLine(DocLine("a line that makes the new text larger than the limit"));
    }
    std::string backupDirectory = home.file("vbackup");
    FileOptions options;
    options.backupDirectory = backupDirectory;
    DocumentFile file(options, messenger);
    {
        FileSizeLimit limit(16 * 1024);
        EXPECT_FALSE(file.saveCommand(document));
        EXPECT_FALSE(file.backup(document, 1));
        EXPECT_EQ(file.saveAs(document, home.file("other.txt")), SaveAsResult::Failed);
    }
    EXPECT_EQ(readFileBytes(document.fileName()), "small old text\r\n");
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(document.fileName(), home.file("file.txt"));
    EXPECT_FALSE(fs::exists(home.file("other.txt")));
    EXPECT_FALSE(messenger.sawStatus(msg::kWriteSuccessful));
    ASSERT_FALSE(messenger.boxes().empty());
    EXPECT_EQ(
        messenger.boxes()[0].text,
        "The program was unable to write to the file 'file.txt'.\nThe file may be write protected or does "
        "not exist!");
    // No temporary file is left behind: only the old file and the empty backup directory.
    EXPECT_EQ(std::distance(fs::directory_iterator(home.path()), fs::directory_iterator()), 2);
    EXPECT_TRUE(fs::is_empty(backupDirectory));
    ASSERT_TRUE(file.saveCommand(document));
    EXPECT_EQ(document.lineCount(), 2001);
}

TEST_F(DocumentFileTest, AFailedWriteOfAMarkedAreaOrABackupIsShown) {
    ASSERT_TRUE(loadBytes("small old text\r\n"));
    for (int i = 0; i < 2000; ++i) {
        document.insertLine(DocLine("a line that makes the new text larger than the limit"));
    }
    document.beginMark(MarkType::Line);
    document.markStart({0, 0});
    document.markEnd({0, 1999});
    FileOptions options;
    options.backupDirectory = home.file("vbackup");
    ASSERT_TRUE(fs::create_directory(options.backupDirectory));
    DocumentFile file(options, messenger);
    {
        FileSizeLimit limit(16 * 1024);
        EXPECT_FALSE(file.writeMarkedArea(document, home.file("part.txt")));
        EXPECT_FALSE(file.backup(document, 1));
    }
    const std::string failed = "The program was unable to write to the file '%s'.\nThe file may be write "
                               "protected or does not exist!";
    ASSERT_EQ(messenger.boxes().size(), 2u);
    EXPECT_EQ(messenger.boxes()[0].text, formatText(failed.c_str(), "part.txt"));
    EXPECT_EQ(messenger.boxes()[1].text, formatText(failed.c_str(), "file.txt"));
    EXPECT_FALSE(fs::exists(home.file("part.txt")));
    EXPECT_TRUE(fs::is_empty(options.backupDirectory));
}

TEST_F(DocumentFileTest, BackupsOfSameNamedFilesKeepTheirOwnCopies) {
    FileOptions options;
    options.backupDirectory = home.file("vbackup");
    DocumentFile file(options, messenger);
    fs::create_directories(home.path() / "a");
    fs::create_directories(home.path() / "b");
    Document first;
    Document second;
    struct Source {
        Document& document;
        const char* path;
        const char* text;
    };
    for (const Source& source :
         {Source{first, "a/util.c", "int a;\r\n"}, Source{second, "b/util.c", "int b;\r\n"}}) {
        writeFileBytes(home.file(source.path), source.text);
        source.document.setFileName(home.file(source.path));
        ASSERT_TRUE(file.load(source.document));
        source.document.typeCharacter('/');
    }
    ASSERT_TRUE(file.backup(first, 1));
    ASSERT_TRUE(file.backup(second, 2));
    EXPECT_EQ(file.backupPath(first), home.file("vbackup/util.c"));
    EXPECT_EQ(file.backupPath(second), home.file("vbackup/util~2.c"));
    EXPECT_EQ(readFileBytes(home.file("vbackup/util.c")), "/int a;\r\n");
    EXPECT_EQ(readFileBytes(home.file("vbackup/util~2.c")), "/int b;\r\n");

    // Each later backup finds its own file again, also from a new DocumentFile.
    second.typeCharacter('*');
    DocumentFile later(options, messenger);
    ASSERT_TRUE(later.backup(second, 3));
    EXPECT_EQ(readFileBytes(home.file("vbackup/util~2.c")), "/*int b;\r\n");
    EXPECT_EQ(readFileBytes(home.file("vbackup/util.c")), "/int a;\r\n");

    // A file the index does not list is not overwritten either.
    writeFileBytes(home.file("vbackup/notes.txt"), "placed by hand");
    Document third;
    writeFileBytes(home.file("notes.txt"), "n\r\n");
    third.setFileName(home.file("notes.txt"));
    ASSERT_TRUE(file.load(third));
    third.typeCharacter('x');
    ASSERT_TRUE(file.backup(third, 4));
    EXPECT_EQ(readFileBytes(home.file("vbackup/notes.txt")), "placed by hand");
    EXPECT_EQ(readFileBytes(home.file("vbackup/notes~2.txt")), "xn\r\n");
}

TEST_F(DocumentFileTest, SaveCommandReportsSuccess) {
    ASSERT_TRUE(loadBytes("a\r\n"));
    document.typeCharacter('b');
    DocumentFile file({}, messenger);
    ASSERT_TRUE(file.saveCommand(document));
    EXPECT_EQ(messenger.lastStatus(), msg::kWriteSuccessful);
    EXPECT_EQ(readFileBytes(document.fileName()), "ba\r\n");
}

TEST_F(DocumentFileTest, SavingThroughALinkReplacesItsTargetAndKeepsPermissions) {
    fs::create_directory(home.path() / "real");
    std::string real = (home.path() / "real" / "f.sh").string();
    writeFileBytes(real, "echo old\n");
    ASSERT_EQ(chmod(real.c_str(), 0751), 0);
    fs::create_symlink("real/f.sh", home.path() / "link.sh");
    document.setFileName(home.file("link.sh"));
    DocumentFile file(withFlags({&FileOptions::readUnix, &FileOptions::writeUnix}), messenger);
    ASSERT_TRUE(file.load(document));
    document.setCursorOffset(5);
    document.insertText("new ");
    ASSERT_TRUE(file.save(document));
    EXPECT_TRUE(fs::is_symlink(home.path() / "link.sh"));
    EXPECT_EQ(readFileBytes(real), "echo new old\n");
    struct stat info {};
    ASSERT_EQ(stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0751u);
}

TEST_F(DocumentFileTest, SaveAsRenamesAndReportsAnExtensionChange) {
    struct SaveAsCase {
        const char* from;
        const char* to;
        SaveAsResult result;
    };
    const SaveAsCase cases[] = {
        {"a.c", "b.c", SaveAsResult::Saved},
        {"a.c", "b.C", SaveAsResult::Saved},
        {"a.c", "b.cpp", SaveAsResult::SavedWithNewExtension},
        {"a", "b.cpp", SaveAsResult::SavedWithNewExtension},
        {"a.c", "b", SaveAsResult::SavedWithNewExtension},
        {"a", "b", SaveAsResult::Saved},
        {"a.c", "missing/b.cpp", SaveAsResult::Failed},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(loadBytes("text\r\n", {}, c.from));
        DocumentFile file({}, messenger);
        std::string target = home.file(c.to);
        EXPECT_EQ(file.saveAs(document, target), c.result) << c.to;
        if (c.result == SaveAsResult::Failed) {
            EXPECT_EQ(document.fileName(), home.file(c.from));
        } else {
            EXPECT_EQ(document.fileName(), target);
            EXPECT_EQ(readFileBytes(target), "text\r\n");
        }
    }
}

TEST_F(DocumentFileTest, WriteMarkedAreaWritesEachPieceAsALine) {
    struct MarkCase {
        MarkType type;
        MarkPoint from;
        MarkPoint to;
        const char* bytes;
    };
    const MarkCase cases[] = {
        {MarkType::Line, {3, 1}, {0, 2}, "bravo two\r\ncharlie three\r\n"},
        {MarkType::Stream, {2, 0}, {5, 0}, "pha\r\n"},
        {MarkType::Stream, {6, 0}, {3, 2}, "one\r\nbravo two\r\ncha\r\n"},
        {MarkType::CuaStream, {6, 0}, {40, 1}, "one\r\nbravo two\r\n"},
        {MarkType::Column, {1, 0}, {4, 2}, "lph\r\nrav\r\nhar\r\n"},
    };
    for (const auto& c : cases) {
        test::setLines(document, {"alpha one", "bravo two", "charlie three"});
        document.beginMark(c.type);
        document.markStart(c.from);
        document.markEnd(c.to);
        DocumentFile file({}, messenger);
        ASSERT_TRUE(file.writeMarkedArea(document, home.file("part.txt")));
        EXPECT_EQ(readFileBytes(home.file("part.txt")), c.bytes) << static_cast<int>(c.type);
        EXPECT_FALSE(document.isReplaying());
    }
    document.clearMark();
    DocumentFile file({}, messenger);
    EXPECT_FALSE(file.writeMarkedArea(document, home.file("none.txt")));
    EXPECT_FALSE(fs::exists(home.file("none.txt")));
}

TEST_F(DocumentFileTest, BackupWritesModifiedNamedDocumentsOnly) {
    FileOptions options = withFlags({&FileOptions::fileTrim});
    options.backupDirectory = home.file("vbackup");
    DocumentFile file(options, messenger);
    ASSERT_TRUE(loadBytes("text\r\n", options, "notes.txt"));
    EXPECT_FALSE(file.backup(document, 1000));
    EXPECT_EQ(document.lastBackup(), 1000);
    EXPECT_FALSE(fs::exists(home.file("vbackup/notes.txt")));

    document.goToLine(1);
    document.typeCharacter('x');
    document.newLine();
    ASSERT_TRUE(file.backup(document, 2000));
    // Every line is written, the empty last one too: the trim rule is for saving only.
    EXPECT_EQ(readFileBytes(home.file("vbackup/notes.txt")), "text\r\nx\r\n\r\n");
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(document.fileName(), home.file("notes.txt"));
    EXPECT_EQ(readFileBytes(home.file("notes.txt")), "text\r\n");
    EXPECT_EQ(document.lastBackup(), 2000);

    Document unnamed;
    unnamed.makeNew();
    unnamed.typeCharacter('q');
    EXPECT_FALSE(file.backup(unnamed, 3000));
}

TEST_F(DocumentFileTest, AutomaticBackupWaitsAWholeIntervalOfModification) {
    FileOptions options;
    options.backupInterval = 1;
    options.backupDirectory = home.file("vbackup");
    DocumentFile file(options, messenger);
    ASSERT_TRUE(loadBytes("text\r\n", options, "auto.txt"));
    const int64_t start = 500'000;
    // Not modified: the clock restarts at every idle check.
    EXPECT_FALSE(file.automaticBackup(document, start));
    EXPECT_FALSE(file.automaticBackup(document, start + 120'000));
    EXPECT_EQ(document.lastBackup(), start + 120'000);
    document.typeCharacter('x');
    EXPECT_FALSE(file.automaticBackup(document, start + 150'000));
    EXPECT_FALSE(file.automaticBackup(document, start + 180'000)); // exactly 60 s: not beyond
    EXPECT_FALSE(messenger.sawStatus(msg::kBackupStarted));
    EXPECT_TRUE(file.automaticBackup(document, start + 181'000));
    EXPECT_TRUE(messenger.sawStatus(msg::kBackupStarted));
    EXPECT_EQ(messenger.busyShown(), 1);
    EXPECT_EQ(messenger.busyDepth(), 0);
    EXPECT_EQ(readFileBytes(home.file("vbackup/auto.txt")), "xtext\r\n");
    EXPECT_FALSE(file.automaticBackup(document, start + 200'000));

    options.autoBackup = false;
    DocumentFile off(options, messenger);
    EXPECT_FALSE(off.automaticBackup(document, start + 999'000));
}

TEST_F(DocumentFileTest, TouchChangesOnlyTheTimeStamp) {
    ASSERT_TRUE(loadBytes("content\r\n", {}, "touch.txt"));
    std::string path = document.fileName();
    ageFile(path);
    DocumentFile file({}, messenger);
    EXPECT_EQ(file.touchCommand(document), TouchResult::Done);
    EXPECT_EQ(readFileBytes(path), "content\r\n");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_GT(info.st_mtime, 1000000000);
    EXPECT_EQ(messenger.lastStatus(), "The '" + path + "' file has been touched.");
    EXPECT_FALSE(file.hasChangedOnDisk(document)); // the document's own doing

    ASSERT_TRUE(loadBytes("", {}, "empty.txt"));
    EXPECT_EQ(file.touch(document), TouchResult::Cannot);
    Document unnamed;
    unnamed.makeNew();
    EXPECT_EQ(file.touch(unnamed), TouchResult::Cannot);

    ASSERT_TRUE(loadBytes("a\r\n", {}, "modified.txt"));
    document.typeCharacter('b');
    EXPECT_EQ(file.touch(document), TouchResult::Done);
    EXPECT_EQ(readFileBytes(document.fileName()), "ba\r\n");
}

TEST_F(DocumentFileTest, ChangesOnDiskAreNoticedAndReloadKeepsTheCursor) {
    ASSERT_TRUE(loadBytes("one\r\ntwo\r\nthree\r\n", {}, "watch.txt"));
    std::string path = document.fileName();
    DocumentFile file({}, messenger);
    EXPECT_FALSE(file.hasChangedOnDisk(document));
    document.goToLine(1);
    document.setCursorOffset(2);
    writeFileBytes(path, "uno\r\ndos\r\ntres\r\n");
    ageFile(path);
    messenger.queueAnswer(Answer::No);
    EXPECT_FALSE(file.checkForOutsideChange(document));
    ASSERT_EQ(messenger.questions().size(), 1u);
    EXPECT_EQ(messenger.questions()[0],
              "The file '" + path +
                  "' has been changed by another \napplication. Do you want to reload this file?");
    EXPECT_EQ(document.lineText(0), "one");
    EXPECT_FALSE(file.hasChangedOnDisk(document)); // the new time was recorded

    writeFileBytes(path, "eins\r\nzwei\r\ndrei\r\n");
    messenger.queueAnswer(Answer::Yes);
    EXPECT_TRUE(file.checkForOutsideChange(document));
    EXPECT_EQ(linesOf(document), (std::vector<std::string>{"eins", "zwei", "drei"}));
    EXPECT_EQ(document.cursorLine(), 1);
    EXPECT_EQ(document.cursorOffset(), 2);
    EXPECT_TRUE(document.undoStore().isEmpty());
    EXPECT_EQ(messenger.lastStatus(), "The file '" + path + "' has been successfully reloaded.");
}

TEST_F(DocumentFileTest, ReloadCommandAsksBeforeDroppingChanges) {
    ASSERT_TRUE(loadBytes("disk\r\n", {}, "reload.txt"));
    document.typeCharacter('x');
    DocumentFile file({}, messenger);
    messenger.queueAnswer(Answer::No);
    EXPECT_FALSE(file.reloadCommand(document));
    EXPECT_EQ(document.lineText(0), "xdisk");
    EXPECT_EQ(messenger.questions().back(), "The file '" + document.fileName() +
                                                "' has changed.\nAre you sure you want to reload this file?");
    FileOptions options;
    options.checkOnReload = false;
    DocumentFile unchecked(options, messenger);
    EXPECT_TRUE(unchecked.reloadCommand(document));
    EXPECT_EQ(document.lineText(0), "disk");
    EXPECT_EQ(messenger.questions().size(), 1u);
}

TEST_F(DocumentFileTest, ReloadOfAVanishedFileKeepsTheText) {
    ASSERT_TRUE(loadBytes("precious\r\n", {}, "vanish.txt"));
    document.typeCharacter('!');
    fs::remove(document.fileName());
    DocumentFile file({}, messenger);
    EXPECT_FALSE(file.reload(document));
    EXPECT_EQ(document.lineText(0), "!precious");
    EXPECT_EQ(messenger.statuses().back().sound, platform::SoundKind::Error);
}

TEST_F(DocumentFileTest, InsertFilePlacesLinesByTheInsertionOrder) {
    writeFileBytes(home.file("insert.txt"), "x\r\ny\r\n");
    struct InsertCase {
        bool afterCursor;
        ReturnToStart back;
        std::vector<std::string> lines;
        int cursorLine;
    };
    const InsertCase cases[] = {
        {false, ReturnToStart::No, {"a", "x", "y", "b", "c"}, 3},
        {true, ReturnToStart::No, {"a", "b", "x", "y", "c"}, 3},
        {false, ReturnToStart::Yes, {"a", "x", "y", "b", "c"}, 1},
    };
    for (const auto& c : cases) {
        test::setLines(document, {"a", "b", "c"});
        document.setSettings({.insertAfterCursor = c.afterCursor});
        DocumentFile file({}, messenger);
        document.nextGroup();
        ASSERT_TRUE(file.insertFile(document, home.file("insert.txt"), 1, c.back));
        document.nextGroup();
        EXPECT_EQ(linesOf(document), c.lines);
        EXPECT_EQ(document.cursorLine(), c.cursorLine);
        EXPECT_EQ(messenger.lastStatus(), msg::kWriteSuccessful);
        ASSERT_TRUE(document.undo());
        EXPECT_EQ(linesOf(document), (std::vector<std::string>{"a", "b", "c"}));
        EXPECT_FALSE(document.isModified());
    }
    document.setReadOnly(true);
    DocumentFile file({}, messenger);
    EXPECT_FALSE(file.insertFile(document, home.file("insert.txt"), 0, ReturnToStart::No));
    EXPECT_EQ(messenger.lastStatus(), msg::kReadOnly);
    document.setReadOnly(false);
    EXPECT_FALSE(file.insertFile(document, home.file("nothing.txt"), 0, ReturnToStart::No));
    EXPECT_EQ(
        messenger.boxes().back().text,
        "The program was unable to write to the file 'nothing.txt'.\nThe file may be write protected or does "
        "not exist!");
}

} // namespace
} // namespace vexa
