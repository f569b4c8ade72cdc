// The Search and Replace editor functions.
#include "commands/SearchCommands.h"

#include <algorithm>
#include <array>
#include <memory>

#include "commands/CommandProcessor.h"
#include "commands/EditPane.h"
#include "commands/SearchDialogBridge.h"
#include "commands/SearchPaneAdapter.h"
#include "frame/Frame.h"
#include "search/SearchActions.h"
#include "search/SearchState.h"
#include "settings/Options.h"

namespace vexa {

namespace {

constexpr FunctionId kSearchDialog = functionIdOf("SearchDialog");
constexpr FunctionId kSearchNext = functionIdOf("SearchNext");
constexpr FunctionId kSearchPrevious = functionIdOf("SearchPrevious");
constexpr FunctionId kSearchForward = functionIdOf("SearchForward");
constexpr FunctionId kSearchReverse = functionIdOf("SearchReverse");
constexpr FunctionId kSearchWordCurrent = functionIdOf("SearchWordCurrent");
constexpr FunctionId kReplaceDialog = functionIdOf("ReplaceDialog");
constexpr FunctionId kReplaceNext = functionIdOf("ReplaceNext");
constexpr FunctionId kReplacePrevious = functionIdOf("ReplacePrevious");
constexpr FunctionId kReplaceForward = functionIdOf("ReplaceForward");
constexpr FunctionId kReplaceReverse = functionIdOf("ReplaceReverse");
constexpr FunctionId kReplaceWordCurrent = functionIdOf("ReplaceWordCurrent");

// The four switches, each a Set, Reset, Toggle run of identifiers.
constexpr FunctionId kCaseSet = functionIdOf("SearchCaseSet");
constexpr FunctionId kWordSet = functionIdOf("SearchWordSet");
constexpr FunctionId kDirectionSet = functionIdOf("SearchDirectionSet");
constexpr FunctionId kRegexpSet = functionIdOf("SearchRegexpSet");

static_assert(functionIdOf("SearchCaseToggle") == kCaseSet + 2);
static_assert(functionIdOf("SearchWordToggle") == kWordSet + 2);
static_assert(functionIdOf("SearchDirectionToggle") == kDirectionSet + 2);
static_assert(functionIdOf("SearchRegexpToggle") == kRegexpSet + 2);

constexpr std::array<FunctionId, 12> kIds = {
    kSearchDialog,  kSearchNext,  kSearchPrevious,  kSearchForward,  kSearchReverse,  kSearchWordCurrent,
    kReplaceDialog, kReplaceNext, kReplacePrevious, kReplaceForward, kReplaceReverse, kReplaceWordCurrent,
};

bool inSwitch(FunctionId id, FunctionId set) {
    return id >= set && id <= set + 2;
}

bool isSwitch(FunctionId id) {
    return inSwitch(id, kCaseSet) || inSwitch(id, kWordSet) || inSwitch(id, kDirectionSet) ||
           inSwitch(id, kRegexpSet);
}

} // namespace

bool SearchCommands::claims(FunctionId id) {
    return isSwitch(id) || std::find(kIds.begin(), kIds.end(), id) != kIds.end();
}

void SearchCommands::openDialog(SearchDialogKind kind) {
    Frame& frame = m_processor.frame();
    frame.closeSearchDialog();
    frame.showSearchDialog(std::make_unique<SearchDialogBridge>(
        m_processor, m_state, kind, m_processor.options().directory(DirectoryKind::Config)));
}

int32_t SearchCommands::runSwitch(FunctionId id) {
    SearchActions actions(m_state, m_messenger);
    const auto change = [id](FunctionId set) { return static_cast<OptionChange>(id - set); };
    if (inSwitch(id, kCaseSet)) {
        actions.changeCaseCheck(change(kCaseSet));
    } else if (inSwitch(id, kWordSet)) {
        actions.changeWholeWord(change(kWordSet));
    } else if (inSwitch(id, kDirectionSet)) {
        actions.changeDirection(change(kDirectionSet));
    } else {
        actions.changeRegularExpression(change(kRegexpSet));
    }
    return 1;
}

int32_t SearchCommands::run(FunctionId id) {
    EditPane* active = m_processor.pane();
    if (active == nullptr) {
        return 1;
    }
    if (isSwitch(id)) {
        return runSwitch(id);
    }
    SearchActions actions(m_state, m_messenger);
    SearchPaneAdapter pane(active);
    switch (id) {
    case kSearchNext:
        (void)actions.searchNext(pane);
        break;
    case kSearchPrevious:
        (void)actions.searchPrevious(pane);
        break;
    case kReplaceNext:
        (void)actions.replaceNext(pane);
        break;
    case kReplacePrevious:
        (void)actions.replacePrevious(pane);
        break;
    case kSearchForward:
    case kReplaceForward:
        m_state.setForward(true);
        break;
    case kSearchReverse:
    case kReplaceReverse:
        m_state.setForward(false);
        break;
    case kSearchWordCurrent:
    case kReplaceWordCurrent:
        (void)actions.takeFindTextFromDocument(active->document());
        break;
    default:
        break;
    }
    switch (id) {
    case kSearchDialog:
    case kSearchForward:
    case kSearchReverse:
    case kSearchWordCurrent:
        openDialog(SearchDialogKind::Find);
        break;
    case kReplaceDialog:
    case kReplaceForward:
    case kReplaceReverse:
    case kReplaceWordCurrent:
        openDialog(SearchDialogKind::Replace);
        break;
    default:
        break;
    }
    return 1;
}

} // namespace vexa
