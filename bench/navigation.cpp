// Timing of the navigation functions through the whole editor over the generated C file: listing
// every function into the compiler output window, and a brace match across the whole file.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "toolchain/HeadlessOutputHost.h"
#include "commands/EditPane.h"
#include "core/Document.h"
#include "frame/HeadlessFrame.h"
#include "navigation/NavigationCommands.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/KeyState.h"
#include "platform/Sound.h"
#include "platform/posix/PosixProcess.h"
#include "session/Editor.h"
#include "session/HeadlessWorkspaceView.h"
#include "settings/Options.h"
#include "support/GeneratedText.h"
#include "support/HeadlessEditor.h"

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    const std::string path =
        argc > 1
            ? argv[1]
            : vexa::bench::ensureGeneratedFile((fs::temp_directory_path() / "vexa-bench-search.c").string());
    const fs::path home = fs::temp_directory_path() / "vexa-bench-navigation-home";
    fs::create_directories(home);
    vexa::bench::HeadlessEditor headless(home.string());
    vexa::Editor& editor = headless.editor;
    vexa::EditPane* pane = editor.workspace().openDocument(path);
    if (pane == nullptr) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        return 1;
    }
    vexa::Document& document = pane->document();
    std::printf("lines: %d\n", document.lineCount());

    auto start = std::chrono::steady_clock::now();
    const int32_t found = editor.processor().execute(vexa::functionIdOf("FunctionFindAll"));
    std::printf("function_find_all_s: %.3f\n", vexa::bench::secondsSince(start));
    std::printf("function_find_all_entries: %zu\n", editor.outputs().compiler().lineCount());
    std::printf("function_find_all_result: %d\n", found);

    // A "{" on the first line whose partner is far down (or absent): every byte is looked at.
    document.goToPosition(0, 0);
    document.insertAt(0, 0, "{");
    start = std::chrono::steady_clock::now();
    const auto match =
        vexa::navigation::matchBrace(document, 0, 0, vexa::navigation::BraceDirection::Forward);
    std::printf("brace_match_whole_file_s: %.3f\n", vexa::bench::secondsSince(start));
    std::printf("brace_match_result: %d\n", static_cast<int>(match.result));
    return 0;
}
