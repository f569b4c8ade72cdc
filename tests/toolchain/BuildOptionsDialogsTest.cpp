// The "Compiler Options" and "Project Options" dialog models, run headless through their functions.
#include <gtest/gtest.h>

#include "toolchain/BuildFixture.h"
#include "toolchain/BuildOptionsDialogs.h"
#include "platform/Environment.h"

namespace vexa::toolchain::test {
namespace {

TEST(SampleCommand, ExtensionPlaceholderAndCommand) {
    struct Case {
        const char* text;
        const char* extension;
        const char* placeholder;
        const char* command;
    };
    const Case cases[] = {
        {"cl -c SAMPLE.C", "C", "SAMPLE.C", "cl -c %s"},
        {"gcc -Wall -c sample.cpp -o x.o", "cpp", "sample.cpp", "gcc -Wall -c %s -o x.o"},
        {"tool SAMPLE", "", "SAMPLE", "tool %s"},
        {"tool SAMPLE. -x", "", "SAMPLE.", "tool %s -x"},
    };
    for (const Case& c : cases) {
        const auto parsed = parseSampleCommand(c.text);
        ASSERT_TRUE(parsed) << c.text;
        EXPECT_EQ(parsed->extension, c.extension) << c.text;
        EXPECT_EQ(parsed->placeholder, c.placeholder) << c.text;
        EXPECT_EQ(parsed->command, c.command) << c.text;
    }
    EXPECT_FALSE(parseSampleCommand("cl -c main.c"));
    EXPECT_EQ(sampleForm("cl -c %s", "c"), "cl -c SAMPLE.C");
}

class CompilerDialogTest : public BuildTest {
protected:
    // Runs CompilerSetup with the user's actions on its model.
    void compilerSetup(const std::function<DialogResult(CompilerOptionsDialog&)>& actions) {
        frame.scriptNextDialog([&](DialogModel& model) {
            auto* dialog = dynamic_cast<CompilerOptionsDialog*>(&model);
            EXPECT_NE(dialog, nullptr);
            EXPECT_EQ(model.title(), "Compiler Options");
            return dialog != nullptr ? actions(*dialog) : DialogResult::Cancelled;
        });
        exec(functionIdOf("CompilerSetup"));
        EXPECT_TRUE(frame.unexpected().empty());
    }
    std::vector<std::string> boxes() const {
        std::vector<std::string> texts;
        for (const FrameEvent& event : frame.eventsOf(FrameEventKind::MessageBox)) {
            texts.push_back(event.text);
        }
        return texts;
    }
};

TEST_F(CompilerDialogTest, AddingACommandStoresExtensionAndCommand) {
    compilerSetup([](CompilerOptionsDialog& dialog) {
        dialog.setCommandField("sh -c SAMPLE.C");
        EXPECT_TRUE(dialog.add());
        EXPECT_EQ(dialog.entries(), (std::vector<std::string>{"sh -c SAMPLE.C"}));
        EXPECT_TRUE(dialog.accept());
        return DialogResult::Accepted;
    });
    EXPECT_EQ(commands.compilerSettings().extension, "C");
    EXPECT_EQ(commands.compilerSettings().command, "sh -c %s");
    EXPECT_NE(readFileBytes(m_home.path() / "vexa.INI").find("Command0=C|sh -c %s"), std::string::npos);
}

TEST_F(CompilerDialogTest, RefusalsAndTheirMessages) {
    commands.compilerSettings().extension = "C";
    commands.compilerSettings().command = "sh %s";
    compilerSetup([](CompilerOptionsDialog& dialog) {
        dialog.setCommandField("sh -c main.c");
        EXPECT_FALSE(dialog.add());
        dialog.setCommandField("sh -c sample.c");
        EXPECT_FALSE(dialog.add());
        dialog.setCommandField("sh -c SAMPLE.PAS");
        EXPECT_FALSE(dialog.add());
        dialog.remove();
        EXPECT_TRUE(dialog.entries().empty());
        dialog.setCommandField("sh -c SAMPLE");
        EXPECT_TRUE(dialog.add());
        dialog.setCommandField("sh -x SAMPLE");
        EXPECT_FALSE(dialog.add());
        return DialogResult::Cancelled;
    });
    EXPECT_EQ(
        boxes(),
        (std::vector<std::string>{
            "The command entered is invalid. Make sure you supply the 'SAMPLE' file in the command line.",
            "The command line could not be added because the extension 'C' is already defined.",
            "You have reached the limit in the number of command file extensions supported.",
            "The command line could not be added because the extension '   ' is already defined.",
        }));
    // Cancelled: nothing changed.
    EXPECT_EQ(commands.compilerSettings().command, "sh %s");
}

TEST_F(CompilerDialogTest, AProgramThatIsNotFoundIsAskedAbout) {
    frame.answerNext(Answer::No);
    frame.answerNext(Answer::Yes);
    compilerSetup([](CompilerOptionsDialog& dialog) {
        dialog.setCommandField("vexa-no-such-cc -c SAMPLE.C");
        EXPECT_FALSE(dialog.add());
        EXPECT_TRUE(dialog.add());
        return DialogResult::Cancelled;
    });
    const auto questions = frame.eventsOf(FrameEventKind::Question);
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0].text.substr(0, 48), "Vexa could not locate the 'vexa-no-such-cc' file");
    EXPECT_EQ(frame.eventsOf(FrameEventKind::Beep).size(), 2u);
}

