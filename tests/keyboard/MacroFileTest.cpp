// Tests of the macro recorder's states and of the macro file and the macro menu list, byte for byte.
#include "keyboard/MacroFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/HeadlessFrame.h"
#include "keyboard/MacroDialogs.h"
#include "keyboard/MacroRecorder.h"
#include "settings/BinaryFields.h"
#include "settings/InfoHeader.h"
#include "support/TempHome.h"

namespace vexa {
namespace {

const MacroEvents kSample = {MacroEvent::ofCharacter(u'a'), MacroEvent::ofCharacter(u'\xE9', 0x0008),
                             MacroEvent::ofFunction(0x0123)};

TEST(MacroRecorderTest, RecordingReplacesTheMacroOnlyWithItsFirstEvent) {
    MacroRecorder recorder;
    recorder.recordCharacter('x'); // not recording: ignored
    EXPECT_FALSE(recorder.hasMacro());

    recorder.startRecording();
    recorder.recordCharacter('a');
    recorder.recordFunction(7);
    EXPECT_EQ(recorder.stopRecording(), 2u);
    const MacroEvents first = {MacroEvent::ofCharacter(u'a'), MacroEvent::ofFunction(7)};
    EXPECT_EQ(*recorder.macro(), first);

    // An empty recording keeps the old macro.
    recorder.startRecording();
    EXPECT_EQ(recorder.stopRecording(), 0u);
    EXPECT_EQ(*recorder.macro(), first);

    // Nothing is recorded while a macro plays.
    recorder.startRecording();
    recorder.setPlaying(true);
    recorder.recordCharacter('z');
    recorder.recordFunction(9);
    recorder.setPlaying(false);
    EXPECT_EQ(recorder.stopRecording(), 0u);
    EXPECT_EQ(*recorder.macro(), first);
}

TEST(MacroRecorderTest, APlayedListOutlivesItsReplacement) {
    MacroRecorder recorder;
    recorder.replaceWith({MacroEvent::ofCharacter(u'a')});
    const auto playing = recorder.macro();
    recorder.replaceWith({MacroEvent::ofFunction(3), MacroEvent::ofFunction(4)});
    EXPECT_EQ(playing->size(), 1u);
    EXPECT_EQ(recorder.macro()->size(), 2u);
    recorder.replaceWith({}); // an empty file leaves the macro
    EXPECT_EQ(recorder.macro()->size(), 2u);
}

class MacroFileTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return m_home.file(name); }
    test::TempHome m_home;
};

TEST_F(MacroFileTest, EventsAreEightBytesInFileOrder) {
    const std::string bytes = encodeMacroEvents(kSample);
    ASSERT_EQ(bytes.size(), 24u);
    const std::span<const char> view(bytes);
    // character, modifiers, function, type
    EXPECT_EQ(loadU16(view, 0), 'a');
    EXPECT_EQ(loadU16(view, 2), 0);
    EXPECT_EQ(loadU16(view, 6), 0);
    EXPECT_EQ(loadU16(view, 8), 0xE9);
    EXPECT_EQ(loadU16(view, 10), 0x0008);
    EXPECT_EQ(loadU16(view, 16), 0);
    EXPECT_EQ(loadU16(view, 20), 0x0123);
    EXPECT_EQ(loadU16(view, 22), 1);
    EXPECT_EQ(decodeMacroEvents(bytes), kSample);
    // A cut last event is dropped.
    EXPECT_EQ(decodeMacroEvents(view.first(23)), MacroEvents(kSample.begin(), kSample.begin() + 2));
}

TEST_F(MacroFileTest, SavedFileIsHeaderPlusEightBytesPerEventAndReadsBack) {
    ASSERT_TRUE(writeMacroFile(path("m.mac"), kSample));
    const std::string bytes = test::readFileBytes(path("m.mac"));
    ASSERT_EQ(bytes.size(), kInfoHeaderSize + 8 * kSample.size());
    const InfoHeader header = decodeInfoHeader(bytes);
    EXPECT_EQ(header.fileType, "FILE_KEYMACRO");
    EXPECT_EQ(header.version, "01.00");
    const MacroFileRead read = readMacroFile(path("m.mac"));
    EXPECT_EQ(read.status, InfoStatus::Ok);
    EXPECT_EQ(read.events, kSample);
}

TEST_F(MacroFileTest, RefusedFiles) {
    EXPECT_EQ(readMacroFile(path("absent.mac")).status, InfoStatus::OpenFailed);
    InfoHeader foreign = InfoHeader::forKind(kKeymapInfo);
    test::writeFileBytes(path("keymap.mac"), encodeInfoHeader(foreign) + encodeMacroEvents(kSample));
    EXPECT_EQ(readMacroFile(path("keymap.mac")).status, InfoStatus::UnknownFormat);
    test::writeFileBytes(path("short.mac"), "QLW");
    EXPECT_NE(readMacroFile(path("short.mac")).status, InfoStatus::Ok);
    // A file without events is valid and empty.
    ASSERT_TRUE(writeMacroFile(path("empty.mac"), {}));
    const MacroFileRead empty = readMacroFile(path("empty.mac"));
    EXPECT_EQ(empty.status, InfoStatus::Ok);
    EXPECT_TRUE(empty.events.empty());
}

