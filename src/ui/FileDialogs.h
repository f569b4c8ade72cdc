// The open and save-as dialogs over a file-dialog request.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frame/Frame.h"

class QWidget;

namespace vexa::ui {

// The full paths chosen; empty when the user cancelled.
std::vector<std::string> runOpenDialog(QWidget* parent, const FileDialogRequest& request);
// The full path chosen; nothing when the user cancelled.
std::optional<std::string> runSaveDialog(QWidget* parent, const FileDialogRequest& request);

} // namespace vexa::ui
