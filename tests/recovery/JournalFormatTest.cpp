// The journal's bytes: what is written reads back, and a cut or damaged journal reads up to its
// last whole entry.
#include <gtest/gtest.h>

#include "recovery/JournalFormat.h"
#include "support/JournalHeaderBytes.h"

namespace vexa::recovery {
namespace {

using Kind = EditRecordValue::Kind;

EditRecordValue value(Kind kind, int line, int offset = 0, char byte = 0) {
    EditRecordValue result;
    result.kind = kind;
    result.line = line;
    result.offset = offset;
    result.byte = byte;
    return result;
}

EditRecordValue replaceBytes(int line, int offset, int count, std::string bytes) {
    EditRecordValue result = value(Kind::ReplaceBytes, line, offset);
    result.count = count;
    result.bytes = std::move(bytes);
    return result;
}

JournalHeader fileHeader() {
    JournalHeader header;
    header.path = "/home/user/src/main.c";
    header.size = 12345;
    header.modified = 1765400000123456789;
    header.hash = 0x0123456789abcdefULL;
    header.encoding = TextEncoding::Windows1252;
    header.lineEnds = LineEnds::Dos;
    header.byteOrderMark = true;
    return header;
}

// A journal of every kind of entry, and the entries it holds.
struct Sample {
    std::string bytes;
    std::vector<std::size_t> frameEnds; // the byte count after each frame
};

// A record of every kind, each with its undo group.
std::vector<std::pair<EditRecordValue, int>> sampleRecords() {
    EditRecordValue insertLine = value(Kind::InsertLine, 3);
    insertLine.bytes = std::string("tab\tand \xe9 and \0 byte", 20);
    insertLine.otherLineEnd = true;
    EditRecordValue mark = value(Kind::Mark, 0);
    mark.mark = MarkState{MarkType::Column, {4, 1}, {9, 7}, true};
    const std::vector<std::pair<EditRecordValue, int>> records = {
        {value(Kind::MoveColumn, 17), 1},
        {value(Kind::GoToLine, 2), 1},
        {replaceBytes(2, 5, 0, "x"), 2},
        {value(Kind::OverwriteCharacter, 2, 0, '\xff'), 3},
        {replaceBytes(1, 4, 3, std::string("a\0b", 3)), 4},
        {insertLine, 5},
        {value(Kind::SplitLine, 0, 3), 6},
        {value(Kind::JoinLine, 1), 7},
        {value(Kind::DeleteLine, 4), 8},
        {mark, 9},
    };
    return records;
}

// The entries without a record value, each with its setting.
std::vector<std::pair<JournalEntry::Kind, uint8_t>> sampleSteps() {
    return {{JournalEntry::Kind::Undo, 0},     {JournalEntry::Kind::Redo, 0},
            {JournalEntry::Kind::Flush, 0},    {JournalEntry::Kind::Encoding, 0},
            {JournalEntry::Kind::Encoding, 1}, {JournalEntry::Kind::LineEnds, 0},
            {JournalEntry::Kind::LineEnds, 1}};
}

Sample sampleJournal() {
    Sample sample;
    journal_bytes::appendMagic(sample.bytes);
    journal_bytes::appendHeader(sample.bytes, fileHeader());
    sample.frameEnds.push_back(sample.bytes.size());
    for (const auto& [record, group] : sampleRecords()) {
        journal_bytes::appendRecord(sample.bytes, record.view(), group);
        sample.frameEnds.push_back(sample.bytes.size());
    }
    for (const auto& [kind, setting] : sampleSteps()) {
        journal_bytes::appendStep(sample.bytes, kind, setting);
        sample.frameEnds.push_back(sample.bytes.size());
    }
    return sample;
}

TEST(JournalFormat, EveryEntryReadsBackAsWritten) {
    const Sample sample = sampleJournal();
    const JournalContent content = readJournal(sample.bytes);
    ASSERT_TRUE(content.header);
    EXPECT_EQ(*content.header, fileHeader());
    EXPECT_TRUE(content.complete);
    EXPECT_EQ(content.wholeBytes, sample.bytes.size());
    ASSERT_EQ(content.entries.size(), sampleRecords().size() + sampleSteps().size());
    EXPECT_EQ(content.entries[0].value, value(Kind::MoveColumn, 17));
    EXPECT_EQ(content.entries[0].group, 1);
    EXPECT_EQ(content.entries[3].value, value(Kind::OverwriteCharacter, 2, 0, '\xff'));
    EXPECT_EQ(content.entries[5].value.bytes, std::string("tab\tand \xe9 and \0 byte", 20));
    EXPECT_TRUE(content.entries[5].value.otherLineEnd);
    EXPECT_EQ(content.entries[9].value.mark, (MarkState{MarkType::Column, {4, 1}, {9, 7}, true}));
    EXPECT_EQ(content.entries[9].group, 9);
    for (std::size_t i = 0; i < sampleSteps().size(); ++i) {
        const JournalEntry& step = content.entries[sampleRecords().size() + i];
        EXPECT_EQ(step.kind, sampleSteps()[i].first) << i;
        EXPECT_EQ(step.setting, sampleSteps()[i].second) << i;
    }
}

// The editor's thread packs entries into a batch; the writer thread makes the same frames of it
// as if each entry had been written at once, and the sizes the batch reports are those frames'.
TEST(JournalFormat, ABatchMakesTheFramesOfItsEntries) {
    journal_batch::Batch batch;
    std::string direct;
    std::size_t reported = 0;
    for (const auto& [record, group] : sampleRecords()) {
        reported += batch.addRecord(record.view(), group);
        journal_bytes::appendRecord(direct, record.view(), group);
        EXPECT_EQ(reported, direct.size()) << static_cast<int>(record.kind);
    }
    for (const auto& [kind, setting] : sampleSteps()) {
        reported += batch.addStep(kind, setting);
        journal_bytes::appendStep(direct, kind, setting);
    }
    EXPECT_EQ(reported, direct.size());
    std::string encoded;
    journal_batch::encode(encoded, batch.bytes());
    EXPECT_EQ(encoded, direct);
    const std::vector<JournalEntry> entries = journal_batch::entries(batch.bytes());
    ASSERT_EQ(entries.size(), sampleRecords().size() + sampleSteps().size());
    for (std::size_t i = 0; i < sampleRecords().size(); ++i) {
        EXPECT_EQ(entries[i].value, sampleRecords()[i].first) << i;
        EXPECT_EQ(entries[i].group, sampleRecords()[i].second) << i;
    }
    for (std::size_t i = 0; i < sampleSteps().size(); ++i) {
        EXPECT_EQ(entries[sampleRecords().size() + i].kind, sampleSteps()[i].first) << i;
        EXPECT_EQ(entries[sampleRecords().size() + i].setting, sampleSteps()[i].second) << i;
    }
}

TEST(JournalFormat, AJournalCutAnywhereReadsUpToItsLastWholeEntry) {
    const Sample sample = sampleJournal();
    for (std::size_t cut = 0; cut < sample.bytes.size(); ++cut) {
        const JournalContent content = readJournal(std::string_view(sample.bytes).substr(0, cut));
        const auto whole = std::upper_bound(sample.frameEnds.begin(), sample.frameEnds.end(), cut);
        const std::size_t frames = static_cast<std::size_t>(whole - sample.frameEnds.begin());
        SCOPED_TRACE(cut);
        // A cut between two frames leaves a whole, shorter journal.
        EXPECT_EQ(content.complete, frames > 0 && sample.frameEnds[frames - 1] == cut);
        EXPECT_EQ(content.header.has_value(), frames > 0);
        EXPECT_EQ(content.entries.size(), frames > 0 ? frames - 1 : 0);
        EXPECT_EQ(content.wholeBytes, frames > 0 ? sample.frameEnds[frames - 1] : (cut >= 8 ? 8U : 0U));
    }
}

TEST(JournalFormat, ADamagedByteEndsTheJournalBeforeItsEntry) {
    const Sample sample = sampleJournal();
    // One byte changed in each frame after the header: the entries before it are kept.
    for (std::size_t frame = 1; frame < sample.frameEnds.size(); ++frame) {
        std::string damaged = sample.bytes;
        damaged[sample.frameEnds[frame] - 1] ^= 0x40;
        const JournalContent content = readJournal(damaged);
        SCOPED_TRACE(frame);
        ASSERT_TRUE(content.header);
        EXPECT_EQ(content.entries.size(), frame - 1);
        EXPECT_EQ(content.wholeBytes, sample.frameEnds[frame - 1]);
        EXPECT_FALSE(content.complete);
    }
}

TEST(JournalFormat, ForeignBytesAreNoJournal) {
    const std::vector<std::string> foreign = {
        "",
        "hello world\n",
        std::string(4096, '\0'),
        "VEXAJNL1",
        std::string("VEXAJNL1\xff\xff\xff\xff\0\0\0\0", 16),
    };
    for (const std::string& bytes : foreign) {
        const JournalContent content = readJournal(bytes);
        EXPECT_FALSE(content.header);
        EXPECT_TRUE(content.entries.empty());
    }
}

// A journal holds its file's hash by the word chain (header version 1, as every journal written
// before the content hash took lanes) or by the content hash (version 2); a journal of each kind
// reads back as such, the older ones written byte by byte as their editors did.
TEST(JournalFormat, AHeaderTellsWhichHashItsFileWasHashedBy) {
    struct Case {
        FileHashKind kind;
        uint8_t version;
    };
    for (const Case c : {Case{FileHashKind::WordChain, 1}, Case{FileHashKind::Lanes, 2}}) {
        SCOPED_TRACE(static_cast<int>(c.version));
        JournalHeader header = fileHeader();
        header.hashKind = c.kind;
        std::string written;
        journal_bytes::appendMagic(written);
        journal_bytes::appendHeader(written, header);
        std::string byHand(journal_bytes::kMagic);
        byHand += test::journalHeaderFrame(header, c.version);
        EXPECT_EQ(written, byHand);
        journal_bytes::appendRecord(byHand, replaceBytes(0, 2, 1, "ab").view(), 3);
        const JournalContent content = readJournal(byHand);
        ASSERT_TRUE(content.header);
        EXPECT_EQ(*content.header, header);
        EXPECT_TRUE(content.complete);
        ASSERT_EQ(content.entries.size(), 1U);
        EXPECT_EQ(content.entries[0].value, replaceBytes(0, 2, 1, "ab"));
    }
    // A version no editor wrote is no journal of ours.
    for (const uint8_t version : {0, 3, 255}) {
        const std::string bytes =
            std::string(journal_bytes::kMagic) + test::journalHeaderFrame(fileHeader(), version);
        EXPECT_FALSE(readJournal(bytes).header) << static_cast<int>(version);
    }
}

TEST(JournalFormat, ASnapshotStartsTheEntriesOrIsRefused) {
    std::string bytes;
    journal_bytes::appendMagic(bytes);
    JournalHeader untitled;
    journal_bytes::appendHeader(bytes, untitled);
    const std::vector<SnapshotLine> lines = {{"first", false}, {"", true}, {std::string(5000, 'z'), false}};
    journal_bytes::appendSnapshot(bytes, lines);
    journal_bytes::appendRecord(bytes, replaceBytes(0, 0, 0, "a").view(), 1);
    const std::size_t good = bytes.size();
    journal_bytes::appendSnapshot(bytes, lines);
    const JournalContent content = readJournal(bytes);
    ASSERT_TRUE(content.header);
    ASSERT_EQ(content.entries.size(), 2U);
    EXPECT_TRUE(content.hasSnapshot());
    EXPECT_EQ(content.entries[0].lines, lines);
    EXPECT_EQ(content.wholeBytes, good);
}

// A key as typing makes it: the byte's insert at the cursor, then the cursor move past it.
void typeKey(std::vector<std::pair<EditRecordValue, int>>& records, int line, int offset, char byte, int group) {
    records.push_back({replaceBytes(line, offset, 0, std::string(1, byte)), group});
    records.push_back({value(Kind::MoveColumn, offset + 1), group});
}

// How many frames follow the magic of a journal.
std::size_t frameCount(std::string_view bytes) {
    std::size_t count = 0;
    for (std::size_t at = journal_bytes::kMagic.size(); at + 8 <= bytes.size(); ++count) {
        uint32_t length = 0;
        for (int i = 0; i < 4; ++i) {
            length |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + i])) << (8 * i);
        }
        at += 8 + length;
    }
    return count;
}

