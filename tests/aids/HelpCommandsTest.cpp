// The Quick Help functions over a processor: the word at the cursor, the hit list, the viewer,
// the manual-page answer, the search dialog and the configuration dialog.
#include "aids/HelpCommands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "HelpFileWriter.h"
#include "aids/QuickHelpDialogs.h"
#include "commands/ProcessorFixture.h"
#include "keyboard/ActiveKeymap.h"
#include "keyboard/PrefixKeyList.h"
#include "platform/ManualPage.h"
#include "support/FakeProcess.h"
#include "text/TextEncoding.h"

namespace vexa::aids {
namespace {

namespace fs = std::filesystem;
using testing::HelpFileLayout;
using testing::HelpFileWriter;

class FakeManualPages final : public platform::ManualPages {
public:
    std::optional<platform::ManualPage> find(std::string_view name, std::string_view sections) override {
        asked.emplace_back(name);
        askedSections = std::string(sections);
        auto it = pages.find(std::string(name));
        if (it == pages.end()) {
            return std::nullopt;
        }
        return it->second;
    }
    std::map<std::string, platform::ManualPage> pages;
    std::vector<std::string> asked;
    std::string askedSections;
};

class QuickHelpTest : public test::ProcessorTest {
protected:
    QuickHelpTest() : family(processor, activeKeymap, prefixes, launcher, manuals) {
        fs::create_directories(options.directory(DirectoryKind::Help));
        fs::create_directories(options.directory(DirectoryKind::Config));
        fs::create_directories(m_home.path() / "files");
    }
    std::string installHelp(const std::string& name, const HelpFileLayout& layout) {
        std::vector<uint8_t> bytes = HelpFileWriter::build(layout);
        std::string path = m_home.file("files/" + name);
        test::writeFileBytes(path, std::string(bytes.begin(), bytes.end()));
        EXPECT_EQ(buildHelpIndex(path, helpIndexPath(family.helpDirectory(), path)), HelpIndexStatus::Done);
        return path;
    }
    void setViewer(std::string_view command) {
        ASSERT_TRUE(options.settingsFile().putString(kHelpSection, kHelpViewerKey, command));
    }
    std::vector<FrameEvent> boxes() const { return frame.eventsOf(FrameEventKind::MessageBox); }

