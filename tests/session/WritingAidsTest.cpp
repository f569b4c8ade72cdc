// The writing aids in the whole editor: templates typed in a C file, the spelling of a document
// and of one word through the Spelling dialog.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "aids/AidDialogs.h"
#include "session/EditorFixture.h"

namespace vexa::test {
namespace {

using aids::SpellingDialog;

class WritingAidsTest : public EditorTest {
protected:
    WritingAidsTest() {
        const std::filesystem::path spell = options.directory(DirectoryKind::Spell);
        std::filesystem::create_directories(spell);
        aids::SpellDictionary english;
        english.setDescription("English");
        english.setFileName((spell / "ENGLISH.DIC").string());
        for (std::string_view word :
             {"the", "loop", "counts", "lines", "hello", "world", "int", "main", "return", "caf\xE9"}) {
            english.addWord(word);
        }
        EXPECT_EQ(english.save(), aids::SpellDictionary::FileResult::Ok);
        // The shipped C templates, as the first start copies them into the home.
        const std::filesystem::path config = options.directory(DirectoryKind::Config);
        std::filesystem::create_directories(config);
        std::filesystem::copy_file(std::filesystem::path(VEXA_SOURCE_DIR) / "share" / "vConfig" / "VEXAC.TPL",
                                   config / "VEXAC.TPL");
        startEditor();
    }
    Document& open(const std::string& name, const std::string& text) {
        EXPECT_NE(workspace().openDocument(writeFile(name, text)), nullptr);
        return activeDocument();
    }
    static HeadlessFrame::DialogScript press(SpellingDialog::Button button, std::string changeTo = {}) {
        return [button, changeTo](DialogModel& model) {
            auto& dialog = dynamic_cast<SpellingDialog&>(model);
            if (!changeTo.empty()) {
                dialog.typeChangeTo(changeTo);
            }
            dialog.press(button);
            return DialogResult::Accepted;
        };
    }
    std::vector<std::string> lines() {
        std::vector<std::string> all;
        for (int i = 0; i < activeDocument().lineCount(); ++i) {
            all.emplace_back(activeDocument().lineText(i));
        }
        return all;
    }
};

TEST_F(WritingAidsTest, ForAndSpaceInACFileTypesTheLoop) {
    open("loop.c", "");
    type("for ");
    EXPECT_EQ(activeDocument().lineText(0).substr(0, 5), "for (");
    EXPECT_GE(activeDocument().lineCount(), 3);
    exec(functionIdOf("Undo"));
    EXPECT_EQ(activeDocument().lineText(0), "for");
}

TEST_F(WritingAidsTest, DocumentCheckStopsAtEachUnknownWordAndFinishes) {
    open("main.c", "int main() /* the lopo */\n{\n    return 0; // helo wrold\n}\n");
    std::vector<std::string> seen;
    frame.scriptNextDialog([&](DialogModel& model) {
        auto& dialog = dynamic_cast<SpellingDialog&>(model);
        seen.push_back(dialog.word());
        EXPECT_EQ(dialog.title(), "Spelling: English");
        EXPECT_TRUE(activeDocument().hasMark());
        dialog.press(SpellingDialog::Button::Add);
        return DialogResult::Accepted;
    });
    frame.scriptNextDialog([&](DialogModel& model) {
        auto& dialog = dynamic_cast<SpellingDialog&>(model);
        seen.push_back(dialog.word());
        EXPECT_EQ(dialog.suggestions(), (std::vector<std::string>{"hello"}));
        EXPECT_TRUE(dialog.changeEnabled());
        dialog.press(SpellingDialog::Button::Change);
        return DialogResult::Accepted;
    });
    frame.scriptNextDialog(press(SpellingDialog::Button::Ignore));
    exec(functionIdOf("SpellingDocument"));
    EXPECT_EQ(seen, (std::vector<std::string>{"lopo", "helo"}));
    EXPECT_EQ(lines()[2], "    return 0; // hello wrold");
    EXPECT_EQ(frame.lastStatus(), "The spell checking of the document is complete.");
    EXPECT_FALSE(activeDocument().hasMark());
    EXPECT_EQ(frame.unusedReplies(), 0u);
    // The added word is in the custom dictionary on disk; the ignored one only in this window.
    EXPECT_TRUE(editor->spelling().custom().isKnown("lopo", false));
    exec(functionIdOf("SpellingDocument"));
    EXPECT_EQ(frame.lastStatus(), "The spell checking of the document is complete.");
    startEditor();
    EXPECT_TRUE(editor->spelling().custom().isKnown("lopo", false));
}

TEST_F(WritingAidsTest, CancelLeavesTheWordMarkedAndTheNextCheckResumes) {
    open("note.c", "/* wrold */\n/* hello */\n");
    activeDocument().goToLine(1);
    frame.scriptNextDialog([](DialogModel&) { return DialogResult::Cancelled; });
    exec(functionIdOf("SpellingDocument"));
    // The check started at the cursor line and wrapped round to the first line.
    EXPECT_EQ(activeDocument().cursorLine(), 0);
    EXPECT_EQ(activeDocument().cursorOffset(), 3);
    EXPECT_TRUE(activeDocument().hasMark());
    frame.scriptNextDialog(press(SpellingDialog::Button::Change, "world"));
    exec(functionIdOf("SpellingDocument"));
    EXPECT_EQ(lines()[0], "/* world */");
    EXPECT_EQ(frame.lastStatus(), "The spell checking of the document is complete.");
}

TEST_F(WritingAidsTest, AResumedCheckStillWrapsRound) {
    open("note.c", "/* wrold */\n/* helo */\n");
    activeDocument().goToLine(1);
    std::vector<std::string> seen;
    const auto record = [&](SpellingDialog::Button button) {
        return [&seen, button](DialogModel& model) {
            auto& dialog = dynamic_cast<SpellingDialog&>(model);
            seen.push_back(dialog.word());
            dialog.press(button);
            return button == SpellingDialog::Button::None ? DialogResult::Cancelled : DialogResult::Accepted;
        };
    };
    frame.scriptNextDialog(record(SpellingDialog::Button::None));
    exec(functionIdOf("SpellingDocument"));
    frame.scriptNextDialog(record(SpellingDialog::Button::Ignore));
    frame.scriptNextDialog(record(SpellingDialog::Button::Ignore));
    exec(functionIdOf("SpellingDocument"));
    EXPECT_EQ(seen, (std::vector<std::string>{"helo", "helo", "wrold"}));
    EXPECT_EQ(frame.lastStatus(), "The spell checking of the document is complete.");
}

TEST_F(WritingAidsTest, ChangeToAnUnknownWordAsksFirst) {
    open("note.c", "/* wrold */\n");
    frame.scriptNextDialog(press(SpellingDialog::Button::Change, "wurld"));
    frame.answerNext(Answer::No);
    frame.scriptNextDialog(press(SpellingDialog::Button::Change, "wurld"));
    frame.answerNext(Answer::Yes);
    exec(functionIdOf("SpellingDocument"));
    EXPECT_EQ(lines()[0], "/* wurld */");
    EXPECT_EQ(frame.unusedReplies(), 0u);
    const auto questions = frame.eventsOf(FrameEventKind::Question);
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0].text,
              "The word 'wurld' you have entered was not found in the\ndictionary. Do you still "
              "wish to use this word.");
}