// Typed keys go into a batch as runs, and into the journal as one frame a key instead of two: both
// read back as the very records typing made, in their undo groups, whatever breaks a run.
TEST(JournalFormat, TypedKeysMakeAFrameAKeyThatReadsBackAsTheirRecords) {
    struct Case {
        const char* name;
        std::vector<std::pair<EditRecordValue, int>> records;
        std::size_t frames; // after the header
    };
    std::vector<Case> cases;
    {
        Case& typing = cases.emplace_back(Case{"a key an undo group", {}, 100});
        for (int i = 0; i < 100; ++i) {
            typeKey(typing.records, 7, 3 + i, static_cast<char>('a' + i % 26), 40 + i);
        }
    }
    {
        Case& grouped = cases.emplace_back(Case{"keys in one undo group", {}, 5});
        for (int i = 0; i < 5; ++i) {
            typeKey(grouped.records, 0, i, '\xe9', 2);
        }
    }
    {
        Case& breaks = cases.emplace_back(Case{"runs broken", {}, 11});
        typeKey(breaks.records, 1, 0, 'a', 1);
        typeKey(breaks.records, 1, 1, 'b', 2);
        typeKey(breaks.records, 1, 5, 'c', 3); // not where the last key ended
        typeKey(breaks.records, 2, 6, 'd', 4); // another line
        typeKey(breaks.records, 2, 7, 'e', 5);
        typeKey(breaks.records, 2, 8, 'f', 7); // the group steps by two
        breaks.records.push_back({replaceBytes(2, 9, 0, "gh"), 8}); // two bytes at once
        breaks.records.push_back({value(Kind::MoveColumn, 11), 8});
        typeKey(breaks.records, 2, 11, 'i', 9);
        breaks.records.push_back({replaceBytes(2, 12, 1, "j"), 10}); // takes a byte out
        typeKey(breaks.records, 2, 12, 'k', 11);
    }
    {
        Case& moves = cases.emplace_back(Case{"moves that are not the key's", {}, 6});
        typeKey(moves.records, 0, 0, 'a', 1);
        moves.records.push_back({replaceBytes(0, 1, 0, "b"), 2});
        moves.records.push_back({value(Kind::MoveColumn, 3), 2}); // past the key's end
        moves.records.push_back({replaceBytes(0, 3, 0, "c"), 3});
        moves.records.push_back({value(Kind::MoveColumn, 4), 4}); // in another group
        moves.records.push_back({replaceBytes(0, 4, 0, "d"), 5}); // a last key without its move
    }
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        journal_batch::Batch batch;
        for (const auto& [record, group] : test.records) {
            batch.addRecord(record.view(), group);
        }
        const std::vector<JournalEntry> batched = journal_batch::entries(batch.bytes());
        std::string bytes;
        journal_bytes::appendMagic(bytes);
        journal_bytes::appendHeader(bytes, fileHeader());
        journal_batch::encode(bytes, batch.bytes());
        const JournalContent content = readJournal(bytes);
        EXPECT_TRUE(content.complete);
        EXPECT_EQ(frameCount(bytes), 1 + test.frames);
        for (const std::vector<JournalEntry>* entries : {&batched, &content.entries}) {
            ASSERT_EQ(entries->size(), test.records.size());
            for (std::size_t i = 0; i < entries->size(); ++i) {
                EXPECT_EQ((*entries)[i].kind, JournalEntry::Kind::Record) << i;
                EXPECT_EQ((*entries)[i].value, test.records[i].first) << i;
                EXPECT_EQ((*entries)[i].group, test.records[i].second) << i;
            }
        }
    }
}

