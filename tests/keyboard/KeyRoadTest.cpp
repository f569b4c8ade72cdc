// The key road as the processor's keymap: its flags reach the typing road.
#include "keyboard/KeyRoad.h"

#include "commands/ProcessorFixture.h"
#include "keyboard/Keymap.h"

namespace vexa {
namespace {

class KeyRoadTest : public test::ProcessorTest {
protected:
    KeyRoadTest() {
        processor.link(ProcessorLinks{statusLine, road, windows, idleRecorder, noTemplates, {}});
    }
    ~KeyRoadTest() override { linkProcessor(processor); }

    void markHello() {
        setLines({"hello world"});
        doc().beginMark(MarkType::Stream);
        doc().markStart();
        doc().setCursorOffset(6);
        doc().markEnd();
        place(0, 0);
    }

    ui::KeyRoad road{processor, options};
};

TEST_F(KeyRoadTest, TypedCharactersReplaceTheMarkByTheKeymapFlagInBothModes) {
    for (const int insertMode : {1, 0}) {
        options.editor().insertMode = insertMode;
        road.keymaps().keymap().flags().keyPressRemovesMark = 1;
        markHello();
        processor.typeCharacter(U'X');
        EXPECT_EQ(doc().lineText(0), "Xworld") << insertMode;
        EXPECT_FALSE(doc().hasMark()) << insertMode;

        road.keymaps().keymap().flags().keyPressRemovesMark = 0;
        markHello();
        processor.typeCharacter(U'X');
        EXPECT_TRUE(doc().hasMark()) << insertMode;
    }
}

} // namespace
} // namespace vexa
