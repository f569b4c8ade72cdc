// The parts of the main window's layout that editor functions switch: the toolbar and the status bar.
#pragma once

namespace vexa {

// Implemented by the main window; the processor tells it after "ToolBar" or "StatusBar" changed.
class FrameLayout {
public:
    virtual ~FrameLayout() = default;
    virtual void showToolBar(bool visible) = 0;
    virtual void showStatusBar(bool visible) = 0;
};

} // namespace vexa
