// Undo and redo: every record kind restores text, cursor and mark exactly; groups; busy cursor.
#include "core/UndoStore.h"

#include <functional>
#include <gtest/gtest.h>

#include "DocumentFixture.h"
#include "core/Document.h"
#include "support/RecordingMessenger.h"

namespace vexa {
namespace {

using test::describe;
using test::linesOf;
using test::setLines;
using test::snapshot;

struct UndoCase {
    const char* name;
    int line;
    int offset;
    std::function<void(Document&)> action;
};

// Every operation is made in its own group on a document with a mark, then undone and redone.
TEST(UndoStore, UndoAndRedoOfEveryRecordKindRestoreTheStateExactly) {
    const UndoCase cases[] = {
        {"insert character", 1, 2, [](Document& d) { d.insertCharacter('x'); }},
        {"insert beyond the end", 1, 9, [](Document& d) { d.insertCharacter('x', 2); }},
        {"overwrite character", 1, 1, [](Document& d) { d.overwriteCharacter('Z'); }},
        {"overwrite extends at the end", 1, 4, [](Document& d) { d.overwriteCharacter('Z', 3); }},
        {"overwrite with byte 0 ends the line", 1, 0, [](Document& d) { d.overwriteAt(2, '\0'); }},
        {"blank beyond the end", 1, 0, [](Document& d) { d.overwriteAt(7, ' '); }},
        {"delete character", 1, 1, [](Document& d) { d.deleteCharacters(2); }},
        {"delete joins lines", 0, 5, [](Document& d) { d.deleteCharacters(); }},
        {"insert line", 1, 0, [](Document& d) { d.insertLine(DocLine("new")); }},
        {"insert empty line", 2, 0, [](Document& d) { d.insertEmptyLine(); }},
        {"split line", 1, 2, [](Document& d) { d.splitLine(); }},
        {"join line", 0, 0, [](Document& d) { d.joinLine(); }},
        {"delete line", 1, 0, [](Document& d) { d.deleteLine(1); }},
        {"delete last line", 3, 0, [](Document& d) { d.deleteLine(3); }},
        {"delete lines above a cursor at the end", 3, 2,
         [](Document& d) {
             d.deleteLine(0);
             d.deleteLine(0);
             d.deleteLine(0);
             d.typeCharacter('x');
         }},
        {"go to line", 0, 3, [](Document& d) { d.goToLine(3); }},
        {"go past the end and type", 3, 1,
         [](Document& d) {
             d.nextLine();
             d.typeCharacter('q');
         }},
        {"move column", 2, 0, [](Document& d) { d.setCursorOffset(6); }},
        {"new line in the middle", 1, 2, [](Document& d) { d.newLine(); }},
        {"new line at the start", 2, 0, [](Document& d) { d.newLine(); }},
        {"new line at the end", 3, 4, [](Document& d) { d.newLine(); }},
        {"case change", 0, 0, [](Document& d) { d.changeCase(0, 5, CaseChange::Upper); }},
        {"mark start and end", 0, 1,
         [](Document& d) {
             d.clearMark();
             d.beginMark(MarkType::Stream);
             d.markStart();
             d.goToLine(2);
             d.markEnd();
         }},
        {"clear mark", 0, 0, [](Document& d) { d.clearMark(); }},
        {"shift mark", 0, 0, [](Document& d) { d.shiftMark(1, 2); }},
        {"begin mark changes the type", 0, 0, [](Document& d) { d.beginMark(MarkType::Line); }},
        {"resume marking", 0, 0,
         [](Document& d) {
             d.resumeMarking(MarkType::CuaStream);
             d.goToLine(3);
         }},
        {"mark range", 0, 0,
         [](Document& d) {
             d.markRange({1, 1}, {3, 2});
         }},
    };
    for (const auto& c : cases) {
        Document document;
        setLines(document, {"alpha", "beta", "\tgamma", "delta"});
        document.goToLine(c.line);
        document.setCursorOffset(c.offset);
        document.markRange({1, 0}, {3, 1});
        document.nextGroup();

        const test::Snapshot before = snapshot(document);
        c.action(document);
        document.nextGroup();
        const test::Snapshot after = snapshot(document);
        ASSERT_FALSE(before == after) << c.name;

        ASSERT_TRUE(document.undo()) << c.name;
        EXPECT_TRUE(snapshot(document) == before)
            << c.name << "\n expected " << describe(before) << "\n got      " << describe(snapshot(document));
        ASSERT_TRUE(document.redo()) << c.name;
        EXPECT_TRUE(snapshot(document) == after)
            << c.name << "\n expected " << describe(after) << "\n got      " << describe(snapshot(document));
    }
}

TEST(UndoStore, ThreeKeyPressesUndoOneCharacterAtATime) {
    Document document;
    document.makeNew();
    for (char ch : std::string("abc")) {
        document.typeCharacter(ch);
        document.nextGroup();
    }
    const std::pair<const char*, int> steps[] = {{"ab", 2}, {"a", 1}, {"", 0}};
    for (auto [text, cursor] : steps) {
        ASSERT_TRUE(document.undo());
        EXPECT_EQ(document.lineText(0), text);
        EXPECT_EQ(document.cursorOffset(), cursor);
    }
    EXPECT_FALSE(document.undo());
    EXPECT_FALSE(document.isModified());
}

// Regression: a redo after a new edit replayed a group recorded against another text (a deleted
// line came back past the end of the document, leaving the cursor there).
TEST(UndoStore, ANewEditClearsTheRedoList) {
    Document document;
    document.makeNew();
    document.typeCharacter('a');
    document.nextGroup();
    ASSERT_TRUE(document.undo());
    EXPECT_TRUE(document.undoStore().canRedo());
    document.typeCharacter('b');
    document.nextGroup();
    EXPECT_FALSE(document.undoStore().canRedo());
    EXPECT_FALSE(document.redo());
    EXPECT_EQ(document.lineText(0), "b");
    // Undo and redo themselves keep the list.
    ASSERT_TRUE(document.undo());
    ASSERT_TRUE(document.redo());
    EXPECT_EQ(document.lineText(0), "b");
}

TEST(UndoStore, UndoingBackToTheSavedStateLeavesTheDocumentUnmodified) {
    Document document;
    setLines(document, {"text"});
    document.setCursorOffset(4);
    document.nextGroup();
    document.typeCharacter('1');
    document.nextGroup();
    document.markUnmodified(); // a save
    document.undoStore().flush();
    document.typeCharacter('2');
    document.nextGroup();
    document.newLine();
    document.nextGroup();
    document.deleteLine(0);
    document.nextGroup();
    EXPECT_TRUE(document.isModified());
    while (document.undo()) {
    }
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(linesOf(document), std::vector<std::string>{"text1"});
    ASSERT_TRUE(document.redo());
    EXPECT_TRUE(document.isModified());
}

struct BusyCase {
    int characters;
    int busyShown;
};

TEST(UndoStore, ALongStepShowsTheBusyCursorOnce) {
    // Each character typed is a record for its bytes and one for the cursor move.
    const BusyCase cases[] = {{5, 0}, {24, 0}, {25, 1}, {200, 1}};
    for (const auto& c : cases) {
        test::RecordingMessenger messenger;
        Document document;
        document.setMessenger(&messenger);
        document.makeNew();
        document.nextGroup();
        for (int i = 0; i < c.characters; ++i) {
            document.typeCharacter('x');
        }
        document.nextGroup();
        ASSERT_TRUE(document.undo());
        EXPECT_EQ(messenger.busyShown(), c.busyShown) << c.characters;
        EXPECT_EQ(messenger.busyDepth(), 0);
        ASSERT_TRUE(document.redo());
        EXPECT_EQ(messenger.busyShown(), 2 * c.busyShown) << c.characters;
        EXPECT_EQ(document.lineText(0).size(), static_cast<std::size_t>(c.characters));
    }
}

TEST(UndoStore, FlushEmptiesBothStacksAndRestartsTheGroups) {
    Document document;
    document.makeNew();
    document.typeCharacter('a');
    document.nextGroup();
    document.typeCharacter('b');
    document.nextGroup();
    ASSERT_TRUE(document.undo());
    document.undoStore().flush();
    EXPECT_TRUE(document.undoStore().isEmpty());
    EXPECT_FALSE(document.undoStore().canRedo());
    EXPECT_EQ(document.undoStore().currentGroup(), 0);
    EXPECT_FALSE(document.undo());
    EXPECT_FALSE(document.redo());
    EXPECT_EQ(document.lineText(0), "a");
}

} // namespace
} // namespace vexa
