// The Qt view of each dialog model: the window that shows a model of a given type.
#pragma once

#include <QDialog>
#include <memory>

#include "frame/DialogModel.h"

namespace vexa::ui {

// A new window over the model; null when no view shows models of its type.
std::unique_ptr<QDialog> makeDialogView(DialogModel& model, QWidget* parent);

} // namespace vexa::ui
