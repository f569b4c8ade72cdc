// The primary selection follows the text of a stream mark: a new or moved mark, and a change of
// the text under a mark that stays, offer the marked text again; nothing else puts it anew.
#include "commands/PrimarySelection.h"

#include <functional>

#include "ProcessorFixture.h"

namespace vexa::test {
namespace {

class PrimarySelectionTest : public ProcessorTest {
protected:
    // Marks a stream from one offset of the first line to another.
    void markStream(int from, int to) {
        place(0, from);
        exec(functionIdOf("MarkBlockSet"));
        doc().setCursorOffset(to);
        exec(functionIdOf("MarkBlockReset"));
    }

    // What the selection holds; "<foreign>" while it still holds another program's text.
    std::string offered() const {
        const auto content = selection.get();
        return !content ? std::string("<none>") : !content->privateMarkType ? "<foreign>" : content->text;
    }

    platform::MemoryClipboard selection;
    PrimarySelection primary{selection};
};

TEST_F(PrimarySelectionTest, TheMarkedTextIsOfferedAgainWhenItChanges) {
    struct Case {
        const char* name;
        std::function<void()> step;
        std::string offered;
    };
    const std::vector<Case> cases = {
        {"upper case inside the mark", [this] { exec(functionIdOf("MarkCaseUpper")); }, "CAF\xC3\xA9"},
        {"a character typed inside the mark",
         [this] {
             place(0, 2);
             type("x");
         },
         "caxf"},
        {"typed and undone: the same text again",
         [this] {
             place(0, 2);
             type("x");
             exec(functionIdOf("Undo"));
         },
         "caf\xC3\xA9"},
        {"text typed after the mark",
         [this] {
             place(1, 0);
             type("more");
         },
         "caf\xC3\xA9"},
        {"the encoding it is read in", [this] { doc().setEncoding(TextEncoding::Windows1252); },
         "caf\xC3\x83"},
        {"nothing changed", [] {}, "<foreign>"},
        {"the cursor moved", [this] { place(1, 3); }, "<foreign>"},
    };
    for (const Case& c : cases) {
        setLines({"caf\xC3\xA9 au lait", "second"}, TextEncoding::Utf8);
        markStream(0, 5);
        primary.follow(&doc());
        ASSERT_EQ(offered(), "caf\xC3\xA9") << c.name;
        // Another program takes the selection; only a change of the editor's own gives it back.
        selection.putForeignText("theirs");
        c.step();
        ASSERT_TRUE(doc().hasMark()) << c.name;
        primary.follow(&doc());
        EXPECT_EQ(offered(), c.offered) << c.name;
    }
}

} // namespace
} // namespace vexa::test
