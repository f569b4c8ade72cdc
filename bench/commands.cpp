// Timing of the command processor on a large document: typing and mixed movement functions.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "toolchain/HeadlessOutputHost.h"
#include "commands/CommandProcessor.h"
#include "commands/EditPane.h"
#include "core/Document.h"
#include "core/DocumentFile.h"
#include "frame/HeadlessFrame.h"
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

namespace {

using Clock = std::chrono::steady_clock;
using vexa::functionIdOf;

constexpr int kTypedLines = 4000;
constexpr int kCharactersPerLine = 50;
constexpr int kMoveRounds = 20000;

} // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    const std::string path = argc > 1 ? argv[1]
                                      : vexa::bench::ensureGeneratedFile(
                                            (fs::temp_directory_path() / "vexa-bench-document.c").string());
    const fs::path home = fs::temp_directory_path() / "vexa-bench-commands-home";
    fs::create_directories(home);

    vexa::bench::HeadlessEditor headless(home.string());
    vexa::HeadlessFrame& frame = headless.frame;
    vexa::Editor& editor = headless.editor;
    vexa::CommandProcessor& processor = editor.processor();

    vexa::EditPane* opened = editor.workspace().openDocument(path);
    if (opened == nullptr || !frame.lastStatus().empty()) { // a failed load ends on its message
        std::fprintf(stderr, "cannot load %s\n", path.c_str());
        return 1;
    }
    vexa::EditPane& pane = *opened;
    std::printf("lines: %d\n", pane.document().lineCount());
    pane.setTextArea(100, 40);
    vexa::Document& doc = pane.document();

    // Typing: characters typed into lines spread over the document, each a full trip through the
    // processor (guards, count, typing, refresh bookkeeping, undo group).
    const std::string text = "for (int i = 0; i < count; ++i) { total += i; } ";
    double typingSeconds = 0;
    long typed = 0;
    for (int round = 0; round < kTypedLines; ++round) {
        doc.moveToLine((round * 247) % doc.lineCount());
        doc.setCursorOffset(doc.currentLine().length() / 2);
        const auto start = Clock::now();
        for (int i = 0; i < kCharactersPerLine; ++i) {
            processor.typeCharacter(static_cast<char32_t>(text[static_cast<std::size_t>(i) % text.size()]));
        }
        typingSeconds += vexa::bench::secondsSince(start);
        typed += kCharactersPerLine;
    }
    std::printf("type_char_us: %.3f\n", typingSeconds * 1e6 / static_cast<double>(typed));

    // Movement: a mix of character, word, line, page and document moves through the processor.
    const std::vector<vexa::FunctionId> mix = {
        functionIdOf("MoveLineDown"),         functionIdOf("MoveLineRight"),
        functionIdOf("MoveWordNext"),         functionIdOf("MoveLineEnd"),
        functionIdOf("MoveWordPrevious"),     functionIdOf("MoveLineHome"),
        functionIdOf("MovePageDown"),         functionIdOf("MoveLineUp"),
        functionIdOf("MoveLineDownAndFirst"), functionIdOf("MoveDocumentStartEx"),
        functionIdOf("MovePageUp"),           functionIdOf("MoveWordNextEx"),
        functionIdOf("MoveLineLeft"),         functionIdOf("MovePageCenter"),
        functionIdOf("ScrollLineDown"),       functionIdOf("MoveDocumentCenter"),
        functionIdOf("MoveLineUpAndLast"),    functionIdOf("MoveDocumentEnd"),
        functionIdOf("MoveDocumentStart"),    functionIdOf("MoveDocumentEndEx"),
    };
    doc.moveToLine(doc.lineCount() / 3);
    long moves = 0;
    const auto start = Clock::now();
    for (int round = 0; round < kMoveRounds; ++round) {
        for (vexa::FunctionId id : mix) {
            processor.execute(id, vexa::kKeyboardCommandSource);
            ++moves;
        }
    }
    std::printf("move_us: %.3f\n", vexa::bench::secondsSince(start) * 1e6 / static_cast<double>(moves));
    fs::remove_all(home);
    return 0;
}
