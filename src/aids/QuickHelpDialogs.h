// The Quick Help dialogs: the hit list (also the Quick Search dialog with its keyword field), the
// Quick Configuration dialog that installs help files, and a read-only text page.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "aids/HelpIndex.h"
#include "frame/DialogModel.h"
#include "settings/HistoryFile.h"

namespace vexa::aids {

inline constexpr std::string_view kQuickHelpHistoryFile = "VexaHlp.his";

// The hits of one keyword to pick from. In search mode the keyword is typed into an editable
// field remembered in the history file; OK then searches a new keyword before it accepts a hit.
class QuickHelpDialog final : public DialogModel {
public:
    using Search = std::function<HelpSearchResult(std::string_view keyword)>;
    // Reports a message to the user (the status line with a beep).
    using Report = std::function<void(std::string_view message)>;

    // The pick list of a finished search.
    QuickHelpDialog(std::string keyword, HelpSearchResult result);
    // The search dialog; its history is read from historyPath.
    QuickHelpDialog(Search search, Report report, std::string historyPath);

    std::string_view title() const override { return m_searchMode ? "Quick Search" : "Quick Help"; }
    static constexpr std::string_view kListLabel = "Referenced in these help files:";

    bool searchMode() const { return m_searchMode; }
    const std::string& keyword() const { return m_keyword; }
    void setKeyword(std::string keyword) { m_keyword = std::move(keyword); }
    const std::vector<std::string>& history() const { return m_history.entries(); }

    const std::vector<HelpHit>& hits() const { return m_hits; }
    std::optional<std::size_t> selected() const { return m_selected; }
    void select(std::size_t index);

    // The OK button: true when the dialog may close with the selected hit. In search mode an
    // empty keyword is refused and a keyword not searched yet is searched (the list refilled).
    bool accept();
    // The keyword the hits belong to.
    const std::string& searchedKeyword() const { return m_searched; }
    // Writes the keyword history; false when it could not be written.
    [[nodiscard]] bool saveHistory() const;

private:
    bool m_searchMode = false;
    Search m_search;
    Report m_report;
    std::string m_historyPath;
    HistoryFile m_history;
    std::string m_keyword;
    std::string m_searched;
    std::vector<HelpHit> m_hits;
    std::optional<std::size_t> m_selected;
};

// The message of a search that found nothing to show; empty for a hit.
std::string quickHelpSearchMessage(HelpSearchCode code, std::string_view keyword);

// Installs and removes help files. The left list holds the directories and help files of the
// current directory, the right one the installed help files (one per index file).
class QuickSetupDialog final : public DialogModel {
public:
    // Shows an error box: the text and its title.
    using ErrorBox = std::function<void(std::string_view text, std::string_view title)>;

    QuickSetupDialog(std::string helpDirectory, std::string currentDirectory, ErrorBox errorBox);

    std::string_view title() const override { return "Quick Configuration"; }

    struct Entry {
        std::string name;
        bool directory = false;
        friend bool operator==(const Entry&, const Entry&) = default;
    };
    const std::string& currentDirectory() const { return m_current; }
    // Directories first (".." when there is a parent), then "*.hlp" files, each sorted by name.
    const std::vector<Entry>& files() const { return m_files; }
    // Changes into a directory of the left list (a double click); false when it cannot be read.
    bool enterDirectory(std::string_view name);
    // The installed help files: each index file's name with ".hlp", in lower case.
    const std::vector<std::string>& installed() const { return m_installed; }

    // Add: builds the index of a help file of the left list; false (after the error box) on failure.
    bool add(std::string_view helpFile);
    // Remove: deletes the index of an installed entry; false (after the error box) on failure.
    bool remove(std::string_view installedName);

private:
    void refresh();

    std::string m_helpDirectory;
    std::string m_current;
    ErrorBox m_errorBox;
    std::vector<Entry> m_files;
    std::vector<std::string> m_installed;
};

// A read-only page with its title: plain text (a manual page, the key list) or Markdown (the
// user guide), shown from its start or from a section heading.
class HelpTextDialog final : public DialogModel {
public:
    enum class Format : uint8_t { Plain, Markdown };

    HelpTextDialog(std::string title, std::string text, Format format = Format::Plain,
                   std::string section = {})
        : m_title(std::move(title)), m_text(std::move(text)), m_format(format),
          m_section(std::move(section)) {}
    std::string_view title() const override { return m_title; }
    const std::string& text() const { return m_text; }
    Format format() const { return m_format; }
    // The heading text to show first; empty: the start.
    const std::string& section() const { return m_section; }

private:
    std::string m_title;
    std::string m_text;
    Format m_format = Format::Plain;
    std::string m_section;
};

} // namespace vexa::aids
