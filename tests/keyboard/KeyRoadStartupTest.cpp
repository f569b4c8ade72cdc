// The key road's start-up keymap: the one the setting names, or the default with the message.
#include "keyboard/KeyRoad.h"

#include <gtest/gtest.h>

#include "KeymapFixture.h"
#include "commands/CommandProcessor.h"
#include "commands/FunctionTable.h"
#include "keyboard/DefaultKeymap.h"
#include "platform/Clipboard.h"
#include "support/FakeClock.h"

namespace vexa {
namespace {

constexpr FunctionId kFileSave = functionIdOf("FileSave");
constexpr std::string_view kFallback = "Error loading the keymap specified so using default keymap!";

class KeyRoadStartupTest : public ::testing::Test, protected test::KeymapFixture {
protected:
    test::FakeClock m_clock;
    platform::MemoryClipboard m_clipboard;
    CommandProcessor m_processor{ProcessorServices{m_frame, m_options, m_clock, m_clipboard}};
    ui::KeyRoad m_road{m_processor, m_options};
};

TEST_F(KeyRoadStartupTest, StartUpLoadsTheKeymapTheSettingNames) {
    Keymap mine;
    ASSERT_EQ(mine.bind(kNoPrefix, {0x53, 4, kFileSave}), BindResult::Bound);
    saveFile("Mine.BND", mine);
    m_options.editor().keymap = "Mine";
    m_road.loadKeymap();
    EXPECT_EQ(m_road.activeKeymap()->lookup({0x53, 4}), kFileSave);
    EXPECT_EQ(m_options.keymapName(), "Mine");
    EXPECT_TRUE(m_frame.eventsOf(FrameEventKind::Status).empty());
}

TEST_F(KeyRoadStartupTest, AKeymapThatCannotBeLoadedGivesTheDefaultTheMessageAndResetsTheSetting) {
    test::writeFileBytes(configFile("Broken.BND"), "junk");
    for (const char* name : {"Broken", "Missing"}) {
        m_options.editor().keymap = name;
        m_road.loadKeymap();
        EXPECT_EQ(m_options.keymapName(), kDefaultKeymapName) << name;
        EXPECT_EQ(m_frame.lastStatus(), kFallback) << name;
        EXPECT_EQ(m_road.activeKeymap()->tables()[0].size(), defaultKeyBindings().size()) << name;
    }
}

} // namespace
} // namespace vexa
