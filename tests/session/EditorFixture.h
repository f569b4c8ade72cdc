// The session tests' fixture: the whole editor put together over the headless frame, a recording
// workspace view, a temporary home and scripted processes.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "toolchain/HeadlessOutputHost.h"
#include "commands/EditPane.h"
#include "core/Document.h"
#include "frame/HeadlessFrame.h"
#include "platform/Clipboard.h"
#include "platform/KeyState.h"
#include "platform/Sound.h"
#include "session/Editor.h"
#include "session/HeadlessWorkspaceView.h"
#include "settings/HomeSetup.h"
#include "settings/Options.h"
#include "support/FakeClock.h"
#include "support/FakeProcess.h"
#include "support/TempHome.h"

namespace vexa::test {

class EditorTest : public ::testing::Test {
protected:
    // The home is prepared as a first start prepares it (its sub-directories, nothing seeded).
    EditorTest()
        : m_directories(m_home.path().string()), m_prepared(prepareHome(m_directories, {})),
          options(m_directories) {
        startEditor();
    }

    // Puts a new editor together over the same home (the previous one goes first).
    void startEditor() {
        editor.reset();
        editor = std::make_unique<Editor>(EditorPorts{frame, view, options, clock, clipboard, sound, keys,
                                                      outputs, launcher, "", [](int) { return false; }, journal});
    }

    std::string writeFile(const std::string& name, const std::string& bytes) {
        const std::string path = m_home.file(name);
        writeFileBytes(path, bytes);
        return path;
    }

    Workspace& workspace() { return editor->workspace(); }
    // Whether the next editor started journals its documents.
    bool journal = false;
    CommandProcessor& processor() { return editor->processor(); }
    int32_t exec(FunctionId id) { return processor().execute(id, kKeyboardCommandSource); }
    // Types UTF-8 text as the keyboard would, character by character.
    void type(std::string_view utf8) { processor().typeText(utf8); }
    Document& activeDocument() { return workspace().active()->document(); }

    TempHome m_home;
    Directories m_directories;
    HomeStart m_prepared;

public:
    HeadlessFrame frame;
    HeadlessWorkspaceView view;
    Options options;
    FakeClock clock;
    platform::MemoryClipboard clipboard;
    platform::SilentSoundPlayer sound;
    platform::MemoryKeyState keys;
    toolchain::HeadlessOutputHost outputs;
    FakeProcessLauncher launcher;
    std::unique_ptr<Editor> editor;
};

} // namespace vexa::test
