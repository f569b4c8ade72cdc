// The mouse in an edit pane: clicks, drag marking by the mouse options, auto scroll, double clicks.
#include "commands/PaneMouse.h"

#include "ProcessorFixture.h"

namespace vexa {
namespace {

using test::ProcessorTest;

class PaneMouseTest : public ProcessorTest {
protected:
    PaneMouseTest() {
        std::vector<std::string> text;
        for (int i = 0; i < 50; ++i) {
            text.push_back("word" + std::to_string(i) + " other text");
        }
        setLines(text);
        pane->setTextArea(20, 10);
    }
};

TEST_F(PaneMouseTest, AClickPutsTheCursorOnTheCellUnderThePointer) {
    pane->scrollTo(5, 2);
    PaneMouse mouse(processor, *pane);
    mouse.press({3, 4});
    mouse.release({3, 4});
    EXPECT_EQ(doc().cursorLine(), 8);
    EXPECT_EQ(doc().cursorColumn(), 6);
    EXPECT_FALSE(doc().hasMark());
}

TEST_F(PaneMouseTest, DraggingMarksWithTheKindOfTheMouseOptions) {
    struct Case {
        MouseModifiers modifiers;
        MarkType type;
    };
    // The defaults: 3 (column) plain, 1 (line) with Ctrl, 2 (stream) with Shift; Ctrl wins.
    const std::vector<Case> cases = {
        {{false, false}, MarkType::Column},
        {{true, false}, MarkType::Line},
        {{false, true}, MarkType::Stream},
        {{true, true}, MarkType::Line},
    };
    for (const Case& c : cases) {
        doc().clearMark();
        place(1, 1);
        PaneMouse mouse(processor, *pane);
        mouse.press({1, 1});
        mouse.move({2, 3}, c.modifiers, true);
        EXPECT_TRUE(mouse.caretHidden());
        mouse.move({3, 5}, c.modifiers, true);
        mouse.release({3, 5});
        EXPECT_FALSE(mouse.isDragging());
        EXPECT_EQ(doc().mark().type, c.type);
        EXPECT_EQ(doc().mark().anchor, (MarkPoint{1, 1}));
        EXPECT_EQ(doc().mark().moving, (MarkPoint{5, 3}));
        EXPECT_FALSE(doc().mark().active);
    }
}

// Regression: the marking began at the old caret, wherever that stood.
TEST_F(PaneMouseTest, TheMarkStartsWhereTheButtonWentDown) {
    place(17, 0);
    pane->scrollTo(10, 0);
    PaneMouse mouse(processor, *pane);
    mouse.press({9, 2});
    mouse.move({10, 2}, {}, true);
    mouse.move({11, 4}, {}, true);
    mouse.release({11, 4});
    EXPECT_EQ(doc().mark().anchor, (MarkPoint{2, 19}));
    EXPECT_EQ(doc().mark().moving, (MarkPoint{4, 21}));
}

TEST_F(PaneMouseTest, AnOptionOfAnotherValueMarksAStream) {
    ASSERT_TRUE(options.settingsFile().putInteger("Mouse Options", "MouseMark1", 7));
    options.load();
    ASSERT_EQ(options.mouse().mouseMark1, 7);
    PaneMouse mouse(processor, *pane);
    place(0, 0);
    mouse.press({0, 0});
    mouse.move({0, 4}, {}, true);
    mouse.release({0, 4});
    EXPECT_EQ(doc().mark().type, MarkType::Stream);
}

// With the plain drag set to a stream, as the Common profile sets it, Alt+drag still marks columns.
TEST_F(PaneMouseTest, AltDragMarksWithItsOwnOption) {
    ASSERT_TRUE(options.settingsFile().putInteger("Mouse Options", "MouseMark1", 2));
    options.load();
    const std::vector<std::pair<MouseModifiers, MarkType>> cases = {
        {{}, MarkType::Stream},
        {{false, false, true}, MarkType::Column},
        {{false, true, true}, MarkType::Stream},
    };
    for (const auto& [modifiers, type] : cases) {
        doc().clearMark();
        PaneMouse mouse(processor, *pane);
        mouse.press({1, 1}, modifiers);
        mouse.move({3, 5}, modifiers, true);
        mouse.release({3, 5});
        EXPECT_EQ(doc().mark().type, type);
    }
}

TEST_F(PaneMouseTest, ShiftClickExtendsTheMarkOnlyWithItsOption) {
    const MouseModifiers shift{false, true, false};
    place(1, 1);
    {
        PaneMouse mouse(processor, *pane);
        mouse.press({3, 5}, shift);
        mouse.release({3, 5});
        EXPECT_FALSE(doc().hasMark()) << "a Shift+click only moves the cursor by default";
    }
    ASSERT_TRUE(options.settingsFile().putInteger("Mouse Options", "ShiftClickExtends", 1));
    options.load();
    place(1, 1);
    PaneMouse mouse(processor, *pane);
    // Without a mark, one runs from the cursor to the click.
    mouse.press({3, 5}, shift);
    mouse.release({3, 5});
    EXPECT_TRUE(doc().mark().isStream());
    EXPECT_EQ(doc().mark().anchor, (MarkPoint{1, 1}));
    EXPECT_EQ(doc().mark().moving, (MarkPoint{5, 3}));
    EXPECT_FALSE(doc().mark().active);
    // A second Shift+click moves the far end and keeps where the mark began.
    mouse.press({6, 2}, shift);
    mouse.release({6, 2});
    EXPECT_EQ(doc().mark().anchor, (MarkPoint{1, 1}));
    EXPECT_EQ(doc().mark().moving, (MarkPoint{2, 6}));
    EXPECT_EQ(doc().cursorLine(), 6);
    // It is a mark of the shifted keys' kind: a plain click ends it, as moving the cursor does.
    mouse.press({8, 0});
    mouse.release({8, 0});
    EXPECT_FALSE(doc().hasMark());
}

TEST_F(PaneMouseTest, DraggingOutsideScrollsTowardsThePointer) {
    PaneMouse mouse(processor, *pane);
    place(0, 0);
    mouse.press({0, 0});
    mouse.move({12, 3}, {}, false);
    mouse.move({12, 3}, {}, false);
    EXPECT_EQ(pane->topLine(), 2);
    EXPECT_EQ(doc().cursorLine(), 11);
    EXPECT_TRUE(doc().isInside(11, 2));
    mouse.move({-1, 3}, {}, false);
    EXPECT_EQ(pane->topLine(), 1);
    EXPECT_EQ(doc().cursorLine(), 1);
}

TEST_F(PaneMouseTest, EachMouseStepIsItsOwnUndoStep) {
    PaneMouse mouse(processor, *pane);
    mouse.press({4, 2});
    mouse.release({4, 2});
    mouse.press({6, 1});
    mouse.release({6, 1});
    exec(functionIdOf("Undo"));
    EXPECT_EQ(doc().cursorLine(), 4);
    EXPECT_EQ(doc().cursorColumn(), 2);
}

TEST_F(PaneMouseTest, DoubleClickMarksTheWord) {
    PaneMouse mouse(processor, *pane);
    mouse.doubleClick({2, 1});
    ASSERT_TRUE(doc().hasMark());
    EXPECT_EQ(doc().mark().start(), (MarkPoint{0, 2}));
    EXPECT_EQ(doc().mark().end(), (MarkPoint{5, 2}));

    mouse.doubleClick({2, 5});
    EXPECT_EQ(frame.lastStatus(), "The cursor is not over a word.");
}

} // namespace
} // namespace vexa