    ActiveKeymap activeKeymap;
    PrefixKeyList prefixes;
    test::FakeProcessLauncher launcher;
    FakeManualPages manuals;
    HelpCommands family;
};

TEST_F(QuickHelpTest, TheWordAtTheCursorOpensItsOnlyHitInTheViewer) {
    std::string clib = installHelp("CLIB.HLP", HelpFileLayout{});
    setViewer("helpview %f %k");
    setLines({"    printf(\"%d\", x);"});
    place(0, 6);
    EXPECT_EQ(family.run(functionIdOf("HelpQuickHelp")), 1);
    ASSERT_EQ(launcher.requests().size(), 1u);
    EXPECT_EQ(launcher.requests()[0].commandLine.find("helpview"), 0u);
    EXPECT_NE(launcher.requests()[0].commandLine.find(clib), std::string::npos);
    EXPECT_NE(launcher.requests()[0].commandLine.find("printf"), std::string::npos);
    EXPECT_TRUE(manuals.asked.empty());
}

// The word of a UTF-8 document is looked up as the Windows-1252 index holds it, and reaches the
// viewer as UTF-8.
TEST_F(QuickHelpTest, ANonAsciiWordOfAUtf8DocumentFindsItsWindows1252Keyword) {
    HelpFileLayout layout;
    layout.keywordPages = {{"caf\xE9"}};
    const std::string help = installHelp("FR.HLP", layout);
    setViewer("helpview %f %k");
    const struct {
        const char* line;
        TextEncoding encoding;
    } cases[] = {{"un caf\xC3\xA9 noir", TextEncoding::Utf8}, {"un caf\xE9 noir", TextEncoding::Windows1252}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        setLines({c.line});
        doc().setEncoding(c.encoding);
        place(0, 4);
        const std::size_t before = launcher.requests().size();
        EXPECT_EQ(family.run(functionIdOf("HelpQuickHelp")), 1);
        ASSERT_EQ(launcher.requests().size(), before + 1);
        const std::string& commandLine = launcher.requests().back().commandLine;
        EXPECT_NE(commandLine.find("caf\xC3\xA9"), std::string::npos) << commandLine;
    }
}

TEST_F(QuickHelpTest, SeveralHitsAreOfferedToPickFrom) {
    installHelp("CLIB.HLP", HelpFileLayout{});
    HelpFileLayout other;
    other.title = "POSIX Reference";
    std::string posix = installHelp("POSIX.HLP", other);
    setViewer("helpview %f %k");
    setLines({"printf"});
    std::vector<std::string> offered;
    frame.scriptNextDialog([&](DialogModel& model) {
        auto& dialog = dynamic_cast<QuickHelpDialog&>(model);
        EXPECT_EQ(dialog.title(), "Quick Help");
        for (const HelpHit& hit : dialog.hits()) {
            offered.push_back(hit.title);
        }
        dialog.select(1);
        return dialog.accept() ? DialogResult::Accepted : DialogResult::Cancelled;
    });
    EXPECT_EQ(family.run(functionIdOf("HelpQuickHelp")), 1);
    EXPECT_EQ(offered, (std::vector<std::string>{"Library Reference", "POSIX Reference"}));
    ASSERT_EQ(launcher.requests().size(), 1u);
    EXPECT_NE(launcher.requests()[0].commandLine.find(posix), std::string::npos);
}

TEST_F(QuickHelpTest, WithoutAHitTheManualPageAnswersAndTheStatusLineSaysSo) {
    installHelp("CLIB.HLP", HelpFileLayout{});
    manuals.pages["strlen"] = {"3", "STRLEN(3)  text of the page"};
    setLines({"n = strlen(s);"});
    place(0, 6);
    std::string shown;
    frame.scriptNextDialog([&](DialogModel& model) {
        auto& page = dynamic_cast<HelpTextDialog&>(model);
        shown = std::string(page.title()) + ": " + page.text();
        return DialogResult::Accepted;
    });
    EXPECT_EQ(family.run(functionIdOf("HelpQuickHelp")), 1);
    EXPECT_EQ(shown, "strlen(3): STRLEN(3)  text of the page");
    EXPECT_EQ(manuals.askedSections, kManualSections);
    EXPECT_NE(frame.lastStatus().find("manual page strlen(3)"), std::string::npos) << frame.lastStatus();
}

TEST_F(QuickHelpTest, NothingFoundAnywhereGivesTheSearchMessages) {
    struct Case {
        const char* name;
        bool withIndex;
        std::vector<std::string> lines;
        std::string message;
    };
    const Case cases[] = {
        {"no word", true, {"   "}, "No word has been highlighted."},
        {"no hit", true, {"qsortx"}, "Topic 'qsortx' not found."},
        {"no index",
         false,
         {"qsortx"},
         "No 'WinHelp' files are installed. Refer to 'Help | Quick Configuration' menu item for more "
         "details."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::string& index : helpIndexFiles(family.helpDirectory())) {
            fs::remove(family.helpDirectory() + index);
        }
        if (c.withIndex) {
            installHelp("CLIB.HLP", HelpFileLayout{});
        }
        setLines(c.lines);
        frame.clearEvents();
        EXPECT_EQ(family.run(functionIdOf("HelpQuickHelp")), 0);
        ASSERT_FALSE(statuses().empty());
        EXPECT_EQ(statuses().back().text, c.message);
        EXPECT_EQ(statuses().back().sound, platform::SoundKind::Exclamation);
    }
    EXPECT_TRUE(launcher.requests().empty());
}

TEST_F(QuickHelpTest, WithoutAViewerTheHitIsDescribedWithHowToSetOneUp) {
    if (!family.viewerCommand().empty()) {
        GTEST_SKIP() << "a help viewer is installed on this machine";
    }
    std::string clib = installHelp("CLIB.HLP", HelpFileLayout{});
    setLines({"malloc"});
    EXPECT_EQ(family.run(functionIdOf("HelpQuickHelp")), 1);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_NE(boxes()[0].text.find(clib), std::string::npos);
    EXPECT_NE(boxes()[0].text.find("Keyword: malloc"), std::string::npos);
    EXPECT_NE(boxes()[0].text.find("HelpViewer="), std::string::npos);
}

TEST_F(QuickHelpTest, AViewerThatDoesNotStartIsReported) {
    installHelp("CLIB.HLP", HelpFileLayout{});
    setViewer("helpview %f %k");
    launcher.scriptNext({platform::SpawnResult::FileNotFound});
    setLines({"malloc"});
    EXPECT_EQ(family.run(functionIdOf("HelpQuickHelp")), 0);
    EXPECT_NE(frame.lastStatus().find("Unable to start the help viewer"), std::string::npos);
}

TEST_F(QuickHelpTest, QuickSearchRefusesEmptyKeywordsSearchesNewOnesAndRemembersThem) {
    installHelp("CLIB.HLP", HelpFileLayout{});
    HelpFileLayout other;
    other.title = "POSIX Reference";
    installHelp("POSIX.HLP", other);
    setViewer("helpview %f %k");
    std::vector<std::string> messages;
    frame.scriptNextDialog([&](DialogModel& model) {
        auto& dialog = dynamic_cast<QuickHelpDialog&>(model);
        EXPECT_EQ(dialog.title(), "Quick Search");
        dialog.setKeyword("");
        EXPECT_FALSE(dialog.accept());
        messages.push_back(frame.lastStatus());
        dialog.setKeyword("nosuch");
        EXPECT_FALSE(dialog.accept());
        messages.push_back(frame.lastStatus());
        dialog.setKeyword("mall");
        EXPECT_FALSE(dialog.accept()); // two hits: listed to pick
        EXPECT_EQ(dialog.hits().size(), 2u);
        dialog.select(0);
        return dialog.accept() ? DialogResult::Accepted : DialogResult::Cancelled;
    });
    EXPECT_EQ(family.run(functionIdOf("HelpQuickSearch")), 1);
    EXPECT_EQ(messages,
              (std::vector<std::string>{"No key word has been specified.", "Topic 'nosuch' not found."}));
    ASSERT_EQ(launcher.requests().size(), 1u);
    EXPECT_NE(launcher.requests()[0].commandLine.find("mall"), std::string::npos);

    // The next search dialog starts with the keyword used last.
    std::string remembered;
    frame.scriptNextDialog([&](DialogModel& model) {
        remembered = dynamic_cast<QuickHelpDialog&>(model).keyword();
        return DialogResult::Cancelled;
    });
    EXPECT_EQ(family.run(functionIdOf("HelpQuickSearch")), 0);
    EXPECT_EQ(remembered, "mall");
    EXPECT_TRUE(fs::exists(options.directory(DirectoryKind::Config) + std::string(kQuickHelpHistoryFile)));
}

TEST_F(QuickHelpTest, QuickConfigurationAddsAndRemovesHelpFiles) {
    std::vector<uint8_t> good = HelpFileWriter::build(HelpFileLayout{});
    HelpFileLayout badSpec;
    badSpec.magic = 1;
    std::vector<uint8_t> bad = HelpFileWriter::build(badSpec);
    HelpFileLayout noKeywordsSpec;
    noKeywordsSpec.withKeywords = false;
    std::vector<uint8_t> noKeywords = HelpFileWriter::build(noKeywordsSpec);
    std::string files = m_home.file("files");
    fs::create_directories(files + "/sub");
    test::writeFileBytes(files + "/clib.hlp", std::string(good.begin(), good.end()));
    test::writeFileBytes(files + "/bad.hlp", std::string(bad.begin(), bad.end()));
    test::writeFileBytes(files + "/NOKW.HLP", std::string(noKeywords.begin(), noKeywords.end()));
    test::writeFileBytes(files + "/notes.txt", "not help");

    std::vector<std::string> errors;
    QuickSetupDialog dialog(family.helpDirectory(), files,
                            [&](std::string_view text, std::string_view title) {
                                errors.push_back(std::string(title) + ": " + std::string(text));
                            });
    using Entry = QuickSetupDialog::Entry;
    EXPECT_EQ(
        dialog.files(),
        (std::vector<Entry>{
            {"..", true}, {"sub", true}, {"NOKW.HLP", false}, {"bad.hlp", false}, {"clib.hlp", false}}));
    EXPECT_TRUE(dialog.installed().empty());

    EXPECT_FALSE(dialog.add("bad.hlp"));
    EXPECT_FALSE(dialog.add("NOKW.HLP"));
    EXPECT_TRUE(dialog.add("clib.hlp"));
    EXPECT_EQ(errors,
              (std::vector<std::string>{
                  "Vexa Error: Error processing 'BAD.HLP' help file.\nUnknown help file format.",
                  "Vexa Error: Error processing 'NOKW.HLP' help file.\nNo index information found in the "
                  "selected help file.",
              }));
    EXPECT_EQ(dialog.installed(), std::vector<std::string>{"clib.hlp"});
    EXPECT_TRUE(fs::exists(family.helpDirectory() + "clib.ZIX"));

    EXPECT_TRUE(dialog.remove("clib.hlp"));
    EXPECT_TRUE(dialog.installed().empty());
    EXPECT_FALSE(dialog.remove("clib.hlp"));
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_NE(errors[2].find("This file is probably read only!"), std::string::npos);

    EXPECT_TRUE(dialog.enterDirectory("sub"));
    EXPECT_EQ(dialog.currentDirectory(), files + "/sub/");
    EXPECT_TRUE(dialog.enterDirectory(".."));
    EXPECT_EQ(dialog.currentDirectory(), files + "/");
    EXPECT_FALSE(dialog.enterDirectory("missing"));
}

TEST_F(QuickHelpTest, HelpOnKeysListsTheActiveKeymapWithItsPrefixTables) {
    auto keymap = std::make_unique<Keymap>();
    ASSERT_EQ(keymap->bind(kNoPrefix, {0x51, 4, functionIdOf("HelpQuickHelp")}), BindResult::Bound); // Alt+Q
    ASSERT_EQ(keymap->bind(kNoPrefix, {0x4B, 2, kPrefixAccepted}), BindResult::Bound);               // Ctrl+K
    ASSERT_EQ(keymap->bind({0x4B, 2}, {0x42, 0, functionIdOf("MarkLineToggle")}), BindResult::Bound); // B
    activeKeymap.replace(std::move(keymap));
    prefixes.addFromText("BlockKey 75 2\n");
    std::string shown;
    frame.scriptNextDialog([&](DialogModel& model) {
        auto& page = dynamic_cast<HelpTextDialog&>(model);
        EXPECT_EQ(page.title(), "Help on Keys");
        shown = page.text();
        return DialogResult::Accepted;
    });
    EXPECT_EQ(family.run(functionIdOf("HelpKeys")), 1);
    EXPECT_EQ(shown, "Key bindings of the active keymap\n"
                     "\n"
                     "Keys\n"
                     "  Alt+Q                 HelpQuickHelp\n"
                     "  Ctrl+K                (prefix key: its keys are listed below)\n"
                     "\n"
                     "After Ctrl+K (prefix BlockKey)\n"
                     "  B                     MarkLineToggle\n");
}

TEST_F(QuickHelpTest, TheGuideOpensAtItsStartOrAtTheHelpSection) {
    struct Case {
        FunctionId function;
        std::string section;
    };
    const Case cases[] = {{functionIdOf("HelpIndex"), ""},
                          {functionIdOf("HelpUsing"), std::string(kGuideHelpSection)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        const HelpTextDialog* seen = nullptr;
        std::string section;
        frame.scriptNextDialog([&](DialogModel& model) {
            seen = dynamic_cast<HelpTextDialog*>(&model);
            if (seen != nullptr) {
                section = seen->section();
                EXPECT_EQ(seen->format(), HelpTextDialog::Format::Markdown);
                EXPECT_EQ(seen->text(), userGuideText());
            }
            return DialogResult::Accepted;
        });
        EXPECT_EQ(family.run(c.function), 1);
        EXPECT_NE(seen, nullptr);
        EXPECT_EQ(section, c.section);
    }
    // The guide holds every section a reader is sent to.
    for (std::string_view heading : {kGuideHelpSection, kGuideSearchSection}) {
        EXPECT_NE(userGuideText().find("## " + std::string(heading) + "\n"), std::string_view::npos)
            << heading;
    }
    EXPECT_TRUE(userGuideText().starts_with("# Vexa User Guide"));
}

} // namespace
} // namespace vexa::aids
