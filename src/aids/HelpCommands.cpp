// The Quick Help functions on the processor's road.
#include "aids/HelpCommands.h"

#include <algorithm>
#include <array>

#include "aids/KeyBindingList.h"
#include "aids/QuickHelpDialogs.h"
#include "commands/CommandProcessor.h"
#include "commands/WordRules.h"
#include "core/Document.h"
#include "core/MarkedArea.h"
#include "frame/Frame.h"
#include "keyboard/ActiveKeymap.h"
#include "platform/CommandHelpViewer.h"
#include "platform/Environment.h"
#include "platform/Files.h"
#include "platform/ManualPage.h"
#include "settings/Options.h"
#include "text/TextEncoding.h"

namespace vexa::aids {
namespace {

constexpr std::array kIds{
    functionIdOf("HelpIndex"),     functionIdOf("HelpUsing"),       functionIdOf("HelpKeys"),
    functionIdOf("HelpQuickHelp"), functionIdOf("HelpQuickSearch"), functionIdOf("HelpQuickSetup"),
};

// The marked text when the mark lies within one line, otherwise the word at the cursor.
std::string wordAtCursor(CommandProcessor& processor) {
    Document* document = processor.document();
    if (document == nullptr) {
        return {};
    }
    std::string word;
    const MarkState& mark = document->mark();
    if (mark.exists() && mark.firstLine() == mark.lastLine() && mark.type != MarkType::Line) {
        for (const std::string& piece : markedPieces(*document)) {
            word += piece;
        }
    } else if (auto bounds = WordRules(*document).wordUnderCursor()) {
        const std::string_view text = document->currentLine().text();
        if (bounds->start < bounds->end && static_cast<std::size_t>(bounds->end) <= text.size()) {
            word = std::string(text.substr(bounds->start, bounds->end - bounds->start));
        }
    }
    // Surrounding blanks of a marked piece are no part of the keyword.
    std::size_t first = word.find_first_not_of(" \t");
    std::size_t last = word.find_last_not_of(" \t");
    word = first == std::string::npos ? std::string() : word.substr(first, last - first + 1);
    // Keywords, as the indexes and the Quick Search dialog hold them, are Windows-1252; a
    // character it has no form of is kept as UTF-8 and so matches no index.
    if (document->encoding() == TextEncoding::Utf8) {
        word = text::fromUtf8(word, TextEncoding::Windows1252).value_or(word);
    }
    return word;
}

} // namespace

HelpCommands::HelpCommands(CommandProcessor& processor, const ActiveKeymap& keymap,
                           const PrefixKeyList& prefixes, platform::ProcessLauncher& launcher,
                           platform::ManualPages& manualPages)
    : m_processor(processor), m_keymap(keymap), m_prefixes(prefixes), m_launcher(launcher),
      m_manualPages(manualPages) {}

bool HelpCommands::claims(FunctionId id) const {
    return std::find(kIds.begin(), kIds.end(), id) != kIds.end();
}

int32_t HelpCommands::run(FunctionId id) {
    switch (id) {
    case functionIdOf("HelpIndex"):
        return showGuide();
    case functionIdOf("HelpUsing"):
        return showGuide(kGuideHelpSection);
    case functionIdOf("HelpKeys"):
        return showKeys();
    case functionIdOf("HelpQuickHelp"):
        return quickHelp();
    case functionIdOf("HelpQuickSearch"):
        return quickSearch();
    case functionIdOf("HelpQuickSetup"):
        return quickSetup();
    default:
        return 0;
    }
}

int32_t HelpCommands::showGuide(std::string_view section) {
    HelpTextDialog dialog("Vexa User Guide", std::string(userGuideText()), HelpTextDialog::Format::Markdown,
                          std::string(section));
    (void)m_processor.frame().showDialog(dialog);
    return 1;
}

int32_t HelpCommands::showKeys() {
    HelpTextDialog dialog("Help on Keys", keyBindingListText(m_keymap.keymap(), m_prefixes));
    (void)m_processor.frame().showDialog(dialog);
    return 1;
}

std::string HelpCommands::helpDirectory() const {
    return m_processor.options().directory(DirectoryKind::Help);
}

HelpSearchResult HelpCommands::search(std::string_view keyword) const {
    return searchHelpIndexes(helpDirectory(), m_processor.options().homeDirectory(), keyword);
}

void HelpCommands::report(std::string_view message) {
    m_processor.showStatus(message, platform::SoundKind::Exclamation);
}

std::string HelpCommands::viewerCommand() const {
    std::string configured = m_processor.options().settingsFile().getString(kHelpSection, kHelpViewerKey, "",
                                                                            platform::kPathLimit);
    if (configured.find_first_not_of(" \t") != std::string::npos) {
        return configured;
    }
    for (const char* program : {"winhelp", "winhlp32"}) {
        if (auto path = platform::findOnPath(program)) {
            return *path + " -k %k %f";
        }
    }
    return {};
}

int32_t HelpCommands::show(const HelpHit& hit, std::string_view keyword) {
    std::string command = viewerCommand();
    if (!command.empty()) {
        platform::CommandHelpViewer viewer(command, m_launcher);
        // The viewer's arguments are UTF-8 file-system text.
        if (viewer.showKeyword(hit.helpFile, text::toUtf8(keyword, TextEncoding::Windows1252))) {
            return 1;
        }
        report("Unable to start the help viewer '" + command + "'.");
        return 0;
    }
    m_processor.frame().messageBox(
        "Help file: " + hit.helpFile + "\nTitle: " + hit.title + "\nKeyword: " + std::string(keyword) +
            "\n\nNo help viewer is set up. Name one in the settings file, section [" +
            std::string(kHelpSection) + "], as " + std::string(kHelpViewerKey) +
            "=program %f %k (%f stands for the help file, %k for the keyword).",
        "Quick Help");
    return 1;
}

bool HelpCommands::showManualPage(std::string_view keyword) {
    std::optional<platform::ManualPage> page = m_manualPages.find(keyword, kManualSections);
    if (!page) {
        return false;
    }
    std::string name = std::string(keyword) + "(" + page->section + ")";
    m_processor.showStatus("Topic '" + std::string(keyword) +
                           "' is in no help index: showing the manual page " + name + ".");
    HelpTextDialog dialog(name, std::move(page->text));
    (void)m_processor.frame().showDialog(dialog);
    return true;
}

int32_t HelpCommands::quickHelp() {
    std::string word = wordAtCursor(m_processor);
    if (word.empty()) {
        report("No word has been highlighted.");
        return 0;
    }
    HelpSearchResult result = search(word);
    switch (result.code) {
    case HelpSearchCode::OneHit:
        return show(result.hits[result.selected], word);
    case HelpSearchCode::SeveralHits: {
        QuickHelpDialog dialog(word, std::move(result));
        if (m_processor.frame().showDialog(dialog) != DialogResult::Accepted || !dialog.selected()) {
            return 0;
        }
        return show(dialog.hits()[*dialog.selected()], word);
    }
    case HelpSearchCode::NoHit:
    case HelpSearchCode::NoIndex:
        if (showManualPage(word)) {
            return 1;
        }
        report(quickHelpSearchMessage(result.code, word));
        return 0;
    }
    report("Unknown quick help error.");
    return 0;
}

int32_t HelpCommands::quickSearch() {
    std::string history =
        m_processor.options().directory(DirectoryKind::Config) + std::string(kQuickHelpHistoryFile);
    // A keyword no index knows is looked up in the manual pages before the dialog says so.
    bool manualShown = false;
    QuickHelpDialog dialog(
        [this, &manualShown](std::string_view keyword) {
            HelpSearchResult result = search(keyword);
            if ((result.code == HelpSearchCode::NoHit || result.code == HelpSearchCode::NoIndex) &&
                showManualPage(keyword)) {
                manualShown = true;
                result.code = HelpSearchCode::SeveralHits; // nothing more to say
            }
            return result;
        },
        [this](std::string_view message) { report(message); }, history);
    DialogResult closed = m_processor.frame().showDialog(dialog);
    if (!dialog.saveHistory()) {
        report("Unable to write the '" + history + "' file.");
    }
    if (closed != DialogResult::Accepted || !dialog.selected()) {
        return manualShown ? 1 : 0;
    }
    return show(dialog.hits()[*dialog.selected()], dialog.searchedKeyword());
}

int32_t HelpCommands::quickSetup() {
    std::string current = platform::currentDirectory().value_or(m_processor.options().homeDirectory());
    QuickSetupDialog dialog(helpDirectory(), current, [this](std::string_view text, std::string_view title) {
        m_processor.frame().beep(platform::SoundKind::Error);
        m_processor.frame().messageBox(text, title);
    });
    return m_processor.frame().showDialog(dialog) == DialogResult::Accepted ? 1 : 0;
}

} // namespace vexa::aids
