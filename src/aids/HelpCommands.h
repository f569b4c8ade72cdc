// The Help functions: the user guide, the list of the active keymap's keys, and Quick Help, which
// looks the word at the cursor (or a typed keyword) up in the installed help files' indexes, then
// in the system's manual pages, and installs help files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "aids/HelpIndex.h"
#include "commands/CommandFamily.h"

namespace vexa {
class ActiveKeymap;
class CommandProcessor;
class PrefixKeyList;
namespace platform {
class ManualPages;
class ProcessLauncher;
} // namespace platform
} // namespace vexa

namespace vexa {
// The user guide shipped inside the program (Markdown).
std::string_view userGuideText();
} // namespace vexa

namespace vexa::aids {

// The heading of the guide's section on Quick Help, shown by "Using Help".
inline constexpr std::string_view kGuideHelpSection = "Quick Help";
// The section the search dialogs' Help buttons open.
inline constexpr std::string_view kGuideSearchSection = "Search and replace";

// The settings entry naming the help viewer's command line (%f the help file, %k the keyword).
inline constexpr std::string_view kHelpSection = "Help";
inline constexpr std::string_view kHelpViewerKey = "HelpViewer";
// Manual sections searched when no help index knows a word: library calls, then system calls.
inline constexpr std::string_view kManualSections = "3 2 3p";

class HelpCommands final : public CommandFamily {
public:
    HelpCommands(CommandProcessor& processor, const ActiveKeymap& keymap, const PrefixKeyList& prefixes,
                 platform::ProcessLauncher& launcher, platform::ManualPages& manualPages);

    bool claims(FunctionId id) const override;
    int32_t run(FunctionId id) override;

    // The looks-ups behind the functions, for the functions and their tests.
    int32_t quickHelp();
    int32_t quickSearch();
    int32_t quickSetup();
    // Shows the user guide from its start, or from the heading of a section.
    int32_t showGuide(std::string_view section = {});
    int32_t showKeys();

    std::string helpDirectory() const;

    // The command line that shows a help file's keyword: the configured one, else a WinHelp
    // viewer found on the PATH; empty when there is neither.
    std::string viewerCommand() const;

private:
    // Shows the hit in the viewer, or says where it is and how to configure a viewer.
    int32_t show(const HelpHit& hit, std::string_view keyword);
    // Answers from the manual pages when the indexes had no hit; false when there is no page.
    bool showManualPage(std::string_view keyword);
    void report(std::string_view message);
    HelpSearchResult search(std::string_view keyword) const;

    CommandProcessor& m_processor;
    const ActiveKeymap& m_keymap;
    const PrefixKeyList& m_prefixes;
    platform::ProcessLauncher& m_launcher;
    platform::ManualPages& m_manualPages;
};

} // namespace vexa::aids
