// A document's journal, written as it is edited, brings the same text and undo back onto the file
// it started from.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

#include "core/Document.h"
#include "core/DocumentFile.h"
#include "recovery/DocumentJournal.h"
#include "recovery/JournalReplay.h"
#include "recovery/JournalWriter.h"
#include "recovery/SnapshotSlices.h"
#include "support/RecordingMessenger.h"
#include "support/TempHome.h"

namespace vexa::recovery {
namespace {

// Passes every change on to the journal and keeps the text after each one.
class TextKeeper final : public EditObserver {
public:
    TextKeeper(Document& document, EditObserver& journal, std::set<std::string>& texts)
        : m_document(document), m_journal(journal), m_texts(texts) {
        m_document.setEditObserver(this);
    }
    ~TextKeeper() override { m_document.setEditObserver(&m_journal); }
    void beforeRecord() override { m_journal.beforeRecord(); }
    void recorded(const EditRecordView& record, int group) override {
        m_journal.recorded(record, group);
        m_texts.insert(m_document.text());
    }
    void undone() override {
        m_journal.undone();
        m_texts.insert(m_document.text());
    }
    void redone() override {
        m_journal.redone();
        m_texts.insert(m_document.text());
    }
    void undoFlushed() override { m_journal.undoFlushed(); }
    void encodingSwitched() override {
        m_journal.encodingSwitched();
        m_texts.insert(m_document.text());
    }
    void lineEndsChanged() override {
        m_journal.lineEndsChanged();
        m_texts.insert(m_document.text());
    }
    void textReplaced() override { m_journal.textReplaced(); }

private:
    Document& m_document;
    EditObserver& m_journal;
    std::set<std::string>& m_texts;
};

class JournalReplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        file = home.file("notes.txt");
        test::writeFileBytes(file, "alpha\nbeta\ngamma\n");
        journalPath = home.file("notes.vj");
    }

    void load(Document& document) {
        DocumentFile files(FileOptions{}, messenger);
        document.setFileName(file);
        ASSERT_TRUE(files.load(document));
    }

    // A run of edits of every kind, the text after each step kept.
    void edit(Document& document) {
        document.nextGroup();
        document.goToLine(1);
        document.setCursorOffset(4);
        texts.insert(document.text());
        for (char ch : std::string("-one")) {
            document.nextGroup();
            document.insertCharacter(ch);
            texts.insert(document.text());
        }
        document.nextGroup();
        document.splitLine();
        texts.insert(document.text());
        document.nextGroup();
        document.deleteLine(0);
        texts.insert(document.text());
        document.nextGroup();
        document.beginMark(MarkType::Line);
        document.nextGroup();
        document.undo();
        document.undo();
        texts.insert(document.text());
        document.redo();
        texts.insert(document.text());
        document.nextGroup();
        document.overwriteCharacter('Z');
        document.insertLine(DocLine("inserted"));
        texts.insert(document.text());
    }

    JournalContent readBack() const { return readJournal(test::readFileBytes(journalPath)); }

    test::TempHome home;
    test::RecordingMessenger messenger;
    std::string file;
    std::string journalPath;
    std::set<std::string> texts;
};

TEST_F(JournalReplayTest, ReplayOnTheLoadedFileGivesTheTextAndUndoBackToTheFile) {
    Document original;
    load(original);
    {
        JournalWriter writer;
        DocumentJournal journal(original, writer, journalPath, 0);
        edit(original);
        // The editor goes without closing the document: what it handed over is on the disk.
    }
    const JournalContent content = readBack();
    ASSERT_TRUE(content.header);
    EXPECT_TRUE(content.complete);
    EXPECT_EQ(content.header->path, file);
    EXPECT_EQ(content.header->size, 17U);
    EXPECT_FALSE(content.hasSnapshot());

    Document recovered;
    load(recovered);
    EXPECT_EQ(content.header->hash, recovered.fileHash());
    const ReplayResult result = replayJournal(recovered, content);
    EXPECT_EQ(result.refused, 0);
    EXPECT_EQ(recovered.text(), original.text());
    EXPECT_EQ(recovered.cursorLine(), original.cursorLine());
    EXPECT_EQ(recovered.cursorOffset(), original.cursorOffset());
    EXPECT_EQ(recovered.mark(), original.mark());
    EXPECT_TRUE(recovered.isModified());
    EXPECT_EQ(recovered.undoStore().undoCount(), original.undoStore().undoCount());
    while (recovered.undo()) {
    }
    EXPECT_EQ(recovered.text(), "alpha\nbeta\ngamma");
    EXPECT_FALSE(recovered.isModified());
}

