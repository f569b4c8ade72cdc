// How a dialog takes the keyboard: Tab walks its controls in the order its layouts show them, and
// the text it opens with is selected, so that typing replaces it.
#pragma once

class QWidget;

namespace vexa::ui {

// Orders the Tab chain of a dialog's controls as its layouts place them (top to bottom, left to
// right, into group boxes and button rows), gives the first control the focus unless the dialog
// chose one, and selects the text of the control that has it. Called before a dialog is shown.
void settleDialogFocus(QWidget& dialog);

} // namespace vexa::ui
