// The whole editor without a window, over a home directory: what the benchmarks drive.
#pragma once

#include <string>

#include "toolchain/HeadlessOutputHost.h"
#include "frame/HeadlessFrame.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/KeyState.h"
#include "platform/Sound.h"
#include "platform/posix/PosixProcess.h"
#include "session/Editor.h"
#include "session/HeadlessWorkspaceView.h"
#include "settings/Options.h"

namespace vexa::bench {

struct HeadlessEditor {
    explicit HeadlessEditor(const std::string& home) : directories(home), options(directories) {}

    Directories directories;
    Options options;
    HeadlessFrame frame;
    HeadlessWorkspaceView view;
    platform::SystemClock clock;
    platform::MemoryClipboard clipboard;
    platform::SilentSoundPlayer sound;
    platform::MemoryKeyState keys;
    toolchain::HeadlessOutputHost outputs;
    platform::PosixProcessLauncher launcher;
    Editor editor{EditorPorts{frame, view, options, clock, clipboard, sound, keys, outputs, launcher, "",
                              [](int) { return false; }}};
};

} // namespace vexa::bench
