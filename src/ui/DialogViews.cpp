// The table from dialog-model types to their Qt views.
#include "ui/DialogViews.h"

#include <vector>

#include "aids/AidDialogs.h"
#include "aids/QuickHelpDialogs.h"
#include "toolchain/BuildOptionsDialogs.h"
#include "toolchain/ToolDialogs.h"
#include "keyboard/MacroDialogs.h"
#include "navigation/NavigationDialogs.h"
#include "findfiles/FindInFilesDialog.h"
#include "session/ScriptCommands.h"
#include "session/UserInputModel.h"
#include "ui/AidWindows.h"
#include "ui/AutomationWindows.h"
#include "ui/BuildOptionsWindows.h"
#include "ui/FindInFilesWindow.h"
#include "ui/NavigationWindows.h"
#include "ui/QuickHelpWindows.h"

namespace vexa::ui {
namespace {

// The view of one model type, or null when the model is of another type.
template <typename Model, typename View>
std::unique_ptr<QDialog> viewOf(DialogModel& model, QWidget* parent) {
    if (auto* typed = dynamic_cast<Model*>(&model)) {
        return std::make_unique<View>(*typed, parent);
    }
    return nullptr;
}

using ViewMaker = std::unique_ptr<QDialog> (*)(DialogModel&, QWidget*);

// One row per dialog model with a Qt view: &viewOf<TheModel, TheDialog>.
const std::vector<ViewMaker>& viewMakers() {
    static const std::vector<ViewMaker> makers{
        &viewOf<toolchain::CompilerOptionsDialog, CompilerOptionsWindow>,
        &viewOf<toolchain::ProjectOptionsDialog, ProjectOptionsWindow>,
        &viewOf<navigation::NumberDialogModel, NumberDialogWindow>,
        &viewOf<navigation::ChoiceListModel, ChoiceListWindow>,
        &viewOf<findfiles::FindInFilesDialog, FindInFilesWindow>,
        &viewOf<toolchain::ToolOptionsModel, ToolOptionsWindow>,
        &viewOf<toolchain::ProgramArgumentsModel, ProgramArgumentsWindow>,
        &viewOf<toolchain::DosCommandLineModel, DosCommandLineWindow>,
        &viewOf<MacroRepeatModel, MacroRepeatWindow>,
        &viewOf<MacroOptionsModel, MacroOptionsWindow>,
        &viewOf<ExecuteScriptModel, ExecuteScriptWindow>,
        &viewOf<UserInputModel, UserInputWindow>,
        &viewOf<aids::SpellingDialog, SpellingWindow>,
        &viewOf<aids::SpellingOptionsDialog, SpellingOptionsWindow>,
        &viewOf<aids::TemplateOptionsDialog, TemplateOptionsWindow>,
        &viewOf<aids::EditTemplateDialog, EditTemplateWindow>,
        &viewOf<aids::HelpTextDialog, HelpTextWindow>,
        &viewOf<aids::QuickHelpDialog, QuickHelpWindow>,
        &viewOf<aids::QuickSetupDialog, QuickSetupWindow>,
    };
    return makers;
}

} // namespace

std::unique_ptr<QDialog> makeDialogView(DialogModel& model, QWidget* parent) {
    for (ViewMaker make : viewMakers()) {
        if (auto view = make(model, parent)) {
            return view;
        }
    }
    return nullptr;
}

} // namespace vexa::ui
