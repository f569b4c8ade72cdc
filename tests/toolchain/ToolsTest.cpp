// The tools list: its file in every version, the "Tool Options" rules, running tools with and
// without capture, and a real run of ls into the Standard Output window.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <thread>

#include "toolchain/BuildFixture.h"
#include "toolchain/ToolCommands.h"
#include "toolchain/ToolDialogs.h"
#include "toolchain/ToolsFile.h"
#include "platform/posix/PosixProcess.h"
#include "settings/BinaryFields.h"
#include "settings/InfoHeader.h"

namespace vexa::toolchain::test {
namespace {

ToolRecord sampleTool(std::string menuText) {
    ToolRecord tool;
    tool.type = ToolType::WindowsProgram;
    tool.showMode = platform::ShowMode::Maximized;
    tool.saveDocument = true;
    tool.captureErrors = true;
    tool.captureOutput = false;
    tool.askArguments = true;
    tool.program = "/usr/bin/grep";
    tool.arguments = "-n $Word *.c";
    tool.workingDirectory = "/tmp";
    tool.menuText = std::move(menuText);
    return tool;
}

// A tools file of an older version, written field by field as that version's writer did.
std::string oldToolsFile(std::string_view version, int count, bool withErrors) {
    InfoHeader header = InfoHeader::forKind(kToolInfo);
    header.version = std::string(version);
    FieldWriter writer;
    const std::string head = encodeInfoHeader(header);
    writer.bytes(std::span<const char>(head.data(), head.size()));
    writer.u8(static_cast<uint8_t>(count));
    for (int i = 0; i < count; ++i) {
        writer.u16(2); // command line
        writer.u16(7); // minimized
        if (withErrors) {
            writer.u16(1);
        }
        writer.u16(1); // capture output
        writer.u16(0);
        writer.fixedString("", kToolPathWidth);
        writer.fixedString("make", kToolPathWidth);
        writer.fixedString("/src", kToolPathWidth);
        writer.fixedString("&Make " + std::to_string(i), kToolMenuTextWidth);
    }
    return writer.take();
}

TEST(ToolsFile, TheCurrentLayoutByteForByte) {
    const std::string bytes = encodeToolsFile({sampleTool("&Grep"), sampleTool("&Other")});
    ASSERT_EQ(bytes.size(), kInfoHeaderSize + 1 + 2 * kToolRecordSize0102);
    EXPECT_EQ(bytes[kInfoHeaderSize], 2);
    const std::span<const char> record(bytes.data() + kInfoHeaderSize + 1, kToolRecordSize0102);
    const uint16_t expected[] = {1, 3, 1, 1, 0, 1};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(loadU16(record, i * 2), expected[i]) << "field " << i;
    }
    EXPECT_EQ(std::string(record.data() + 12), "/usr/bin/grep");
    EXPECT_EQ(std::string(record.data() + 12 + 256), "-n $Word *.c");
    EXPECT_EQ(std::string(record.data() + 12 + 512), "/tmp");
    EXPECT_EQ(std::string(record.data() + 12 + 768), "&Grep");
    EXPECT_EQ(record[kToolRecordSize0102 - 1], '\0');