TEST_F(WritingAidsTest, CurrentWord) {
    open("note.c", "hello wrold\n");
    exec(functionIdOf("SpellingWordCurrent"));
    EXPECT_EQ(frame.lastStatus(), "The spelling of the word 'hello' is OK.");
    activeDocument().setCursorOffset(7);
    frame.scriptNextDialog(press(SpellingDialog::Button::Ignore));
    exec(functionIdOf("SpellingWordCurrent"));
    EXPECT_EQ(frame.unusedReplies(), 0u);
    exec(functionIdOf("SpellingWordCurrent"));
    EXPECT_EQ(frame.lastStatus(), "The spelling of the word 'wrold' is OK.");
    EXPECT_EQ(lines()[0], "hello wrold");
}

// The dialog shows characters (UTF-8) whatever the document's encoding; a replacement is written
// in the document's encoding, and one the document cannot hold is refused.
TEST_F(WritingAidsTest, UnknownWordsOfAUtf8DocumentAreShownAndReplacedAsCharacters) {
    open("note.c", "/* caf\xC3\xA9 caff na\xC3\xAFve \xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82 */\n");
    ASSERT_EQ(activeDocument().encoding(), TextEncoding::Utf8);
    std::vector<std::string> seen;
    frame.scriptNextDialog([&](DialogModel& model) {
        auto& dialog = dynamic_cast<SpellingDialog&>(model);
        seen.push_back(dialog.word());
        const auto& suggestions = dialog.suggestions();
        const auto found = std::find(suggestions.begin(), suggestions.end(), "caf\xC3\xA9");
        EXPECT_NE(found, suggestions.end());
        if (found != suggestions.end()) {
            dialog.select(static_cast<std::size_t>(found - suggestions.begin()));
        }
        dialog.press(SpellingDialog::Button::Change);
        return DialogResult::Accepted;
    });
    frame.scriptNextDialog([&](DialogModel& model) {
        auto& dialog = dynamic_cast<SpellingDialog&>(model);
        seen.push_back(dialog.word());
        // The mark covers the word's cells: two letters before it take two bytes each.
        EXPECT_EQ(activeDocument().mark().start().column, 13);
        EXPECT_EQ(activeDocument().mark().end().column, 18);
        dialog.press(SpellingDialog::Button::Ignore);
        return DialogResult::Accepted;
    });
    exec(functionIdOf("SpellingDocument"));
    EXPECT_EQ(seen, (std::vector<std::string>{"caff", "na\xC3\xAFve"}));
    EXPECT_EQ(lines()[0],
              "/* caf\xC3\xA9 caf\xC3\xA9 na\xC3\xAFve \xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82 */");
    EXPECT_EQ(frame.unusedReplies(), 0u);
    EXPECT_EQ(frame.lastStatus(), "The spell checking of the document is complete.");
}