// What the user does beside the edit records comes back too: emptying the undo store, and
// switching the encoding or the line ends.
TEST_F(JournalReplayTest, UndoFlushAndSwitchesOfEncodingAndLineEndsReplay) {
    test::writeFileBytes(file, "alpha\r\nb\xe9ta\ngamma\r\n");
    struct Case {
        const char* name;
        std::function<void(Document&)> step;
    };
    const std::vector<Case> cases = {
        {"undo flush", [](Document& document) { document.flushUndo(); }},
        {"encoding",
         [](Document& document) {
             document.switchEncoding(document.encoding() == TextEncoding::Utf8 ? TextEncoding::Windows1252
                                                                               : TextEncoding::Utf8);
         }},
        {"line ends", [](Document& document) { document.changeLineEnds(LineEnds::Unix); }},
        {"line ends twice",
         [](Document& document) {
             document.changeLineEnds(LineEnds::Unix);
             document.changeLineEnds(LineEnds::Dos);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Document original;
        load(original);
        const TextEncoding loadedEncoding = original.encoding();
        {
            JournalWriter writer;
            DocumentJournal journal(original, writer, journalPath, 0);
            original.nextGroup();
            original.goToLine(0);
            original.insertCharacter('a');
            original.nextGroup();
            original.insertCharacter('b');
            c.step(original);
            // Edits after the step land in a group that must stay apart from those before it.
            original.insertCharacter('c');
            original.nextGroup();
            original.insertCharacter('d');
        }
        Document recovered;
        load(recovered);
        ASSERT_EQ(recovered.encoding(), loadedEncoding);
        const ReplayResult result = replayJournal(recovered, readBack());
        EXPECT_EQ(result.refused, 0);
        EXPECT_EQ(recovered.text(), original.text());
        EXPECT_EQ(recovered.encoding(), original.encoding());
        EXPECT_EQ(recovered.lineEnds(), original.lineEnds());
        EXPECT_EQ(recovered.hasMixedLineEnds(), original.hasMixedLineEnds());
        for (int i = 0; i < original.lineCount(); ++i) {
            EXPECT_EQ(recovered.line(i).hasOtherLineEnd(), original.line(i).hasOtherLineEnd()) << i;
        }
        EXPECT_EQ(recovered.isModified(), original.isModified());
        EXPECT_EQ(recovered.undoStore().undoCount(), original.undoStore().undoCount());
        // Undo steps back through the same groups.
        while (original.undo()) {
            ASSERT_TRUE(recovered.undo());
            EXPECT_EQ(recovered.text(), original.text());
        }
        EXPECT_FALSE(recovered.undo());
    }
}

TEST_F(JournalReplayTest, ACutJournalReplaysToATextTheDocumentHad) {
    Document original;
    load(original);
    {
        JournalWriter writer;
        DocumentJournal journal(original, writer, journalPath, 0);
        TextKeeper keeper(original, journal, texts);
        edit(original);
    }
    const std::string bytes = test::readFileBytes(journalPath);
    Document loaded;
    load(loaded);
    texts.insert(loaded.text());
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        Document recovered;
        load(recovered);
        replayJournal(recovered, readJournal(std::string_view(bytes).substr(0, cut)));
        SCOPED_TRACE(cut);
        EXPECT_TRUE(texts.contains(recovered.text())) << recovered.text();
    }
}

TEST_F(JournalReplayTest, AnUntitledDocumentsJournalHoldsItsWholeText) {
    Document original;
    original.makeNew();
    original.setEncoding(TextEncoding::Utf8);
    {
        JournalWriter writer;
        DocumentJournal journal(original, writer, journalPath, 0);
        original.insertText("first line");
        original.newLine(NewLineMode::Forced);
        original.insertText("second \xc3\xa9");
    }
    const JournalContent content = readBack();
    ASSERT_TRUE(content.header);
    EXPECT_TRUE(content.header->path.empty());
    EXPECT_TRUE(content.hasSnapshot());
    Document recovered;
    replayJournal(recovered, content);
    EXPECT_EQ(recovered.text(), original.text());
    EXPECT_EQ(recovered.encoding(), TextEncoding::Utf8);
    EXPECT_TRUE(recovered.isModified());
    EXPECT_EQ(recovered.undoStore().undoCount(), original.undoStore().undoCount());
}

// An untitled text larger than a slice is copied for its journal a slice per hand-over, so that
// no edit waits for a copy of the whole: the journal starts once the copy is done, from the text
// as it then is (the edits made meanwhile in it), and goes on from the cursor where it stands.
TEST_F(JournalReplayTest, ALargeUntitledTextIsCopiedASliceAtATime) {
    Document original;
    original.makeNew();
    const int lines = 2 * static_cast<int>(SnapshotSlices::kSliceLines) + 100;
    original.clearForLoad(0);
    for (int i = 0; i < lines; ++i) {
        original.appendLoadedLine("line " + std::to_string(i));
    }
    original.finishLoad();
    JournalWriter writer;
    DocumentJournal journal(original, writer, journalPath, 0);
    original.goToLine(5);
    original.insertCharacter('a');
    journal.handOver();
    writer.sync();
    EXPECT_FALSE(std::filesystem::exists(journalPath)) << "two slices of three copied";
    original.goToLine(lines - 3); // past the point reached
    original.insertText("far");
    original.goToLine(10); // above it
    original.newLine(NewLineMode::Forced);
    original.insertText("new");
    journal.handOver();
    writer.sync();
    EXPECT_TRUE(std::filesystem::exists(journalPath));
    original.insertText("after");
    journal.handOver();
    writer.sync();
    const JournalContent content = readBack();
    ASSERT_TRUE(content.header);
    EXPECT_TRUE(content.hasSnapshot());
    Document recovered;
    replayJournal(recovered, content);
    EXPECT_EQ(recovered.text(), original.text());
    EXPECT_EQ(recovered.cursorLine(), original.cursorLine());
    EXPECT_EQ(recovered.cursorOffset(), original.cursorOffset());
}

TEST_F(JournalReplayTest, AJournalPastItsCapStartsAgainFromASnapshot) {
    Document original;
    load(original);
    {
        JournalWriter writer;
        DocumentJournal journal(original, writer, journalPath, 200);
        for (int i = 0; i < 50; ++i) {
            original.nextGroup();
            original.insertCharacter(static_cast<char>('a' + i % 26));
            journal.handOver(); // as the owner's timer does now and then
        }
    }
    const JournalContent content = readBack();
    ASSERT_TRUE(content.header);
    EXPECT_TRUE(content.hasSnapshot());
    EXPECT_LT(test::readFileBytes(journalPath).size(), 400U);
    Document recovered;
    load(recovered);
    replayJournal(recovered, content);
    EXPECT_EQ(recovered.text(), original.text());
    EXPECT_TRUE(recovered.isModified());
}

TEST_F(JournalReplayTest, SavingRemovesTheJournalAndTheNextEditStartsFromTheSavedFile) {
    Document original;
    load(original);
    JournalWriter writer;
    DocumentJournal journal(original, writer, journalPath, 0);
    original.insertCharacter('x');
    journal.handOver();
    writer.sync();
    EXPECT_TRUE(std::filesystem::exists(journalPath));
    DocumentFile files(FileOptions{}, messenger);
    ASSERT_TRUE(files.save(original));
    writer.sync();
    EXPECT_FALSE(std::filesystem::exists(journalPath));
    original.insertCharacter('y');
    journal.handOver();
    writer.sync();
    const JournalContent content = readBack();
    ASSERT_TRUE(content.header);
    Document recovered;
    load(recovered);
    EXPECT_EQ(content.header->hash, recovered.fileHash());
    replayJournal(recovered, content);
    EXPECT_EQ(recovered.text(), original.text());
}

TEST_F(JournalReplayTest, CursorMovesAloneMakeNoJournal) {
    Document original;
    load(original);
    JournalWriter writer;
    DocumentJournal journal(original, writer, journalPath, 0);
    original.goToLine(2);
    original.setCursorOffset(3);
    journal.handOver();
    writer.sync();
    EXPECT_FALSE(std::filesystem::exists(journalPath));
    EXPECT_FALSE(journal.written());
}

} // namespace
} // namespace vexa::recovery
