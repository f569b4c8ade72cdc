// The options: defaults, what a save writes and never writes, reading back, sizes and sounds.
#include "settings/Options.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "support/TempHome.h"

namespace vexa {
namespace {

using platform::SoundKind;
using test::readFileBytes;
using test::writeFileBytes;

class OptionsTest : public ::testing::Test {
protected:
    test::TempHome home;
    Directories directories{home.path().string()};
    std::string iniPath = home.file("vexa.INI");
};

// The complete file a first run writes at exit.
const char* const kFreshFile = "[Editor Options]\n"
                               "DisplayMode=3\n"
                               "FileReadOnly=0\n"
                               "FileMustExist=1\n"
                               "RestoreSize=0\n"
                               "FileRead=1\n"
                               "FileWrite=1\n"
                               "OEMRead=0\n"
                               "OEMWrite=0\n"
                               "NewUtf8=1\n"
                               "MultipleCopies=0\n"
                               "PrintFilter=1\n"
                               "HasMargin=1\n"
                               "ToolBar=1\n"
                               "StatusBar=1\n"
                               "InsertMode=1\n"
                               "MakeSound=1\n"
                               "SmartBrace=1\n"
                               "SmartIndent=1\n"
                               "SmartTemplate=1\n"
                               "UseTabs=0\n"
                               "LineWrap=0\n"
                               "FileTrim=0\n"
                               "AutoBackup=1\n"
                               "UseExplorer=0\n"
                               "SmallIconCaption=1\n"
                               "UseExternLead=1\n"
                               "BackupInterval=4\n"
                               "WrapColumn=80\n"
                               "TabSize=3\n"
                               "RestoreFiles=1\n"
                               "RestoreDirectory=1\n"
                               "CheckOnReload=1\n"
                               "PromptOnFileOpen=0\n"
                               "InsertAfterCursor=0\n"
                               "SearchInclude=1\n"
                               "Recovery=1\n"
                               "RecoveryCap=16\n"
                               "RecoveryDirectory=\n"
                               "DefaultSearchPath=\n"
                               "Keymap=<Default Keymap>\n"
                               "Profile=\n"
                               "MenuKey=0\n"
                               "SaveKeepsUndo=0\n"
                               "UndoWords=0\n"
                               "\n"
                               "[Keyboard Options]\n"
                               "BriefCursor=0\n"
                               "AllowAlt=0\n"
                               "AllowControl=0\n"
                               "\n"
                               "[Filter Options]\n"
                               "UseDefaults=1\n"
                               "Filter1=\n"
                               "Filter2=\n"
                               "Filter3=\n"
                               "Filter4=\n"
                               "Filter5=\n"
                               "Filter6=\n"
                               "Filter7=\n"
                               "Filter8=\n"
                               "Filter9=\n"
                               "\n"
                               "[Font Details]\n"
                               "Height=0\n"
                               "Width=0\n"
                               "Weight=400\n"
                               "Italic=0\n"
                               "Underline=0\n"
                               "StrikeOut=0\n"
                               "Family=1\n"
                               "Face=Courier\n"
                               "\n"
                               "[History]\n"
                               "LastDirectoryUsed=\n";

TEST_F(OptionsTest, FreshRunWritesTheWrittenSectionsOnly) {
    Options options(directories);
    options.load();
    ASSERT_TRUE(options.save());
    std::string written = readFileBytes(iniPath);
    EXPECT_EQ(written, kFreshFile);
    SettingsText text = SettingsText::parse(written);
    EXPECT_FALSE(text.hasSection("Mouse Options"));
    EXPECT_FALSE(text.hasSection("RegularExpress"));
    EXPECT_FALSE(text.find("Editor Options", "Clock24Hour"));
    EXPECT_FALSE(text.find("Editor Options", "SmartBraceMode"));
}

TEST_F(OptionsTest, DefaultsWithoutAFile) {
    Options options(directories);
    options.load();
    EXPECT_EQ(options.editor().tabSize, 3);
    EXPECT_EQ(options.editor().displayMode, 3);
    EXPECT_EQ(options.editor().clock24Hour, 0);
    EXPECT_EQ(options.keymapName(), "<Default Keymap>");
    EXPECT_EQ(options.mouse().mouseMark1, 3);
    EXPECT_EQ(options.mouse().mouseMark2, 1);
    EXPECT_EQ(options.mouse().mouseMark3, 2);
    EXPECT_EQ(options.regex().lines, "");
    EXPECT_EQ(options.font().weight, 400);
    EXPECT_EQ(options.font().face, "Courier");
    EXPECT_EQ(options.filters().useDefaults, 1);
    EXPECT_EQ(options.fileFilterString(), "");
}

TEST_F(OptionsTest, TheLastDirectoryKeepsAPathLongerThan255Bytes) {
    const std::string deep = "/" + std::string(400, 'x') + "/" + std::string(100, 'y') + "/";
    Options options(directories);
    options.setLastDirectoryUsed(deep);
    ASSERT_TRUE(options.save());
    Options again(directories);
    again.load();
    EXPECT_EQ(again.lastDirectoryUsed(), deep);
}

TEST_F(OptionsTest, ATabSizePastTheDialogsRangeIsTakenAsItsTop) {
    const struct {
        const char* value;
        int loaded;
        int effective;
    } cases[] = {{"1073741824", 32, 32}, {"33", 32, 32}, {"32", 32, 32}, {"8", 8, 8}, {"-4", -4, 1}};
    for (const auto& c : cases) {
        writeFileBytes(iniPath, std::string("[Editor Options]\nTabSize=") + c.value + "\n");
        Options options(directories);
        options.load();
        EXPECT_EQ(options.editor().tabSize, c.loaded) << c.value;
        EXPECT_EQ(options.effectiveTabSize(), c.effective) << c.value;
    }
}

TEST_F(OptionsTest, ReadsEverySectionAsWrittenByHand) {
    writeFileBytes(iniPath, "[editor options]\r\n"
                            "tabsize = 0\r\n"
                            "WrapColumn=-20\r\n"
                            "Clock24Hour=1\r\n"
                            "SmartBraceMode=2\r\n"
                            "Keymap=  Brief  \r\n"
                            "[Keyboard Options]\r\nAllowAlt=1\r\n"
                            "[Mouse Options]\r\nMouseMark1=5\r\n"
                            "[RegularExpress]\r\nFunctions=^[a-z]+\\(\r\n"
                            "[Font Details]\r\nFace=Lucida Console\r\nHeight=-12\r\n"
                            "[History]\r\nLastDirectoryUsed=/src/\r\n");
    Options options(directories);
    options.load();
    EXPECT_EQ(options.editor().tabSize, 0);
    EXPECT_EQ(options.effectiveTabSize(), 1);
    EXPECT_EQ(options.editor().wrapColumn, -20);
    EXPECT_EQ(options.editor().clock24Hour, 1);
    EXPECT_EQ(options.editor().smartBraceMode, 2);
    EXPECT_EQ(options.keymapName(), "Brief");
    EXPECT_EQ(options.keyboard().allowAlt, 1);
    EXPECT_EQ(options.mouse().mouseMark1, 5);
    EXPECT_EQ(options.regex().functions, "^[a-z]+\\(");
    EXPECT_EQ(options.font().face, "Lucida Console");
    EXPECT_EQ(options.font().height, -12);
    EXPECT_EQ(options.lastDirectoryUsed(), "/src/");
    // Keys that are absent still get their defaults.
    EXPECT_EQ(options.editor().backupInterval, 4);
}

TEST_F(OptionsTest, TextsAreCutToTheirBuffers) {
    writeFileBytes(iniPath, "[Editor Options]\nKeymap=" + std::string(70, 'k') +
                                "\nDefaultSearchPath=" + std::string(200, 'p') +
                                "\n[Filter Options]\nFilter1=" + std::string(90, '1') +
                                "\n[RegularExpress]\nLines=" + std::string(150, 'l') +
                                "\n[Font Details]\nFace=" + std::string(40, 'f') +
                                "\n[History]\nLastDirectoryUsed=" + std::string(5000, 'd') + "\n");
    Options options(directories);
    options.load();
    EXPECT_EQ(options.keymapName(), std::string(50, 'k'));
    EXPECT_EQ(options.editor().defaultSearchPath, std::string(121, 'p'));
    EXPECT_EQ(options.filters().filter1, std::string(80, '1'));
    EXPECT_EQ(options.regex().lines, std::string(99, 'l'));
    EXPECT_EQ(options.font().face, std::string(31, 'f'));
    // A path keeps what the system's path limit allows.
    EXPECT_EQ(options.lastDirectoryUsed(), std::string(4095, 'd'));
}

TEST_F(OptionsTest, SaveKeepsReadOnlyKeysAndOtherSections) {
    const std::string handWritten = "; my own notes\n"
                                    "[Searching]\nFindText=needle\n\n"
                                    "[Editor Options]\nClock24Hour=1\nTabSize=8\n\n"
                                    "[Mouse Options]\nMouseMark1=1\n\n"
                                    "[RegularExpress]\nErrors=error:\n";
    writeFileBytes(iniPath, handWritten);
    Options options(directories);
    options.load();
    options.editor().tabSize = 4;
    options.editor().clock24Hour = 0;
    ASSERT_TRUE(options.save());
    SettingsText text = SettingsText::parse(readFileBytes(iniPath));
    EXPECT_EQ(text.find("Searching", "FindText"), "needle");
    EXPECT_EQ(text.find("Editor Options", "TabSize"), "4");
    EXPECT_EQ(text.find("Editor Options", "Clock24Hour"), "1");
    EXPECT_EQ(text.find("Mouse Options", "MouseMark1"), "1");
    EXPECT_FALSE(text.find("Mouse Options", "MouseMark2"));
    EXPECT_EQ(text.find("RegularExpress", "Errors"), "error:");
    EXPECT_FALSE(text.find("RegularExpress", "Lines"));
    EXPECT_EQ(readFileBytes(iniPath).rfind("; my own notes\n", 0), 0u);
}

TEST_F(OptionsTest, SavedValuesReadBackInANewRun) {
    {
        Options options(directories);
        options.load();
        options.editor().wrapColumn = 72;
        options.editor().insertMode = 0;
        options.editor().keymap = "Mine";
        options.keyboard().briefCursor = 1;
        options.filters().filter3 = "C files|*.c|";
        options.font().face = "Mono";
        options.font().italic = 1;
        options.setLastDirectoryUsed("/home/me/src/");
        ASSERT_TRUE(options.save());
    }
    Options options(directories);
    options.load();
    EXPECT_EQ(options.editor().wrapColumn, 72);
    EXPECT_EQ(options.editor().insertMode, 0);
    EXPECT_EQ(options.keymapName(), "Mine");
    EXPECT_EQ(options.keyboard().briefCursor, 1);
    EXPECT_EQ(options.filters().filter3, "C files|*.c|");
    EXPECT_EQ(options.font().face, "Mono");
    EXPECT_EQ(options.font().italic, 1);
    EXPECT_EQ(options.lastDirectoryUsed(), "/home/me/src/");
}

// Two editors on one home: each exit writes what that editor changed over what the file holds
// by then, so neither undoes the other's change, and a value both changed ends as the later's.
TEST_F(OptionsTest, TwoEditorsOnOneHomeKeepEachOthersChanges) {
    writeFileBytes(iniPath, "[Editor Options]\nTabSize=8\nWrapColumn=70\n");
    Options first(directories);
    Options second(directories);
    first.load();
    second.load();
    first.editor().tabSize = 4;
    first.editor().wrapColumn = 60;
    second.editor().wrapColumn = 80;
    second.font().face = "Mono";
    ASSERT_TRUE(second.save());
    ASSERT_TRUE(first.save());
    SettingsText text = SettingsText::parse(readFileBytes(iniPath));
    EXPECT_EQ(text.find("Editor Options", "TabSize"), "4");
    EXPECT_EQ(text.find("Editor Options", "WrapColumn"), "60");
    EXPECT_EQ(text.find("Font Details", "Face"), "Mono") << "the first editor undid the second's font";

    // A later save of the second writes nothing it did not change again.
    second.editor().insertMode = 0;
    ASSERT_TRUE(second.save());
    text = SettingsText::parse(readFileBytes(iniPath));
    EXPECT_EQ(text.find("Editor Options", "TabSize"), "4") << "the second editor undid the first's tab size";
    EXPECT_EQ(text.find("Editor Options", "InsertMode"), "0");
}

TEST_F(OptionsTest, FontIsSavedAndLoadedOnItsOwn) {
    Options options(directories);
    options.font().face = "Terminal";
    options.font().weight = 700;
    options.editor().tabSize = 9;
    ASSERT_TRUE(options.saveFont());
    SettingsText text = SettingsText::parse(readFileBytes(iniPath));
    EXPECT_EQ(text.find("Font Details", "Face"), "Terminal");
    EXPECT_EQ(text.find("Font Details", "Weight"), "700");
    EXPECT_FALSE(text.hasSection("Editor Options"));

    Options other(directories);
    other.loadFont();
    EXPECT_EQ(other.font().face, "Terminal");
    EXPECT_EQ(other.font().weight, 700);
    EXPECT_EQ(other.editor().tabSize, 3);
}

TEST_F(OptionsTest, FilterStringJoinsTheNineFiltersInOrder) {
    writeFileBytes(iniPath, "[Filter Options]\nFilter2=B|*.b|\nFilter1=A|*.a|\nFilter9=" +
                                std::string(100, 'z') + "\nFilter5=E|*.e|\n");
    Options options(directories);
    options.load();
    EXPECT_EQ(options.fileFilterString(), "A|*.a|B|*.b|E|*.e|" + std::string(80, 'z'));
    options.filters().filter4 = std::string(95, 'y');
    EXPECT_EQ(options.fileFilterString(),
              "A|*.a|B|*.b|" + std::string(80, 'y') + "E|*.e|" + std::string(80, 'z'));
}

struct SoundCase {
    int makeSound;
    int devices;
    SoundKind requested;
    std::optional<SoundKind> expected;
};

TEST_F(OptionsTest, SoundDecision) {
    const SoundCase cases[] = {
        {1, 1, SoundKind::Error, SoundKind::Error},
        {1, 2, SoundKind::Question, SoundKind::Question},
        {1, 0, SoundKind::Error, SoundKind::Information},
        {1, 0, SoundKind::Exclamation, SoundKind::Information},
        {0, 1, SoundKind::Error, std::nullopt},
        {0, 0, SoundKind::Error, std::nullopt},
        {1, 1, SoundKind::None, std::nullopt},
    };
    for (const auto& c : cases) {
        Options options(directories, c.devices);
        options.editor().makeSound = c.makeSound;
        EXPECT_EQ(options.soundFor(c.requested), c.expected)
            << c.makeSound << " " << c.devices << " " << static_cast<int>(c.requested);
    }
}

TEST_F(OptionsTest, FailedSaveKeepsTheOldFile) {
    const std::string original = "[Editor Options]\nTabSize=5\n";
    writeFileBytes(iniPath, original);
    Options options(directories);
    options.load();
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool savedOk = options.save();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(savedOk);
    EXPECT_EQ(readFileBytes(iniPath), original);
}

TEST_F(OptionsTest, DialogPositionsPerIdentifier) {
    Options options(directories);
    EXPECT_EQ(options.dialogPosition(120), (DialogPosition{0, 0}));
    ASSERT_TRUE(options.saveDialogPosition(120, {35, -8}));
    ASSERT_TRUE(options.saveDialogPosition(7, {1, 2}));
    EXPECT_EQ(options.dialogPosition(120), (DialogPosition{35, -8}));
    EXPECT_EQ(options.dialogPosition(7), (DialogPosition{1, 2}));
    SettingsText text = SettingsText::parse(readFileBytes(iniPath));
    EXPECT_EQ(text.find("Dialog120", "XPos"), "35");
    EXPECT_EQ(text.find("Dialog120", "YPos"), "-8");
}

TEST_F(OptionsTest, DirectoryQueriesComeFromTheHome) {
    Options options(directories);
    const std::string homePath = directories.home();
    EXPECT_EQ(options.homeDirectory(), homePath);
    EXPECT_EQ(options.directory(DirectoryKind::Config), homePath + "vConfig/");
    EXPECT_EQ(options.directory(DirectoryKind::Example), homePath + "vExample/");
    EXPECT_EQ(options.settingsFile().path(), homePath + "vexa.INI");
}

} // namespace
} // namespace vexa