// A run of typed keys whose fields could not have come from a document ends the journal there.
TEST(JournalFormat, ATypedRunThatMakesNoSenseEndsTheJournal) {
    struct Case {
        const char* name;
        int offset;
        int group;
        uint8_t step;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"no bytes", 0, 1, 1, ""},
        {"a step of two", 0, 1, 2, "ab"},
        {"before the line's start", -1, 1, 1, "ab"},
        {"past the largest offset", 0x7ffffffe, 1, 1, "ab"},
        {"past the largest group", 0, 0x7ffffffe, 1, "ab"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::string bytes;
        journal_bytes::appendMagic(bytes);
        journal_bytes::appendHeader(bytes, fileHeader());
        journal_bytes::appendTypedRun(bytes, 0, 0, 1, 1, "ok");
        const std::size_t good = bytes.size();
        journal_bytes::appendTypedRun(bytes, 0, test.offset, test.group, test.step, test.bytes);
        journal_bytes::appendStep(bytes, JournalEntry::Kind::Undo);
        const JournalContent content = readJournal(bytes);
        EXPECT_EQ(content.entries.size(), 4U);
        EXPECT_EQ(content.wholeBytes, good);
        EXPECT_FALSE(content.complete);
    }
}

} // namespace
} // namespace vexa::recovery