TEST_F(CompilerDialogTest, CaptureBoxAddsAndRemovesTheStdErrPrefix) {
    compilerSetup([](CompilerOptionsDialog& dialog) {
        dialog.setCommandField("sh -c SAMPLE.C");
        dialog.setCaptureErrors(true);
        EXPECT_EQ(dialog.commandField(), "vStdErr sh -c SAMPLE.C");
        dialog.setCaptureErrors(true);
        EXPECT_EQ(dialog.commandField(), "vStdErr sh -c SAMPLE.C");
        // vStdErr is found beside the editor.
        EXPECT_TRUE(dialog.add());
        dialog.setCaptureErrors(false);
        EXPECT_EQ(dialog.commandField(), "sh -c SAMPLE.C");
        EXPECT_FALSE(dialog.runFileEnabled());
        EXPECT_EQ(dialog.runFileShown(), "VexaCC.BAT");
        dialog.setMode(RunMode::Other);
        dialog.setRunFile("mine.sh");
        EXPECT_TRUE(dialog.runFileEnabled());
        EXPECT_EQ(dialog.runFileShown(), "mine.sh");
        EXPECT_TRUE(dialog.accept());
        return DialogResult::Accepted;
    });
    EXPECT_EQ(commands.compilerSettings().command, "vStdErr sh -c %s");
    EXPECT_EQ(commands.compilerSettings().run.mode, RunMode::Other);
    EXPECT_EQ(commands.compilerSettings().run.runFile, "mine.sh");
}

TEST_F(CompilerDialogTest, StdErrMissingFromThePathRefusesTheCommand) {
    const auto path = platform::environmentVariable("PATH");
    (void)platform::setEnvironmentVariable("PATH", "/nonexistent");
    EXPECT_FALSE(acceptProgramOf("vStdErr cc -c %s", frame, ""));
    EXPECT_TRUE(acceptProgramOf("vStdErr /bin/sh -c %s", frame, VEXA_COMPANION_DIR));
    (void)platform::setEnvironmentVariable("PATH", path.value_or(""));
    ASSERT_EQ(frame.eventsOf(FrameEventKind::MessageBox).size(), 1u);
    EXPECT_EQ(
        frame.eventsOf(FrameEventKind::MessageBox)[0].text,
        "The file 'vStdErr.exe' is not located in the system PATH and\nas such the compile will not run. "
        "Please add the Vexa install\ndirectory to the system PATH statement.");
}

TEST_F(CompilerDialogTest, ProjectOptionsStoreThePlaceholderAndCommand) {
    frame.scriptNextDialog([](DialogModel& model) {
        auto& dialog = dynamic_cast<ProjectOptionsDialog&>(model);
        EXPECT_EQ(dialog.title(), "Project Options");
        EXPECT_EQ(dialog.commandField(), "make -f SAMPLE.MAK");
        dialog.setCommandField("make -f noplaceholder");
        EXPECT_FALSE(dialog.accept());
        dialog.setCommandField("sh -c SAMPLE.MAKEFILE -k");
        dialog.setDebug(true);
        EXPECT_TRUE(dialog.accept());
        return DialogResult::Accepted;
    });
    EXPECT_EQ(exec(functionIdOf("ProjectSetup")), 1);
    EXPECT_EQ(commands.projectSettings().command, "sh -c %s -k");
    EXPECT_EQ(commands.projectSettings().fileName, "SAMPLE.MAK");
    EXPECT_TRUE(commands.projectSettings().run.debug);
    const std::string ini = readFileBytes(m_home.path() / "vexa.INI");
    EXPECT_NE(ini.find("Command=sh -c %s -k"), std::string::npos);
    EXPECT_NE(ini.find("FileName=SAMPLE.MAK"), std::string::npos);
}

} // namespace
} // namespace vexa::toolchain::test
