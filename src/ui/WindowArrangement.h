// Laying out the document windows of a document area as the Window functions ask.
#pragma once

#include "frame/Frame.h"

class QMdiArea;

namespace vexa::ui {

void arrangeSubWindows(QMdiArea& documents, WindowArrangement arrangement);

} // namespace vexa::ui
