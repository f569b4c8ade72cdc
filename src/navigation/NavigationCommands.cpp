// The navigation functions.
#include "navigation/NavigationCommands.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <strings.h>

#include "toolchain/ErrorLineParser.h"
#include "toolchain/FileLocator.h"
#include "toolchain/OutputWindows.h"
#include "toolchain/PathParts.h"
#include "commands/CommandProcessor.h"
#include "commands/DocumentWindows.h"
#include "commands/EditPane.h"
#include "core/Document.h"
#include "frame/Frame.h"
#include "navigation/NavigationDialogs.h"
#include "platform/Files.h"
#include "platform/KeyState.h"
#include "search/SearchBudget.h"
#include "settings/Format.h"
#include "settings/Options.h"
#include "settings/SettingsFile.h"

namespace vexa::navigation {
namespace {

constexpr std::array kIds{
    functionIdOf("FunctionFindNext"),   functionIdOf("FunctionFindPrevious"),
    functionIdOf("FunctionFindAll"),    functionIdOf("BraceMatch"),
    functionIdOf("BraceMatchForward"),  functionIdOf("BraceMatchReverse"),
    functionIdOf("BookMarkDrop0"),      functionIdOf("BookMarkDrop1"),
    functionIdOf("BookMarkDrop2"),      functionIdOf("BookMarkDrop3"),
    functionIdOf("BookMarkDrop4"),      functionIdOf("BookMarkDrop5"),
    functionIdOf("BookMarkDrop6"),      functionIdOf("BookMarkDrop7"),
    functionIdOf("BookMarkDrop8"),      functionIdOf("BookMarkDrop9"),
    functionIdOf("BookMarkGoto0"),      functionIdOf("BookMarkGoto1"),
    functionIdOf("BookMarkGoto2"),      functionIdOf("BookMarkGoto3"),
    functionIdOf("BookMarkGoto4"),      functionIdOf("BookMarkGoto5"),
    functionIdOf("BookMarkGoto6"),      functionIdOf("BookMarkGoto7"),
    functionIdOf("BookMarkGoto8"),      functionIdOf("BookMarkGoto9"),
    functionIdOf("BookMarkGoto"),       functionIdOf("LineGoto"),
    functionIdOf("FileOpenInLine"),     functionIdOf("FileListDisplay"),
    functionIdOf("FileListAssociates"), functionIdOf("BookMarkToggle"),
    functionIdOf("BookMarkNext"),       functionIdOf("BookMarkPrevious"),
};

constexpr std::array kDrops{
    functionIdOf("BookMarkDrop0"), functionIdOf("BookMarkDrop1"), functionIdOf("BookMarkDrop2"),
    functionIdOf("BookMarkDrop3"), functionIdOf("BookMarkDrop4"), functionIdOf("BookMarkDrop5"),
    functionIdOf("BookMarkDrop6"), functionIdOf("BookMarkDrop7"), functionIdOf("BookMarkDrop8"),
    functionIdOf("BookMarkDrop9"),
};
constexpr std::array kGotos{
    functionIdOf("BookMarkGoto0"), functionIdOf("BookMarkGoto1"), functionIdOf("BookMarkGoto2"),
    functionIdOf("BookMarkGoto3"), functionIdOf("BookMarkGoto4"), functionIdOf("BookMarkGoto5"),
    functionIdOf("BookMarkGoto6"), functionIdOf("BookMarkGoto7"), functionIdOf("BookMarkGoto8"),
    functionIdOf("BookMarkGoto9"),
};

constexpr auto kInformation = platform::SoundKind::Information;
constexpr std::size_t kSettingSize = 32;

int slotOf(const auto& ids, FunctionId id) {
    const auto it = std::find(ids.begin(), ids.end(), id);
    return it == ids.end() ? -1 : static_cast<int>(it - ids.begin());
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::string functionEntry(int line, std::string_view matched) {
    std::string text(matched);
    std::replace(text.begin(), text.end(), '\t', ' ');
    char number[16];
    std::snprintf(number, sizeof number, " %5.5d: ", line);
    return number + text;
}

BraceMatch matchBrace(const Document& document, int line, int index, BraceDirection direction,
                      std::size_t budget) {
    const std::string_view opens = Document::kOpenBraces;
    const std::string_view closes = Document::kCloseBraces;
    const std::string_view text = document.lineText(line);
    if (index < 0 || index >= static_cast<int>(text.size())) {
        return {};
    }
    const char c = text[index];
    const std::size_t open = opens.find(c);
    const std::size_t close = closes.find(c);
    if (open == std::string_view::npos && close == std::string_view::npos) {
        return {};
    }
    const bool forward = open != std::string_view::npos;
    if ((direction == BraceDirection::Forward && !forward) ||
        (direction == BraceDirection::Reverse && forward)) {
        return {BraceResult::WrongDirection, line, index};
    }
    const char partner = forward ? closes[open] : opens[close];
    int depth = 0;
    const int last = document.lineCount() - 1;
    if (forward) {
        for (int at = line; at <= last; ++at) {
            const std::string_view chars = document.lineText(at);
            // Each line costs one byte too, so that empty lines cannot make a bounded search long.
            if (budget-- == 0) {
                return {BraceResult::NotFound, line, index};
            }
            for (std::size_t i = at == line ? static_cast<std::size_t>(index) + 1 : 0; i < chars.size();
                 ++i) {
                if (budget-- == 0) {
                    return {BraceResult::NotFound, line, index};
                }
                if (chars[i] == partner) {
                    if (depth == 0) {
                        return {BraceResult::Found, at, static_cast<int>(i)};
                    }
                    --depth;
                } else if (chars[i] == c) {
                    ++depth;
                }
            }
        }
    } else {
        for (int at = std::min(line, last); at >= 0; --at) {
            const std::string_view chars = document.lineText(at);
            // Each line costs one byte too, so that empty lines cannot make a bounded search long.
            if (budget-- == 0) {
                return {BraceResult::NotFound, line, index};
            }
            for (std::size_t i = at == line ? static_cast<std::size_t>(index) : chars.size(); i-- > 0;) {
                if (budget-- == 0) {
                    return {BraceResult::NotFound, line, index};
                }
                if (chars[i] == partner) {
                    if (depth == 0) {
                        return {BraceResult::Found, at, static_cast<int>(i)};
                    }
                    --depth;
                } else if (chars[i] == c) {
                    ++depth;
                }
            }
        }
    }
    return {BraceResult::NotFound, line, index};
}

std::optional<BracePair> bracePairAt(const Document& document, int line, int offset, std::size_t budget) {
    if (line < 0 || line >= document.lineCount()) {
        return std::nullopt;
    }
    const std::string_view text = document.lineText(line);
    constexpr std::string_view kShown = "()[]{}";
    for (const int at : {offset, offset - 1}) {
        if (at < 0 || at >= static_cast<int>(text.size()) ||
            kShown.find(text[at]) == std::string_view::npos) {
            continue;
        }
        const BraceMatch match = matchBrace(document, line, at, BraceDirection::Either, budget);
        if (match.result == BraceResult::Found) {
            return BracePair{line, at, match.line, match.index};
        }
        return std::nullopt;
    }
    return std::nullopt;
}

std::vector<std::string> associatedFiles(const std::string& directory, std::string_view base,
                                         std::string_view ownName) {
    std::vector<std::string> names;
    for (const platform::FoundFile& found : platform::findFiles(directory + std::string(base) + ".*")) {
        if (!sameIgnoringCase(found.name, ownName)) {
            names.push_back(found.name);
        }
    }
    std::sort(names.begin(), names.end());
    if (names.size() > kMaxAssociates) {
        names.resize(kMaxAssociates);
    }
    return names;
}

NavigationCommands::NavigationCommands(CommandProcessor& processor, toolchain::OutputWindows& outputs,
                                       platform::KeyState& keys)
    : m_processor(processor), m_outputs(outputs), m_keys(keys) {}

bool NavigationCommands::claims(FunctionId id) const {
    return std::find(kIds.begin(), kIds.end(), id) != kIds.end();
}

int32_t NavigationCommands::run(FunctionId id) {
    if (id == functionIdOf("FileListDisplay")) {
        return listDocuments();
    }
    if (m_processor.document() == nullptr) {
        m_processor.showStatus(kNoActiveDocument);
        return 0;
    }
    if (const int slot = slotOf(kDrops, id); slot >= 0) {
        return dropBookmark(slot);
    }
    if (const int slot = slotOf(kGotos, id); slot >= 0) {
        return gotoBookmark(slot, false);
    }
    switch (id) {
    case functionIdOf("FunctionFindNext"):
        return findNext(+1);
    case functionIdOf("FunctionFindPrevious"):
        return findNext(-1);
    case functionIdOf("FunctionFindAll"):
        return findAll();
    case functionIdOf("BraceMatch"):
        return braceMatch(BraceDirection::Either);
    case functionIdOf("BraceMatchForward"):
        return braceMatch(BraceDirection::Forward);
    case functionIdOf("BraceMatchReverse"):
        return braceMatch(BraceDirection::Reverse);
    case functionIdOf("BookMarkGoto"):
        return bookmarkDialog();
    case functionIdOf("BookMarkToggle"):
        return toggleBookmark();
    case functionIdOf("BookMarkNext"):
        return nextBookmark(+1);
    case functionIdOf("BookMarkPrevious"):
        return nextBookmark(-1);
    case functionIdOf("LineGoto"):
        return lineDialog();
    case functionIdOf("FileOpenInLine"):
        return openInLine();
    case functionIdOf("FileListAssociates"):
        return listAssociates();
    default:
        return 0;
    }
}

// ---- function scanning ----

NavigationCommands::LineMatch NavigationCommands::scanLine(const Document& document, int line,
                                                           SearchBudget& budget) {
    // The key state sees the pending events by itself, without letting other input through.
    if (line % kEscapePollLines == 0 && line != 0) {
        if (m_keys.wasPressed(platform::kKeyEscape)) {
            return LineMatch::Cancelled;
        }
    }
    const std::string_view text = document.lineText(line);
    m_matcher.setCaseMode(RegexMatcher::kIgnoreCase);
    const std::string& user = m_processor.options().regex().functions;
    bool found = false;
    if (!user.empty()) {
        found = m_matcher.match(text, user);
    } else {
        for (std::string_view pattern : kFunctionPatterns) {
            if (m_matcher.match(text, pattern)) {
                found = true;
                break;
            }
        }
    }
    if (budget.cancelled()) {
        return LineMatch::Cancelled;
    }
    return found ? LineMatch::Yes : LineMatch::No;
}

int32_t NavigationCommands::findNext(int direction) {
    Document& document = *m_processor.document();
    Frame& frame = m_processor.frame();
    BusyCursor busy(frame);
    m_processor.showStatus(direction > 0 ? kScanningNext : kScanningPrevious);
    (void)m_keys.wasPressed(platform::kKeyEscape); // a press from before the scan is not for it
    SearchBudget budget(SearchInterruption{&m_processor.clock(), &m_keys, nullptr});
    m_matcher.setWorkLimit(&budget);
    int line = document.cursorLine();
    if (line == m_lastNext || line == m_lastPrevious) {
        line += direction;
    }
    const int last = document.lineCount() - 1;
    line = direction > 0 ? std::min(line, last + 1) : std::min(line, last);
    std::optional<int> found;
    bool cancelled = false;
    for (; line >= 0 && line <= last && !budget.stopped(); line += direction) {
        const LineMatch match = scanLine(document, line, budget);
        if (match == LineMatch::Cancelled) {
            cancelled = true;
            break;
        }
        if (match == LineMatch::Yes) {
            found = line;
            break;
        }
    }
    m_matcher.setWorkLimit(nullptr);
    if (cancelled) {
        m_processor.showStatus(kScanCancelled, kInformation);
        return 0;
    }
    if (!found) {
        m_processor.showStatus(kNoFunctions, kInformation);
        return 0;
    }
    m_processor.showStatus(functionEntry(*found + 1, m_matcher.matchedText()));
    (direction > 0 ? m_lastNext : m_lastPrevious) = *found;
    document.moveToLine(*found);
    return 1;
}

int32_t NavigationCommands::findAll() {
    Document& document = *m_processor.document();
    Frame& frame = m_processor.frame();
    BusyCursor busy(frame);
    m_processor.showStatus(kScanningAll);
    (void)m_keys.wasPressed(platform::kKeyEscape);
    SearchBudget budget(SearchInterruption{&m_processor.clock(), &m_keys, nullptr});
    m_matcher.setWorkLimit(&budget);
    toolchain::OutputWindow* window = nullptr;
    bool cancelled = false;
    int count = 0;
    for (int line = 0; line < document.lineCount() && !budget.stopped(); ++line) {
        const LineMatch match = scanLine(document, line, budget);
        if (match == LineMatch::Cancelled) {
            cancelled = true;
            break;
        }
        if (match == LineMatch::Yes) {
            if (window == nullptr) {
                window = &m_outputs.compiler();
                window->clear();
                window->setRun(std::string(toolchain::splitPath(document.fileName()).location()),
                               document.fileName());
            }
            window->addLine(functionEntry(line + 1, m_matcher.matchedText()),
                            toolchain::OutputLocation{document.fileName(), line + 1, 0});
            ++count;
            if (window->lineCount() >= toolchain::OutputWindow::kMaxLines) {
                break; // the window is full and says so in its last line
            }
        }
    }
    m_matcher.setWorkLimit(nullptr);
    if (cancelled) {
        if (window == nullptr) {
            window = &m_outputs.compiler();
            window->clear();
        }
        window->addLine(kScanCancelled);
        m_processor.showStatus(kScanCancelled, kInformation);
    }
    if (window != nullptr) {
        m_outputs.linesChanged(toolchain::OutputKind::Compiler);
        m_outputs.show(toolchain::OutputKind::Compiler);
    }
    if (count == 0 && !cancelled) {
        m_processor.showStatus(kNoFunctions, kInformation);
        return 0;
    }
    return count > 0 ? 1 : 0;
}

// ---- braces ----

int32_t NavigationCommands::braceMatch(BraceDirection direction) {
    Document& document = *m_processor.document();
    const BraceMatch match = matchBrace(document, document.cursorLine(), document.cursorOffset(), direction);
    switch (match.result) {
    case BraceResult::Found:
        document.goToLine(match.line);
        document.setCursorOffset(match.index);
        m_processor.showStatus(kBraceFound);
        break;
    case BraceResult::NotFound:
        m_processor.showStatus(kBraceNotFound, kInformation);
        break;
    case BraceResult::WrongDirection:
        m_processor.showStatus(direction == BraceDirection::Forward ? kForwardFromEnd : kReverseFromStart,
                               kInformation);
        break;
    case BraceResult::NotABrace:
        m_processor.showStatus(kNotABrace, kInformation);
        break;
    }
    return static_cast<int32_t>(match.result);
}

// ---- bookmarks and lines ----

int32_t NavigationCommands::dropBookmark(int slot) {
    Document& document = *m_processor.document();
    document.bookmarks()[static_cast<std::size_t>(slot)] = document.cursorLine();
    m_processor.showStatus(formatText(kBookmarkDropped, slot));
    return 1;
}

int32_t NavigationCommands::gotoBookmark(int slot, bool fromDialog) {
    Document& document = *m_processor.document();
    if (slot < 0 || slot >= Document::kBookmarkCount) {
        m_processor.showStatus(kBookmarkRange, kInformation);
        return 0;
    }
    const int line = document.bookmarks()[static_cast<std::size_t>(slot)];
    if (line < 0) {
        m_processor.showStatus(kNoBookmark, kInformation);
        return 0;
    }
    document.goToPosition(bookmarkLine(document, line), 0);
    if (!fromDialog) {
        m_processor.showStatus(formatText(kAtBookmark, slot));
    }
    return 1;
}

int32_t NavigationCommands::toggleBookmark() {
    Document& document = *m_processor.document();
    auto& bookmarks = document.bookmarks();
    const int line = document.cursorLine();
    int cleared = -1;
    for (int slot = 0; slot < Document::kBookmarkCount; ++slot) {
        int& marked = bookmarks[static_cast<std::size_t>(slot)];
        if (marked >= 0 && bookmarkLine(document, marked) == line) {
            marked = -1;
            cleared = cleared < 0 ? slot : cleared;
        }
    }
    if (cleared >= 0) {
        m_processor.showStatus(formatText(kBookmarkCleared, cleared));
        return 1;
    }
    const auto free = std::find(bookmarks.begin(), bookmarks.end(), -1);
    if (free == bookmarks.end()) {
        m_processor.showStatus(kBookmarksFull, kInformation);
        return 0;
    }
    return dropBookmark(static_cast<int>(free - bookmarks.begin()));
}

int32_t NavigationCommands::nextBookmark(int direction) {
    Document& document = *m_processor.document();
    const int line = document.cursorLine();
    // The nearest bookmarked line past the cursor line in the direction, else the farthest one
    // the other way (the search wraps round). Lines compare in the direction's order.
    const auto before = [direction](int a, int b) { return direction > 0 ? a < b : a > b; };
    int nearest = -1;
    int nearestSlot = -1;
    int wrapped = -1;
    int wrappedSlot = -1;
    for (int slot = 0; slot < Document::kBookmarkCount; ++slot) {
        const int marked = document.bookmarks()[static_cast<std::size_t>(slot)];
        if (marked < 0) {
            continue;
        }
        const int at = bookmarkLine(document, marked);
        if (before(line, at) && (nearestSlot < 0 || before(at, nearest))) {
            nearest = at;
            nearestSlot = slot;
        }
        if (wrappedSlot < 0 || before(at, wrapped)) {
            wrapped = at;
            wrappedSlot = slot;
        }
    }
    if (wrappedSlot < 0) {
        m_processor.showStatus(kNoBookmarks, kInformation);
        return 0;
    }
    const bool wraps = nearestSlot < 0;
    document.goToPosition(wraps ? wrapped : nearest, 0);
    m_processor.showStatus(formatText(kAtBookmark, wraps ? wrappedSlot : nearestSlot));
    return 1;
}

int NavigationCommands::bookmarkLine(const Document& document, int marked) {
    return std::min(marked, document.lineCount());
}

void NavigationCommands::centreCursorLine() {
    m_processor.run(functionIdOf("ScrollLinePageCenter"));
}

int32_t NavigationCommands::bookmarkDialog() {
    SettingsFile& settings = m_processor.options().settingsFile();
    NumberDialogModel dialog(std::string(kGotoBookmarkTitle), std::string(kGotoBookmarkLabel),
                             settings.getString("Bookmark", "Number", "", kSettingSize),
                             [&](const std::string& text) {
                                 if (gotoBookmark(leadingNumber(text), true) == 0) {
                                     return false;
                                 }
                                 if (!settings.putString("Bookmark", "Number", text)) {
                                     m_processor.frame().status(settings.errorText(), kInformation);
                                 }
                                 centreCursorLine();
                                 return true;
                             });
    return m_processor.frame().showDialog(dialog) == DialogResult::Accepted ? 1 : 0;
}

int32_t NavigationCommands::lineDialog() {
    SettingsFile& settings = m_processor.options().settingsFile();
    NumberDialogModel dialog(std::string(kGotoLineTitle), std::string(kGotoLineLabel),
                             settings.getString("Goto", "Line", "", kSettingSize),
                             [&](const std::string& text) {
                                 Document& document = *m_processor.document();
                                 // A line not read yet is waited for while the file loads.
                                 const int wanted = leadingNumber(text);
                                 (void)m_processor.waitForLines(wanted - 1);
                                 const int count = std::max(document.lineCount(), 1);
                                 const int number = std::clamp(wanted, 0, count);
                                 document.moveToLine(std::max(number - 1, 0));
                                 if (!settings.putInteger("Goto", "Line", document.cursorLine() + 1)) {
                                     m_processor.frame().status(settings.errorText(), kInformation);
                                 }
                                 centreCursorLine();
                                 return true;
                             });
    return m_processor.frame().showDialog(dialog) == DialogResult::Accepted ? 1 : 0;
}

// ---- files ----

int32_t NavigationCommands::openInLine() {
    Document& document = *m_processor.document();
    toolchain::ErrorLineParser parser;
    const toolchain::ParsedLine named = parser.fileAndLine(document.lineText(document.cursorLine()));
    if (named.fileName.empty()) {
        m_processor.showStatus(kNoFileInLine, kInformation);
        return 0;
    }
    const std::string directory = toolchain::splitPath(document.fileName()).location();
    EditPane* pane = m_outputs.locateAndOpen(named.fileName, directory, named.line);
    if (pane == nullptr) {
        m_processor.showStatus(formatText(kCannotLocate, named.fileName.c_str()), kInformation);
        return 0;
    }
    m_processor.run(functionIdOf("FileName"));
    return 1;
}

int32_t NavigationCommands::listAssociates() {
    Document& document = *m_processor.document();
    const toolchain::PathParts parts = toolchain::splitPath(document.fileName());
    std::vector<std::string> names;
    if (document.hasName()) {
        names = associatedFiles(parts.location(), parts.base, parts.fileName());
    }
    if (names.empty()) {
        m_processor.showStatus(kNoAssociates, kInformation);
        return 0;
    }
    std::vector<std::string> entries;
    entries.reserve(names.size());
    for (const std::string& name : names) {
        entries.push_back(parts.location() + name);
    }
    ChoiceListModel popup(std::string(kAssociationTitle), entries, std::string(kAssociationHint));
    if (m_processor.frame().showDialog(popup) != DialogResult::Accepted || !popup.chosen()) {
        return 0;
    }
    DocumentWindows* windows = m_processor.windows();
    return windows != nullptr && windows->openDocument(entries[*popup.chosen()]) != nullptr ? 1 : 0;
}

int32_t NavigationCommands::listDocuments() {
    DocumentWindows* windows = m_processor.windows();
    if (windows == nullptr) {
        return 0;
    }
    std::vector<EditPane*> panes = windows->panes();
    std::vector<std::string> entries;
    entries.reserve(panes.size());
    for (EditPane* pane : panes) {
        const Document& document = pane->document();
        entries.push_back(document.hasName() ? document.fileName() : document.namePart());
    }
    ChoiceListModel list(std::string(kDocumentListTitle), entries);
    if (m_processor.frame().showDialog(list) != DialogResult::Accepted || !list.chosen()) {
        return 0;
    }
    const Document& chosen = panes[*list.chosen()]->document();
    if (!chosen.hasName()) {
        m_processor.activatePane(panes[*list.chosen()]);
        return 1;
    }
    return windows->openDocument(chosen.fileName()) != nullptr ? 1 : 0;
}

} // namespace vexa::navigation
