// Timing of the automation: a keyboard macro of 1,000 recorded events played back 1,000 times on
// a 100,000-line document, and a script that reads every line of the 1,000,000-line generated
// text with get_line.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "toolchain/HeadlessOutputHost.h"
#include "commands/EditPane.h"
#include "core/Document.h"
#include "frame/HeadlessFrame.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/KeyState.h"
#include "platform/Sound.h"
#include "platform/posix/PosixProcess.h"
#include "session/Editor.h"
#include "session/HeadlessWorkspaceView.h"
#include "settings/Directories.h"
#include "settings/Options.h"
#include "support/GeneratedText.h"
#include "support/HeadlessEditor.h"

namespace {

namespace fs = std::filesystem;
using namespace vexa;

using Rig = bench::HeadlessEditor;

} // namespace

int main() {
    const fs::path dir = fs::temp_directory_path() / "vexa-bench-automation";
    fs::remove_all(dir);
    fs::create_directories(dir / "home");
    setenv("VEXA_HOME", (dir / "home").c_str(), 1);
    Rig rig((dir / "home").string());

    // The macro: per five events two typed characters, a line down, the line start and a delete.
    const std::string small = bench::ensureGeneratedFile((dir / "small.c").string(), 100'000);
    if (rig.editor.workspace().openDocument(small) == nullptr) {
        std::fprintf(stderr, "cannot open %s\n", small.c_str());
        return 1;
    }
    MacroEvents events;
    for (int i = 0; i < 200; ++i) {
        events.push_back(MacroEvent::ofCharacter(u'a'));
        events.push_back(MacroEvent::ofCharacter(u'b'));
        events.push_back(MacroEvent::ofFunction(functionIdOf("MoveLineDown")));
        events.push_back(MacroEvent::ofFunction(functionIdOf("MoveLineHome")));
        events.push_back(MacroEvent::ofFunction(functionIdOf("CharDelete")));
    }
    rig.editor.macros().recorder().replaceWith(events);
    auto start = std::chrono::steady_clock::now();
    for (int pass = 0; pass < 1000; ++pass) {
        if (!rig.editor.macros().play()) {
            std::fprintf(stderr, "playback failed\n");
            return 1;
        }
    }
    std::printf("macro_playback_s: %.3f\n", bench::secondsSince(start));

    const std::string big = bench::ensureGeneratedFile((dir / "big.c").string());
    if (rig.editor.workspace().openDocument(big) == nullptr) {
        std::fprintf(stderr, "cannot open %s\n", big.c_str());
        return 1;
    }
    const fs::path script = dir / "walk.zm";
    std::ofstream(script) << "int main() {\n"
                             "    string s; int n; int i; int total = 0;\n"
                             "    get_line_count(n);\n"
                             "    for (i = 1; i <= n; i++) { get_line(s, i); total++; }\n"
                             "    message(\"%d lines\", total);\n"
                             "}\n";
    start = std::chrono::steady_clock::now();
    const ScriptRunResult result = rig.editor.scripts().runCommandLine(script.string());
    std::printf("script_walk_lines_s: %.3f\n", bench::secondsSince(start));
    if (result.code < 0 || result.warned || rig.frame.lastStatus() != "1000000 lines") {
        std::fprintf(stderr, "the walk failed: %s\n", rig.frame.lastStatus().c_str());
        return 1;
    }
    fs::remove_all(dir);
    return 0;
}