    const ToolsRead read = decodeToolsFile(bytes);
    ASSERT_EQ(read.status, ToolsRead::Status::Ok);
    ASSERT_EQ(read.tools.size(), 2u);
    const ToolRecord& tool = read.tools[0];
    EXPECT_EQ(tool.type, ToolType::WindowsProgram);
    EXPECT_EQ(tool.showMode, platform::ShowMode::Maximized);
    EXPECT_TRUE(tool.saveDocument && tool.captureErrors && tool.askArguments);
    EXPECT_FALSE(tool.captureOutput);
    EXPECT_EQ(tool.menuText, "&Grep");
    EXPECT_EQ(encodeToolsFile(read.tools), bytes);
}

TEST(ToolsFile, OlderVersionsReadTheirMissingFieldsAsOff) {
    const struct {
        const char* version;
        bool withErrors;
        std::size_t recordSize;
    } cases[] = {{"01.00", false, kToolRecordSize0100}, {"01.01", true, kToolRecordSize0101}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        const std::string bytes = oldToolsFile(c.version, 2, c.withErrors);
        ASSERT_EQ(bytes.size(), kInfoHeaderSize + 1 + 2 * c.recordSize);
        const ToolsRead read = decodeToolsFile(bytes);
        ASSERT_EQ(read.status, ToolsRead::Status::Ok);
        ASSERT_EQ(read.tools.size(), 2u);
        EXPECT_EQ(read.tools[1].type, ToolType::DosCommandLine);
        EXPECT_EQ(read.tools[1].showMode, platform::ShowMode::MinimizedNoActivate);
        EXPECT_FALSE(read.tools[1].saveDocument);
        EXPECT_EQ(read.tools[1].captureErrors, c.withErrors);
        EXPECT_TRUE(read.tools[1].captureOutput);
        EXPECT_EQ(read.tools[1].arguments, "make");
        EXPECT_EQ(read.tools[1].menuText, "&Make 1");
    }
}

TEST(ToolsFile, RefusedAndOddFiles) {
    const std::string good = encodeToolsFile({sampleTool("a")});
    std::string newer = oldToolsFile("01.03", 0, true);
    std::string otherType = good;
    otherType.replace(kInfoFileTypeOffset, 13, "FILE_KEYMACRO");
    const struct {
        const char* name;
        std::string bytes;
        ToolsRead::Status status;
        std::size_t tools;
    } cases[] = {
        {"empty", "", ToolsRead::Status::UnknownFormat, 0},
        {"header only", good.substr(0, kInfoHeaderSize), ToolsRead::Status::UnknownFormat, 0},
        {"cut record", good.substr(0, good.size() - 1), ToolsRead::Status::UnknownFormat, 0},
        {"newer version", newer, ToolsRead::Status::UnknownFormat, 0},
        {"other type", otherType, ToolsRead::Status::UnknownFormat, 0},
        {"negative count", oldToolsFile("01.01", 0, true).substr(0, kInfoHeaderSize) + "\xff",
         ToolsRead::Status::Ok, 0},
        {"too many", oldToolsFile("01.01", 20, true), ToolsRead::Status::Ok, kMaxTools},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolsRead read = decodeToolsFile(c.bytes);
        EXPECT_EQ(read.status, c.status);
        EXPECT_EQ(read.tools.size(), c.tools);
    }
}

TEST(ToolsFile, SavedAndLoadedOnDisk) {
    TempHome home;
    const std::string path = home.file("VexaTool.INF");
    EXPECT_EQ(loadToolsFile(path).status, ToolsRead::Status::Missing);
    ASSERT_TRUE(saveToolsFile(path, {sampleTool("x")}));
    const ToolsRead read = loadToolsFile(path);
    ASSERT_EQ(read.status, ToolsRead::Status::Ok);
    EXPECT_EQ(read.tools.front().menuText, "x");
    EXPECT_FALSE(saveToolsFile(home.file("missing/dir/VexaTool.INF"), {}));
    EXPECT_EQ(toolsReadMessage(ToolsRead::Status::UnknownFormat, "VexaTool.INF"),
              "The 'VexaTool.INF' information file is of an unknown format or has been corrupted.");
}

TEST(ToolsFile, ProgramKindsFromHeaders) {
    std::string dos(64, '\0');
    dos[0] = 'M';
    dos[1] = 'Z';
    dos[0x18] = 0x1c;
    std::string windows(0x90, '\0');
    windows[0] = 'M';
    windows[1] = 'Z';
    windows[0x18] = 0x40;
    windows[0x3c] = static_cast<char>(0x80);
    windows[0x80] = 'N';
    windows[0x81] = 'E';
    std::string portable = windows;
    portable[0x80] = 'P';
    std::string wildOffset = windows;
    wildOffset[0x3d] = static_cast<char>(0x7f);
    const struct {
        const char* name;
        std::string header;
        const char* file;
        bool executable;
        ProgramKind kind;
    } cases[] = {
        {"dos exe", dos, "a.exe", false, ProgramKind::Dos},
        {"windows exe", windows, "a.exe", false, ProgramKind::Windows},
        {"other new header", portable, "a.exe", false, ProgramKind::Unknown},
        {"new header beyond the bytes", wildOffset, "a.exe", false, ProgramKind::Unknown},
        {"batch", "echo", "run.BAT", false, ProgramKind::Dos},
        {"com", "", "x.com", false, ProgramKind::Dos},
        {"elf",
         "\x7f"
         "ELF....",
         "ls", true, ProgramKind::Windows},
        {"elf not executable",
         "\x7f"
         "ELF....",
         "ls", false, ProgramKind::Unknown},
        {"script", "#!/bin/sh\n", "run", true, ProgramKind::Windows},
        {"text", "hello", "notes", true, ProgramKind::Unknown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(programKindOf(c.header, c.file, c.executable), c.kind);
    }
}

TEST(ToolsFile, NewRecordsAndDisplayTexts) {
    const ToolRecord tool = newToolRecord("/work");
    EXPECT_EQ(tool.type, ToolType::DosProgram);
    EXPECT_EQ(tool.showMode, platform::ShowMode::Hidden);
    EXPECT_TRUE(tool.captureOutput);
    EXPECT_FALSE(tool.captureErrors || tool.askArguments || tool.saveDocument);
    EXPECT_EQ(tool.workingDirectory, "/work");
    ToolRecord named = sampleTool("m");
    named.program = "C:\\BIN\\GREP.EXE";
    EXPECT_EQ(toolDisplayText(named), "GREP.EXE -n $Word *.c");
}

TEST(ToolsFile, TheShippedListIsTheDefaultList) {
    const std::string shipped = std::string(VEXA_SOURCE_DIR) + "/share/vConfig/VexaTool.INF";
    if (std::getenv("VEXA_WRITE_SHIPPED_TOOLS") != nullptr) {
        ASSERT_TRUE(saveToolsFile(shipped, defaultTools()));
    }
    const ToolsRead read = loadToolsFile(shipped);
    ASSERT_EQ(read.status, ToolsRead::Status::Ok);
    EXPECT_EQ(encodeToolsFile(read.tools), encodeToolsFile(defaultTools()));
    ASSERT_EQ(read.tools.size(), 3u);
    EXPECT_EQ(read.tools[0].arguments, "grep -n $Word $FileDir*.c $FileDir*.h");
    for (const ToolRecord& tool : read.tools) {
        EXPECT_TRUE(tool.captureOutput) << tool.menuText;
    }
}

class ToolOptionsTest : public ProcessorTest {};

TEST_F(ToolOptionsTest, AddingFollowsTheRules) {
    std::vector<ToolRecord> full;
    for (std::size_t i = 0; i < kMaxTools; ++i) {
        full.push_back(sampleTool("t" + std::to_string(i)));
    }
    ToolOptionsModel fullDialog(frame, full, "/");
    fullDialog.fields().menuText = "sixteenth";
    EXPECT_FALSE(fullDialog.add());
    EXPECT_EQ(fullDialog.tools().size(), kMaxTools);

    ToolOptionsModel dialog(frame, {sampleTool("&Grep")}, "/");
    dialog.fields().menuText = "&Grep";
    dialog.fields().workingDirectory = "/no/such/directory";
    EXPECT_FALSE(dialog.add());
    EXPECT_EQ(dialog.focus(), ToolOptionsModel::Field::Directory);

    dialog.fields().workingDirectory = "";
    dialog.fields().arguments = "replacement";
    frame.answerNext(Answer::No);
    EXPECT_FALSE(dialog.add());
    ASSERT_EQ(dialog.tools().size(), 1u);
    EXPECT_EQ(dialog.tools()[0].arguments, "-n $Word *.c");
    frame.answerNext(Answer::Yes);
    EXPECT_TRUE(dialog.add());
    ASSERT_EQ(dialog.tools().size(), 1u);
    EXPECT_EQ(dialog.tools()[0].arguments, "replacement");
    EXPECT_EQ(dialog.selected(), 0u);

    frame.answerNext(Answer::Yes);
    EXPECT_TRUE(dialog.remove());
    EXPECT_TRUE(dialog.tools().empty());
    EXPECT_TRUE(frame.unexpected().empty());
}

// The tools family over scripted processes.
class ToolCommandsTest : public BuildTest {
protected:
    ToolCommands& tools(const std::vector<ToolRecord>& list) {
        const std::string config = options.directory(DirectoryKind::Config);
        std::filesystem::create_directories(config);
        EXPECT_TRUE(saveToolsFile(config + "/VexaTool.INF", list));
        m_tools.emplace(processor, outputs, launcher, "");
        return *m_tools;
    }
    std::optional<ToolCommands> m_tools;
};

TEST_F(ToolCommandsTest, ToolsRunWithAndWithoutCapture) {
    ToolRecord quiet = sampleTool("quiet");
    quiet.askArguments = false;
    quiet.saveDocument = false;
    quiet.captureErrors = false;
    ToolRecord asking = quiet;
    asking.askArguments = true;
    asking.captureOutput = true;
    ToolCommands& family = tools({quiet, asking});
    EXPECT_EQ(family.menuTexts(), (std::vector<std::string>{"quiet", "quiet"}));

    launcher.scriptNext(FakeRun{});
    EXPECT_EQ(family.run(functionIdOf("ToolsExecute1")), 1);
    EXPECT_TRUE(host.changed.empty()) << "a tool without capture leaves Standard Output alone";
    EXPECT_TRUE(outputs.standard().lines().empty());

    frame.cancelNextDialog();
    EXPECT_EQ(family.run(functionIdOf("ToolsExecute2")), 0);
    EXPECT_EQ(launcher.requests().size(), 1u) << "cancelled arguments start nothing";

    EXPECT_EQ(family.run(functionIdOf("ToolsExecute3")), 0);
    EXPECT_EQ(frame.lastStatus().rfind("Unexpected Vexa error at File: QLWEXE01 Line: ", 0), 0u)
        << frame.lastStatus();
}

ToolRecord uncapturedTool(std::string program, std::string arguments) {
    ToolRecord tool = sampleTool("tool");
    tool.askArguments = false;
    tool.saveDocument = false;
    tool.captureErrors = false;
    tool.program = std::move(program);
    tool.arguments = std::move(arguments);
    return tool;
}

// A terminal or viewer left open does not keep the next tool from starting.
TEST_F(ToolCommandsTest, EachRunWithoutCaptureHasASlotOfItsOwn) {
    ToolCommands& family = tools({uncapturedTool("viewer", "")});
    for (int run = 1; run <= 3; ++run) {
        launcher.scriptNext(FakeRun{platform::SpawnResult::Started, FakeRun::kUntilEnded});
        EXPECT_EQ(family.execute(1), 1) << frame.lastStatus();
        EXPECT_EQ(launcher.requests().size(), static_cast<std::size_t>(run));
    }
}

TEST_F(ToolCommandsTest, ProjectVariablesNameTheOpenProject) {
    ToolCommands& family = tools({uncapturedTool("echo", "$ProjectFile $ProjectDir $ProjectBase $PF")});
    writeFileBytes(source / "app.mak", "all:\n");
    frame.chooseNextOpen({sourceFile("app.mak")});
    ASSERT_EQ(exec(functionIdOf("ProjectOpen")), 1);
    launcher.scriptNext(FakeRun{});
    ASSERT_EQ(family.execute(1), 1);
    EXPECT_EQ(launcher.requests().back().arguments,
              (std::vector<std::string>{"echo", "app.mak", sourceDirectory(), "app", "app.mak"}));
}

TEST_F(ToolCommandsTest, ACapturedRunIsRefusedWhileBusy) {
    ToolRecord tool = sampleTool("cap");
    tool.askArguments = false;
    tool.saveDocument = false;
    tool.captureOutput = true;
    ToolCommands& family = tools({tool});
    launcher.scriptNext(FakeRun{platform::SpawnResult::Started, FakeRun::kUntilEnded});
    EXPECT_EQ(family.execute(1), 1);
    EXPECT_TRUE(family.capturedRun().isBusy());
    EXPECT_EQ(family.execute(1), 0);
    EXPECT_EQ(frame.lastStatus(), kSpawnBusy);
    launcher.endAll(0);
    frame.advanceTime(kToolPollMs);
    EXPECT_FALSE(family.capturedRun().isBusy());
    EXPECT_EQ(host.changed.back(), OutputKind::Standard);
}

TEST_F(ToolCommandsTest, AnUnreadableToolsFileIsReported) {
    const std::string config = options.directory(DirectoryKind::Config);
    std::filesystem::create_directories(config);
    writeFileBytes(config + "/VexaTool.INF", "garbage");
    m_tools.emplace(processor, outputs, launcher, "");
    EXPECT_TRUE(m_tools->tools().empty());
    ASSERT_FALSE(frame.eventsOf(FrameEventKind::MessageBox).empty());
}

TEST_F(ToolCommandsTest, TheCommandLineDialogRunsItsCommandCaptured) {
    ToolCommands& family = tools({});
    frame.scriptNextDialog([this](DialogModel& model) {
        auto& dialog = dynamic_cast<DosCommandLineModel&>(model);
        dialog.directory = source.string();
        dialog.arguments = "echo hi";
        EXPECT_TRUE(dialog.accept());
        return DialogResult::Accepted;
    });
    launcher.scriptNext(FakeRun{});
    ASSERT_EQ(family.run(functionIdOf("ToolsCommand")), 1);
    ASSERT_EQ(launcher.requests().size(), 1u);
    const std::vector<std::string>& words = launcher.requests()[0].arguments;
    ASSERT_EQ(words.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(words.begin() + 1, words.end()), (std::vector<std::string>{"/C", "echo", "hi"}));
    EXPECT_NE(launcher.requests()[0].outputFile.find(std::string(kPipeFileName)), std::string::npos);
    EXPECT_EQ(launcher.requests()[0].workingDirectory, source.string());
    EXPECT_EQ(host.changed.back(), OutputKind::Standard);

    frame.cancelNextDialog();
    EXPECT_EQ(family.run(functionIdOf("ToolsCommand")), 0);
    EXPECT_EQ(launcher.requests().size(), 1u);
}

// An empty command line is an interactive one: a terminal opens, and the output of the run
// before is not shown again as its own.
TEST_F(ToolCommandsTest, AnEmptyCommandLineOpensATerminal) {
    ToolCommands& family = tools({});
    const char* saved = std::getenv("TERMINAL");
    const std::string savedTerminal = saved != nullptr ? saved : "";
    ASSERT_EQ(setenv("TERMINAL", "my-term", 1), 0);
    writeFileBytes(family.capturedRun().spawner().pipeFilePath(), "an earlier run's output\n");
    for (const char* typed : {"", "   "}) {
        frame.scriptNextDialog([&](DialogModel& model) {
            auto& dialog = dynamic_cast<DosCommandLineModel&>(model);
            dialog.directory = source.string();
            dialog.arguments = typed;
            EXPECT_TRUE(dialog.accept());
            return DialogResult::Accepted;
        });
        launcher.scriptNext(FakeRun{});
        EXPECT_EQ(family.run(functionIdOf("ToolsCommand")), 1);
        ASSERT_FALSE(launcher.requests().empty());
        EXPECT_EQ(launcher.requests().back().arguments, std::vector<std::string>{"my-term"});
        frame.advanceTime(kToolPollMs);
        EXPECT_TRUE(outputs.standard().lines().empty());
    }
    if (saved != nullptr) {
        ASSERT_EQ(setenv("TERMINAL", savedTerminal.c_str(), 1), 0);
    } else {
        ASSERT_EQ(unsetenv("TERMINAL"), 0);
    }
}

TEST_F(ToolCommandsTest, TheShellStartsTheUsersTerminalOrSaysWhyNot) {
    ToolCommands& family = tools({});
    const char* saved = std::getenv("TERMINAL");
    const std::string savedTerminal = saved != nullptr ? saved : "";
    const char* savedPath = std::getenv("PATH");
    const std::string path = savedPath != nullptr ? savedPath : "";

    ASSERT_EQ(setenv("TERMINAL", "my-term", 1), 0);
    launcher.scriptNext(FakeRun{});
    EXPECT_EQ(family.run(functionIdOf("ToolsShell")), 1);
    ASSERT_EQ(launcher.requests().size(), 1u);
    EXPECT_EQ(launcher.requests()[0].arguments, std::vector<std::string>{"my-term"});
    // The variable names a program: whatever it holds, it is that one word.
    ASSERT_EQ(setenv("TERMINAL", "my-term;touch x", 1), 0);
    launcher.scriptNext(FakeRun{});
    EXPECT_EQ(family.run(functionIdOf("ToolsShell")), 1);
    ASSERT_EQ(launcher.requests().size(), 2u);
    EXPECT_EQ(launcher.requests()[1].arguments, std::vector<std::string>{"my-term;touch x"});

    ASSERT_EQ(unsetenv("TERMINAL"), 0);
    ASSERT_EQ(setenv("PATH", "/nonexistent-directory", 1), 0);
    EXPECT_EQ(family.run(functionIdOf("ToolsShell")), 0);
    EXPECT_EQ(frame.lastStatus(), kNoTerminal);
    EXPECT_EQ(launcher.requests().size(), 2u);

    ASSERT_EQ(setenv("PATH", path.c_str(), 1), 0);
    if (saved != nullptr) {
        ASSERT_EQ(setenv("TERMINAL", savedTerminal.c_str(), 1), 0);
    }
}

class RealToolTest : public BuildTestWith<platform::PosixProcessLauncher> {};

TEST_F(RealToolTest, AToolRunningLsCapturesIntoStandardOutput) {
    writeFileBytes(source / "listed-by-ls.txt", "x");
    const std::string config = options.directory(DirectoryKind::Config);
    std::filesystem::create_directories(config);
    ToolRecord ls;
    ls.type = ToolType::DosCommandLine;
    ls.arguments = "ls";
    ls.workingDirectory = source.string();
    ls.captureOutput = true;
    ls.menuText = "&List";
    ASSERT_TRUE(saveToolsFile(config + "/VexaTool.INF", {ls}));
    ToolCommands family(processor, outputs, launcher, VEXA_COMPANION_DIR);
    ASSERT_EQ(family.execute(1), 1) << frame.lastStatus();
    for (int i = 0; i < 600 && family.capturedRun().isBusy(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        frame.advanceTime(kToolPollMs);
    }
    ASSERT_FALSE(family.capturedRun().isBusy());
    bool listed = false;
    for (const auto& line : outputs.standard().lines()) {
        listed = listed || line.text == "listed-by-ls.txt";
    }
    EXPECT_TRUE(listed) << outputs.standard().allText();
    EXPECT_EQ(frame.lastStatus(), "Command has completed.");
}

// Capture works for every tool type: a program started directly as well as through the command
// interpreter. A run that waits for its programs has the output before execute returns.
TEST_F(RealToolTest, EveryToolTypeCapturesBothStreams) {
    struct Case {
        ToolType type;
        const char* program;
        const char* arguments;
    };
    const Case cases[] = {
        {ToolType::DosCommandLine, "", "sh -c 'echo out; echo err >&2'"},
        {ToolType::DosProgram, "sh", "-c 'echo out; echo err >&2'"},
        {ToolType::WindowsProgram, "sh", "-c 'echo out; echo err >&2'"},
    };
    const std::string config = options.directory(DirectoryKind::Config);
    std::filesystem::create_directories(config);
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type));
        ToolRecord tool;
        tool.type = c.type;
        tool.program = c.program;
        tool.arguments = c.arguments;
        tool.captureOutput = true;
        tool.menuText = "&Both";
        ASSERT_TRUE(saveToolsFile(config + "/VexaTool.INF", {tool}));
        ToolCommands family(processor, outputs, launcher, VEXA_COMPANION_DIR, true);
        ASSERT_EQ(family.execute(1), 1) << frame.lastStatus();
        EXPECT_FALSE(family.capturedRun().isBusy());
        std::vector<std::string> texts;
        for (const auto& line : outputs.standard().lines()) {
            texts.push_back(line.text);
        }
        EXPECT_NE(std::find(texts.begin(), texts.end(), "out"), texts.end()) << outputs.standard().allText();
        EXPECT_NE(std::find(texts.begin(), texts.end(), "err"), texts.end()) << outputs.standard().allText();
    }
}

TEST_F(RealToolTest, TheShippedGrepToolFindsTheWordAtTheCursor) {
    openSource("main.c", "int other;\nint needle;\n");
    doc().goToPosition(1, 5);
    const std::string config = options.directory(DirectoryKind::Config);
    std::filesystem::create_directories(config);
    ASSERT_TRUE(saveToolsFile(config + "/VexaTool.INF", defaultTools()));
    ToolCommands family(processor, outputs, launcher, VEXA_COMPANION_DIR);
    frame.scriptNextDialog([](DialogModel&) { return DialogResult::Accepted; }); // the arguments as they are
    ASSERT_EQ(family.execute(1), 1) << frame.lastStatus();
    for (int i = 0; i < 600 && family.capturedRun().isBusy(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        frame.advanceTime(kToolPollMs);
    }
    ASSERT_FALSE(family.capturedRun().isBusy());
    bool found = false;
    for (const auto& line : outputs.standard().lines()) {
        found = found || line.text == sourceDirectory() + "main.c:2:int needle;";
    }
    EXPECT_TRUE(found) << outputs.standard().allText();
}

} // namespace
} // namespace vexa::toolchain::test
