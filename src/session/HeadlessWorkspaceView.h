// The view of the workspace for runs without a window: it records what it was told to show.
#pragma once

#include <string>
#include <vector>

#include "commands/EditPane.h"
#include "session/WorkspaceView.h"

namespace vexa {

class HeadlessWorkspaceView final : public WorkspaceView {
public:
    void windowOpened(EditPane& pane) override {
        ++opened;
        active = &pane;
    }
    void windowClosed(std::unique_ptr<EditPane> pane) override {
        ++closed;
        if (active == pane.get()) {
            active = nullptr;
        }
    }
    void windowActivated(EditPane& pane) override { active = &pane; }
    void windowChanged(EditPane& /*pane*/) override { ++changed; }
    void recentFilesChanged() override { ++recentChanges; }
    void exitRequested() override { ++exitRequests; }

    EditPane* active = nullptr;
    int opened = 0;
    int closed = 0;
    int changed = 0;
    int recentChanges = 0;
    int exitRequests = 0;
};

} // namespace vexa