TEST_F(MacroFileTest, FailedSaveKeepsTheOldFile) {
    ASSERT_TRUE(writeMacroFile(path("m.mac"), kSample));
    EXPECT_FALSE(writeMacroFile(path("no-such-dir/m.mac"), kSample));
    EXPECT_EQ(readMacroFile(path("m.mac")).events, kSample);
}

TEST_F(MacroFileTest, MenuListRecordsAndLimits) {
    std::vector<MacroMenuEntry> entries;
    for (int index = 0; index < 17; ++index) {
        entries.push_back({"Macro " + std::to_string(index), "/macros/m" + std::to_string(index) + ".mac"});
    }
    const std::string dir = m_home.path().string();
    ASSERT_TRUE(writeMacroMenu(dir, entries));
    const std::string bytes = test::readFileBytes(m_home.path() / "VexaMac.INF");
    EXPECT_EQ(bytes.size(), kInfoHeaderSize + 15 * 297);
    EXPECT_EQ(decodeInfoHeader(bytes).fileType, "FILE_MACROINFO");
    EXPECT_EQ(bytes.substr(kInfoHeaderSize + 297, 8), std::string("Macro 1\0", 8));
    EXPECT_EQ(bytes.substr(kInfoHeaderSize + 297 + 41, 15), std::string("/macros/m1.mac\0", 15));
    const std::vector<MacroMenuEntry> read = readMacroMenu(dir);
    EXPECT_EQ(read, std::vector<MacroMenuEntry>(entries.begin(), entries.begin() + 15));

    // Records of a newer version are empty.
    InfoHeader newer = InfoHeader::forKind(kMacroMenuInfo);
    newer.version = "02.00";
    test::writeFileBytes(m_home.path() / "VexaMac.INF",
                         encodeInfoHeader(newer) + bytes.substr(kInfoHeaderSize));
    EXPECT_TRUE(readMacroMenu(dir).empty());
    // A cut record is dropped; the whole ones before it stay.
    test::writeFileBytes(m_home.path() / "VexaMac.INF", bytes.substr(0, kInfoHeaderSize + 297 + 100));
    EXPECT_EQ(readMacroMenu(dir).size(), 1u);
}

TEST(MacroMenuTextTest, KeyNumbersSkipFiveAndSix) {
    struct Case {
        size_t index;
        const char* text;
    };
    for (const Case& c :
         {Case{0, "A\tShift+F1"}, Case{3, "A\tShift+F4"}, Case{4, "A\tShift+F7"}, Case{14, "A\tShift+F17"}}) {
        EXPECT_EQ(macroMenuItemText(c.index, "A"), c.text) << c.index;
    }
}

TEST(MacroOptionsModelTest, AddReplaceAndTheLimit) {
    HeadlessFrame frame;
    MacroOptionsModel model({}, frame);
    EXPECT_EQ(model.add({"", "/a.mac"}), MacroMenuEdit::Invalid);
    EXPECT_EQ(model.add({std::string(41, 'n'), "/a.mac"}), MacroMenuEdit::Invalid);
    for (int index = 0; index < 15; ++index) {
        ASSERT_EQ(model.add({"m" + std::to_string(index), "/a.mac"}), MacroMenuEdit::Added);
    }
    EXPECT_EQ(model.add({"sixteen", "/a.mac"}), MacroMenuEdit::Full);
    const auto boxes = frame.eventsOf(FrameEventKind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kMacroMenuFullMessage);

    frame.answerNext(Answer::No);
    EXPECT_EQ(model.add({"m3", "/b.mac"}), MacroMenuEdit::ReplaceDeclined);
    EXPECT_EQ(model.entries()[3].path, "/a.mac");
    frame.answerNext(Answer::Yes);
    EXPECT_EQ(model.add({"m3", "/b.mac"}), MacroMenuEdit::Replaced);
    EXPECT_EQ(model.entries()[3].path, "/b.mac");
    const auto questions = frame.eventsOf(FrameEventKind::Question);
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0].text, kMacroMenuReplaceQuestion);

    EXPECT_TRUE(model.remove(0));
    EXPECT_FALSE(model.remove(14));
    EXPECT_EQ(model.entries().size(), 14u);
    EXPECT_EQ(model.entries()[0].name, "m1");

    frame.chooseNextOpen({"/macros/x.mac"});
    EXPECT_EQ(model.chooseFile(), std::optional<std::string>("/macros/x.mac"));
    EXPECT_EQ(frame.lastStatus(), "Select the name of the macro file to be used.");
    frame.cancelNextDialog();
    EXPECT_EQ(model.chooseFile(), std::nullopt);
    EXPECT_TRUE(frame.unexpected().empty());
}

} // namespace
} // namespace vexa
