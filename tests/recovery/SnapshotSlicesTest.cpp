// A snapshot copied in slices while the document is edited is the text as it is at the end.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/Document.h"
#include "recovery/SnapshotSlices.h"

namespace vexa::recovery {
namespace {

// Passes the document's records on to the copy being taken.
class Follower final : public EditObserver {
public:
    explicit Follower(SnapshotSlices& slices) : m_slices(slices) {}
    void beforeRecord() override {}
    void recorded(const EditRecordView& record, int) override { m_slices.follow(record); }
    void undone() override {}
    void redone() override {}
    void undoFlushed() override {}
    void encodingSwitched() override {}
    void lineEndsChanged() override {}
    void textReplaced() override {}

private:
    SnapshotSlices& m_slices;
};

std::vector<SnapshotLine> linesOf(const Document& document) {
    std::vector<SnapshotLine> lines;
    for (int i = 0; i < document.lineCount(); ++i) {
        lines.push_back({std::string(document.lineText(i)), document.line(i).hasOtherLineEnd()});
    }
    return lines;
}

using Edit = std::function<void(Document&)>;

Edit typeAt(int line, std::string text) {
    return [=](Document& document) {
        document.goToLine(line);
        document.setCursorOffset(2);
        for (char ch : text) {
            document.insertCharacter(ch);
        }
    };
}

Edit splitAt(int line) {
    return [=](Document& document) {
        document.goToLine(line);
        document.setCursorOffset(3);
        document.splitLine();
    };
}

Edit joinAt(int line) {
    return [=](Document& document) {
        document.goToLine(line);
        document.joinLine();
    };
}

Edit deleteAt(int line) {
    return [=](Document& document) { document.deleteLine(line); };
}

Edit insertAt(int line) {
    return [=](Document& document) {
        document.goToLine(line);
        document.insertLine(DocLine("inserted"));
    };
}

TEST(SnapshotSlices, EditsDuringTheCopyAreInTheFinishedCopy) {
    // Slices of 4 lines over 30: after two slices the copy has reached line 8. Each case edits
    // above that point, at it, and past it.
    struct Case {
        const char* name;
        std::vector<Edit> edits;
    };
    const std::vector<Case> cases = {
        {"typing above, at and past the point",
         {typeAt(1, "ab"), typeAt(7, "cd"), typeAt(8, "ef"), typeAt(20, "g")}},
        {"lines split", {splitAt(0), splitAt(7), splitAt(8), splitAt(15)}},
        {"lines joined", {joinAt(2), joinAt(6), joinAt(7), joinAt(12)}},
        {"lines deleted", {deleteAt(0), deleteAt(6), deleteAt(7), deleteAt(25)}},
        {"lines inserted", {insertAt(0), insertAt(9), insertAt(10), insertAt(29)}},
        {"a mix", {splitAt(3), joinAt(5), deleteAt(1), insertAt(4), typeAt(4, "xyz"), deleteAt(0)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Document document;
        for (int i = 0; i < 30; ++i) {
            document.appendLoadedLine("line " + std::to_string(i), i % 3 == 0);
        }
        document.finishLoad();
        SnapshotSlices slices(4);
        Follower follower(slices);
        document.setEditObserver(&follower);
        ASSERT_FALSE(slices.copyNext(document));
        ASSERT_FALSE(slices.copyNext(document));
        for (const Edit& edit : c.edits) {
            edit(document);
            (void)slices.copyNext(document);
        }
        const std::vector<std::vector<SnapshotLine>> runs = slices.finish(document);
        std::vector<SnapshotLine> copied;
        for (const std::vector<SnapshotLine>& run : runs) {
            copied.insert(copied.end(), run.begin(), run.end());
        }
        EXPECT_EQ(copied, linesOf(document));
        document.setEditObserver(nullptr);
    }
}

// A slice copies a bounded number of lines: the copy of a large text takes many calls.
TEST(SnapshotSlices, ASliceCopiesABoundedPart) {
    Document document;
    for (int i = 0; i < 10'000; ++i) {
        document.appendLoadedLine("text");
    }
    document.finishLoad();
    SnapshotSlices slices;
    int calls = 1;
    while (!slices.copyNext(document)) {
        EXPECT_LE(static_cast<std::size_t>(slices.copiedLines()), calls * SnapshotSlices::kSliceLines);
        ++calls;
    }
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(slices.copiedLines(), 10'000);
}

} // namespace
} // namespace vexa::recovery