TEST_F(WritingAidsTest, AWindows1252DocumentGetsItsOwnBytesOrARefusal) {
    open("old.c", "/* na\xEFve \xB0 */\n");
    ASSERT_EQ(activeDocument().encoding(), TextEncoding::Windows1252);
    std::vector<std::string> seen;
    const auto change = [&](std::string to) {
        return [&seen, to](DialogModel& model) {
            auto& dialog = dynamic_cast<SpellingDialog&>(model);
            seen.push_back(dialog.word());
            dialog.typeChangeTo(to);
            dialog.press(SpellingDialog::Button::Change);
            return DialogResult::Accepted;
        };
    };
    frame.scriptNextDialog(change("\xE2\x86\x92"));
    frame.scriptNextDialog(change("caf\xC3\xA9"));
    exec(functionIdOf("SpellingDocument"));
    EXPECT_EQ(seen, (std::vector<std::string>{"na\xC3\xAFve", "na\xC3\xAFve"}));
    EXPECT_EQ(lines()[0], "/* caf\xE9 \xB0 */");
    EXPECT_EQ(frame.unusedReplies(), 0u);
    const auto statuses = frame.eventsOf(FrameEventKind::Status);
    EXPECT_TRUE(std::any_of(statuses.begin(), statuses.end(), [](const FrameEvent& event) {
        return event.text == "The character U+2192 can not be held by this Windows-1252 document. View > "
                             "Encoding switches it to UTF-8.";
    }));
}

TEST_F(WritingAidsTest, ACurrentWordNoDictionaryCanHoldIsNotChecked) {
    open("note.c", "\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82 caf\xC3\xA9\n");
    exec(functionIdOf("SpellingWordCurrent"));
    EXPECT_EQ(frame.lastStatus(),
              "The word '\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82' cannot be checked: the "
              "dictionaries hold Windows-1252 words only.");
    activeDocument().setCursorOffset(12);
    exec(functionIdOf("SpellingWordCurrent"));
    EXPECT_EQ(frame.lastStatus(), "The spelling of the word 'caf\xC3\xA9' is OK.");
}

TEST_F(WritingAidsTest, WithoutADocument) {
    exec(functionIdOf("SpellingDocument"));
    EXPECT_EQ(frame.lastStatus(), "Action can only be performed on an active document!");
}

TEST_F(WritingAidsTest, SpellingOptionsChooseTheDictionaryAndAreSaved) {
    frame.scriptNextDialog([](DialogModel& model) {
        auto& dialog = dynamic_cast<aids::SpellingOptionsDialog&>(model);
        EXPECT_EQ(dialog.dictionaries().size(), 1u);
        dialog.choose(0);
        dialog.options().english = true;
        return DialogResult::Accepted;
    });
    exec(functionIdOf("OptionsSpelling"));
    const aids::SpellSettings saved = aids::readSpellSettings(options.settingsFile());
    EXPECT_EQ(saved.dictionary, "ENGLISH.DIC");
    EXPECT_TRUE(saved.options.english);
}

} // namespace
} // namespace vexa::test
