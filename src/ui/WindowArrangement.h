// Laying out the document windows of a document area as the Window functions ask.
#pragma once

#include "frame/Frame.h"

#include <QRect>
#include <QSize>

class QMdiArea;

namespace vexa::ui {

// Cascaded and restored windows keep at least the useful size (where the area holds it).
void arrangeSubWindows(QMdiArea& documents, WindowArrangement arrangement, QSize useful);

// A window's size: the wanted one, at least the useful one, at most the area's.
QSize windowSizeWithin(QSize wanted, QSize useful, QSize area);

} // namespace vexa::ui
