// Laying out the document windows of a document area.
#include "ui/WindowArrangement.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <algorithm>
#include <vector>

namespace vexa::ui {

QSize windowSizeWithin(QSize wanted, QSize useful, QSize area) {
    return wanted.expandedTo(useful).boundedTo(area);
}

namespace {

// Each window below and right of the one before by a title bar's height, all of one size: what the
// area leaves after the steps, but never less than the useful size. When the steps run out of room
// the cascade starts again at the top left.
void cascade(QMdiArea& documents, QSize useful) {
    const QRect area = documents.viewport()->rect();
    int step = 0;
    std::vector<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : documents.subWindowList()) {
        if (!window->isMinimized() && !window->isHidden()) {
            windows.push_back(window);
            step = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
        }
    }
    if (windows.empty()) {
        return;
    }
    const int count = static_cast<int>(windows.size());
    const QSize wanted(area.width() - (count - 1) * step, area.height() - (count - 1) * step);
    const QSize size = windowSizeWithin(wanted, useful, area.size());
    const int room = std::max(1, std::min((area.width() - size.width()) / std::max(step, 1),
                                          (area.height() - size.height()) / std::max(step, 1)) +
                                     1);
    for (int i = 0; i < count; ++i) {
        windows[static_cast<std::size_t>(i)]->showNormal();
        const int offset = (i % room) * step;
        windows[static_cast<std::size_t>(i)]->setGeometry(offset, offset, size.width(), size.height());
        windows[static_cast<std::size_t>(i)]->raise();
    }
    documents.setActiveSubWindow(windows.back());
}

} // namespace

void arrangeSubWindows(QMdiArea& documents, WindowArrangement arrangement, QSize useful) {
    const auto windows = documents.subWindowList();
    switch (arrangement) {
    case WindowArrangement::Cascade:
        cascade(documents, useful);
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
    case WindowArrangement::RestoreAll: {
        const QSize area = documents.viewport()->size();
        for (QMdiSubWindow* window : windows) {
            window->showNormal();
            window->resize(windowSizeWithin(window->size(), useful, area));
        }
        return;
    }
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
