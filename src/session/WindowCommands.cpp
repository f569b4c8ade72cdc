// The window-level editor functions.
#include "session/WindowCommands.h"

#include <algorithm>
#include <array>
#include <utility>

#include "commands/CommandProcessor.h"
#include "core/Document.h"
#include "frame/Frame.h"
#include "session/Workspace.h"

namespace vexa {
namespace {

constexpr std::string_view kNothingMarked = "No area is currently marked";

constexpr std::array<std::pair<FunctionId, WindowArrangement>, 8> kArrangements{{
    {functionIdOf("WindowCascade"), WindowArrangement::Cascade},
    {functionIdOf("WindowTile"), WindowArrangement::Tile},
    {functionIdOf("WindowTileVertical"), WindowArrangement::TileVertical},
    {functionIdOf("WindowTileHorizontal"), WindowArrangement::TileHorizontal},
    {functionIdOf("WindowArrange"), WindowArrangement::ArrangeIcons},
    {functionIdOf("WindowRestoreAll"), WindowArrangement::RestoreAll},
    {functionIdOf("WindowMinimizeAll"), WindowArrangement::MinimizeAll},
    {functionIdOf("WindowMaximizeAll"), WindowArrangement::MaximizeAll},
}};

// What accepting a frame dialog changes.
enum class Changes : uint8_t { Nothing, Windows, WindowsAndProfiles };

struct DialogFunction {
    FunctionId id;
    FrameDialog dialog;
    Changes changes;
};

constexpr std::array<DialogFunction, 8> kDialogs{{
    {functionIdOf("OptionsEditor"), FrameDialog::EditorOptions, Changes::Windows},
    {functionIdOf("OptionsFilters"), FrameDialog::FileFilters, Changes::Nothing},
    {functionIdOf("OptionsColors"), FrameDialog::Colours, Changes::Windows},
    {functionIdOf("OptionsKeyboard"), FrameDialog::Keyboard, Changes::Nothing},
    {functionIdOf("OptionsExtension"), FrameDialog::Extensions, Changes::WindowsAndProfiles},
    {functionIdOf("OptionsFont"), FrameDialog::Font, Changes::Windows},
    {functionIdOf("FilePrintSetup"), FrameDialog::PrintSetup, Changes::Nothing},
    {functionIdOf("HelpAbout"), FrameDialog::About, Changes::Nothing},
}};

constexpr std::array kOthers{functionIdOf("WindowCloseAll"), functionIdOf("WindowNext"),
                             functionIdOf("WindowPrevious"), functionIdOf("FilePrint"),
                             functionIdOf("MarkPrint")};

template <typename Table, typename Key>
auto findIn(const Table& table, Key key) {
    return std::find_if(table.begin(), table.end(), [key](const auto& row) { return row.first == key; });
}

const DialogFunction* dialogOf(FunctionId id) {
    auto found = std::find_if(kDialogs.begin(), kDialogs.end(),
                              [id](const DialogFunction& row) { return row.id == id; });
    return found != kDialogs.end() ? &*found : nullptr;
}

} // namespace

bool WindowCommands::claims(FunctionId id) const {
    return findIn(kArrangements, id) != kArrangements.end() || dialogOf(id) != nullptr ||
           std::find(kOthers.begin(), kOthers.end(), id) != kOthers.end();
}

int32_t WindowCommands::run(FunctionId id) {
    if (auto found = findIn(kArrangements, id); found != kArrangements.end()) {
        m_processor.frame().arrangeWindows(found->second);
        return 1;
    }
    if (const DialogFunction* dialog = dialogOf(id)) {
        if (m_processor.frame().showFrameDialog(dialog->dialog) != DialogResult::Accepted) {
            return 0;
        }
        if (dialog->changes != Changes::Nothing) {
            m_workspace.optionsChanged(dialog->changes == Changes::WindowsAndProfiles
                                           ? Workspace::Profiles::ChooseAgain
                                           : Workspace::Profiles::Keep);
        }
        return 1;
    }
    switch (id) {
    case functionIdOf("WindowCloseAll"):
        return m_workspace.closeAll() ? 1 : 0;
    case functionIdOf("WindowNext"):
        m_workspace.activateNext();
        return 1;
    case functionIdOf("WindowPrevious"):
        m_workspace.activatePrevious();
        return 1;
    case functionIdOf("FilePrint"):
    case functionIdOf("MarkPrint"):
        return print(id);
    default:
        return 0;
    }
}

int32_t WindowCommands::print(FunctionId id) {
    const bool marked = id == functionIdOf("MarkPrint");
    const Document* document = m_processor.document();
    if (document == nullptr) {
        m_processor.showStatus(kNoActiveDocument, platform::SoundKind::Information);
        return 0;
    }
    if (marked && !document->hasMark()) {
        m_processor.showStatus(kNothingMarked, platform::SoundKind::Information);
        return 0;
    }
    return m_processor.frame().print(marked ? PrintScope::MarkedLines : PrintScope::Document) > 0 ? 1 : 0;
}

} // namespace vexa
