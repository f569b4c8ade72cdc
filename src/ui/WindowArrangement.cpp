// Laying out the document windows of a document area.
#include "ui/WindowArrangement.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace vexa::ui {

void arrangeSubWindows(QMdiArea& documents, WindowArrangement arrangement) {
    const auto windows = documents.subWindowList();
    switch (arrangement) {
    case WindowArrangement::Cascade:
        documents.cascadeSubWindows();
        return;
    case WindowArrangement::Tile:
        documents.tileSubWindows();
        return;
    case WindowArrangement::TileVertical:
    case WindowArrangement::TileHorizontal: {
        if (windows.isEmpty()) {
            return;
        }
        const bool vertical = arrangement == WindowArrangement::TileVertical;
        const QRect area = documents.viewport()->rect();
        const int count = static_cast<int>(windows.size());
        for (int i = 0; i < count; ++i) {
            windows[i]->showNormal();
            if (vertical) {
                const int width = area.width() / count;
                windows[i]->setGeometry(i * width, 0, width, area.height());
            } else {
                const int height = area.height() / count;
                windows[i]->setGeometry(0, i * height, area.width(), height);
            }
        }
        return;
    }
    case WindowArrangement::ArrangeIcons:
        for (QMdiSubWindow* window : windows) {
            if (window->isMinimized()) {
                window->showMinimized();
            }
        }
        return;
    case WindowArrangement::RestoreAll:
        for (QMdiSubWindow* window : windows) {
            window->showNormal();
        }
        return;
    case WindowArrangement::MinimizeAll:
        for (QMdiSubWindow* window : windows) {
            window->showMinimized();
        }
        return;
    case WindowArrangement::MaximizeAll:
        for (QMdiSubWindow* window : windows) {
            window->showMaximized();
        }
        return;
    }
}

} // namespace vexa::ui
