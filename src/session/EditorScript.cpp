// The editor's script object.
#include "session/EditorScript.h"

#include <array>
#include <climits>
#include <filesystem>
#include <vector>

#include "toolchain/CommandVariables.h"
#include "toolchain/FileLocator.h"
#include "toolchain/OutputWindows.h"
#include "toolchain/ToolCommands.h"
#include "commands/CommandProcessor.h"
#include "commands/DocumentWindows.h"
#include "commands/EditPane.h"
#include "commands/FunctionDispatcher.h"
#include "commands/FunctionTable.h"
#include "core/Document.h"
#include "core/DocumentFile.h"
#include "core/DocumentText.h"
#include "frame/Frame.h"
#include "frame/StatusMessages.h"
#include "platform/KeyState.h"
#include "script/ScriptCall.h"
#include "script/ScriptInterpreter.h"
#include "script/ScriptText.h"
#include "search/SearchState.h"
#include "session/UserInputModel.h"
#include "session/Workspace.h"
#include "settings/Format.h"
#include "settings/Options.h"
#include "text/TextEncoding.h"

namespace vexa {

namespace {

constexpr std::string_view kBadArgumentCount = "Bad number of arguments supplied in macro function call!";
constexpr const char* kBadFormat = "Bad argument/format string passed to '%s' function!";
constexpr const char* kOpenError = "Unexpected error opening the '%s' file.";
constexpr std::string_view kNullCharacter = "A null character can not be typed into a document.";
constexpr const char* kBadCharacterCode = "Bad character code passed to '%s' function!";
constexpr const char* kNullInFile = "The '%s' file holds a null character; nothing was inserted.";

// Runs a function as a key would and keeps its result.
class ResultDispatcher final : public FunctionDispatcher {
public:
    explicit ResultDispatcher(CommandProcessor& processor) : m_processor(processor) {}
    void sendCommand(uint16_t id, uint32_t source) override { m_result = m_processor.execute(id, source); }
    int32_t result() const { return m_result; }

private:
    CommandProcessor& m_processor;
    int32_t m_result = 0;
};

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char ch) {
            return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
        };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> valuesFrom(script::ScriptCall& call, int first) {
    std::vector<std::string> values;
    for (int i = first; i < call.count(); ++i) {
        values.push_back(call.text(i));
    }
    return values;
}

} // namespace

template <typename Run>
ScriptRunResult EditorScript::runWith(Run&& run) {
    m_buffer.clear();
    m_outputPrepared = false;
    script::ScriptInterpreter interpreter(*this, m_services.clock);
    ScriptRunResult result;
    // typing_aids() lasts for the run: however it ends, typing gets its aids back as they were.
    CommandProcessor& processor = m_services.processor;
    const bool typingAids = processor.typingAids();
    result.code = run(interpreter);
    processor.setTypingAids(typingAids);
    result.syntaxError = interpreter.syntaxError();
    result.warned = interpreter.warned();
    if (!m_buffer.empty()) {
        addOutputLine(m_buffer);
        m_buffer.clear();
    }
    return result;
}

ScriptRunResult EditorScript::run(std::string_view commandLine) {
    return runWith([&](script::ScriptInterpreter& interpreter) { return interpreter.run(commandLine); });
}

ScriptRunResult EditorScript::runText(std::string source, const std::string& path,
                                      std::vector<std::string> arguments) {
    return runWith([&](script::ScriptInterpreter& interpreter) {
        return interpreter.runText(std::move(source), path, std::move(arguments));
    });
}

void EditorScript::addOutputLine(std::string_view line) {
    toolchain::OutputWindow& window = m_services.outputs.standard();
    if (!m_outputPrepared) {
        m_outputPrepared = true;
        window.clear();
        m_services.outputs.show(toolchain::OutputKind::Standard);
    }
    window.addLine(line);
    m_services.outputs.linesChanged(toolchain::OutputKind::Standard);
}

void EditorScript::write(std::string_view text) {
    for (char ch : text) {
        if (ch == '\n') {
            addOutputLine(m_buffer);
            m_buffer.clear();
            continue;
        }
        if (m_buffer.size() + 1 >= kLineBufferSize) {
            addOutputLine(m_buffer);
            m_buffer.clear();
        }
        m_buffer.push_back(ch);
    }
}

bool EditorScript::terminationRequested() {
    m_services.processor.frame().drainEvents();
    return m_services.keyState.wasPressed(platform::kKeyEscape);
}

void EditorScript::runEnded(int32_t /*code*/, std::string_view message) {
    write(message.empty() ? kMacroCompleted : message);
    write("\n");
}

bool EditorScript::expandString(std::string_view literal, std::string& expanded) {
    if (literal.find('$') == std::string_view::npos) {
        return false;
    }
    const toolchain::VariableContext context =
        toolchain::variableContextOf(m_services.processor, m_services.projectPath);
    return toolchain::expandCommand(literal, kLineBufferSize, context, expanded);
}

std::optional<int32_t> EditorScript::callFunction(script::ScriptCall& call) {
    const FunctionTable& table = FunctionTable::standard();
    if (table.idOf(call.name()) != kNoFunction) {
        ResultDispatcher dispatcher(m_services.processor);
        if (table.runByName(call.name(), dispatcher) == 0) {
            return std::nullopt; // MacroExecuteScript: reported as unknown
        }
        // The function's own result, so that a loop over MoveLineDown() ends at the last line.
        return dispatcher.result();
    }
    return editorFunction(call);
}

// A script's strings are text: a document's line comes in as UTF-8 (get_line), a constant of a
// UTF-8 script as its characters, bytes that are not UTF-8 as the Windows-1252 characters they
// stand for. A line end splits the line; a null character is refused whole.
bool EditorScript::type(script::ScriptCall& call, std::string_view text) {
    if (text.find('\0') != std::string_view::npos) {
        call.warning(kNullCharacter);
        return false;
    }
    m_services.processor.typeText(text::externalToUtf8(text));
    return true;
}

Document* EditorScript::changeableDocument() {
    Document* doc = m_services.processor.document();
    if (doc == nullptr || m_services.processor.refuseIfReadOnly()) {
        return nullptr;
    }
    return doc;
}

std::optional<int32_t> EditorScript::editorFunction(script::ScriptCall& call) {
    static constexpr std::array<std::string_view, 22> kNames = {
        "get_char",      "get_column_pos", "get_line",         "get_line_count", "get_line_pos",
        "insert_line",   "locate_file",    "message",          "open_file",      "put_char",
        "put_number",    "put_string",     "read_file",        "set_column_pos", "set_file_name",
        "set_find_text", "set_line_pos",   "set_replace_text", "spawn",          "typing_aids",
        "user_input",    "yield"};
    std::size_t index = kNames.size();
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (equalNoCase(call.name(), kNames[i])) {
            index = i;
            break;
        }
    }
    if (index == kNames.size()) {
        return std::nullopt;
    }
    const std::string_view name = kNames[index];
    CommandProcessor& processor = m_services.processor;
    Document* doc = processor.document();
    const int count = call.count();
    const auto badCount = [&call]() {
        call.warning(kBadArgumentCount);
        return 0;
    };
    const auto needs = [&](int wanted) { return count == wanted; };

    if (name == "get_char" || name == "get_column_pos" || name == "get_line_count" ||
        name == "get_line_pos") {
        if (!needs(1) || !call.isVariable(0)) {
            return badCount();
        }
        int32_t value = 0;
        if (doc != nullptr) {
            if (name == "get_char") {
                // The code point of the character under the cursor, which put_char types back.
                const std::string_view line = doc->currentLine().text();
                const auto offset = static_cast<std::size_t>(doc->cursorOffset());
                if (offset < line.size()) {
                    const auto byte = static_cast<unsigned char>(line[offset]);
                    value = doc->encoding() == TextEncoding::Utf8
                                ? static_cast<int32_t>(text::decodeUtf8(line, offset).character)
                                : static_cast<int32_t>(text::windows1252ToUnicode(byte));
                }
            } else if (name == "get_column_pos") {
                value = doc->cursorColumn() + 1;
            } else if (name == "get_line_count") {
                value = doc->lineCount();
            } else {
                value = doc->cursorLine() + 1;
            }
        }
        call.setNumber(0, value);
        return value;
    }
    if (name == "get_line") {
        if (count < 1 || count > 2 || !call.isString(0) || !call.isVariable(0)) {
            return badCount();
        }
        if (doc == nullptr) {
            return 0;
        }
        const int line = count == 2 ? call.number(1) - 1 : doc->cursorLine();
        if (line < 0 || line >= doc->lineCount()) {
            return 0;
        }
        // As UTF-8 text, so that typing it back gives the same bytes in either encoding.
        call.setText(0, text::toUtf8(doc->lineText(line), doc->encoding()));
        return 1;
    }
    if (name == "insert_line") {
        if (!needs(1) || !call.isString(0)) {
            return badCount();
        }
        Document* target = changeableDocument();
        if (target == nullptr) {
            return 0;
        }
        const std::string text = call.text(0);
        if (text.find('\0') != std::string::npos) {
            call.warning(kNullCharacter);
            return 0;
        }
        target->setCursorOffset(0);
        target->insertEmptyLine();
        type(call, text);
        return 1;
    }
    if (name == "locate_file") {
        if (!needs(1) || !call.isString(0) || !call.isVariable(0)) {
            return badCount();
        }
        const std::optional<std::string> found =
            toolchain::locateFile(call.text(0), {}, m_services.outputs.locateSettings());
        if (!found) {
            return 0;
        }
        call.setText(0, *found);
        return 1;
    }
    if (name == "message" || name == "put_string") {
        if (count < 1 || count > 7 || !call.isString(0)) {
            call.warning(formatText(kBadFormat, std::string(name).c_str()));
            return 0;
        }
        const std::string text = script::formatScriptText(call.text(0), valuesFrom(call, 1));
        if (name == "message") {
            processor.showStatus(text);
            return 1;
        }
        if (changeableDocument() == nullptr) {
            return 0;
        }
        return type(call, text) ? 1 : 0;
    }
    if (name == "open_file") {
        if (count < 1 || count > 2 || !call.isString(0)) {
            return badCount();
        }
        const std::string file = call.text(0);
        EditPane* pane = m_services.workspace.openDocument(file);
        if (pane == nullptr) {
            call.warning(formatText(kOpenError, file.c_str()));
            return 0;
        }
        // The script goes on with the whole file (Escape stops the wait with part of it).
        (void)m_services.workspace.waitForLines(pane->document(), INT_MAX);
        return 1;
    }
    if (name == "put_char" || name == "put_number") {
        if (!needs(1)) {
            return badCount();
        }
        if (changeableDocument() == nullptr) {
            return 0;
        }
        const int32_t value = call.number(0);
        if (name == "put_number") {
            return type(call, std::to_string(value)) ? 1 : 0;
        }
        // The code point of a character (as get_char gives it); LF and CR split the line.
        if (value == 0) {
            call.warning(kNullCharacter);
            return 0;
        }
        if (value < 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            call.warning(formatText(kBadCharacterCode, "put_char"));
            return 0;
        }
        m_services.processor.typeCharacter(static_cast<char32_t>(value));
        return 1;
    }
    if (name == "read_file") {
        if (!needs(1) || !call.isString(0)) {
            return badCount();
        }
        const std::string file = call.text(0);
        const std::optional<std::string> found = toolchain::locateFile(file, {}, m_services.outputs.locateSettings());
        Document* target = changeableDocument();
        if (!found) {
            call.warning(formatText(kOpenError, file.c_str()));
            return 0;
        }
        if (target == nullptr) {
            return 0;
        }
        const std::string bytes = [&] {
            std::FILE* in = std::fopen(found->c_str(), "rb");
            std::string content;
            if (in != nullptr) {
                char chunk[8192];
                std::size_t got = 0;
                while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0) {
                    content.append(chunk, got);
                }
                std::fclose(in);
            }
            return content;
        }();
        // The file's text is read as text from outside (UTF-8, else Windows-1252) and goes in as
        // the document's bytes; a null character or a character the document cannot hold
        // refuses the whole file.
        if (bytes.find('\0') != std::string::npos) {
            call.warning(formatText(kNullInFile, file.c_str()));
            return 0;
        }
        const std::optional<std::string> converted =
            documentBytes(*target, text::externalToUtf8(bytes), &processor.frame());
        if (!converted) {
            return 0;
        }
        int line = target->cursorLine() + 1;
        std::size_t start = 0;
        while (start < converted->size()) {
            // LF, CR LF and a lone CR each end a line.
            std::size_t end = converted->find_first_of("\r\n", start);
            if (end == std::string::npos) {
                end = converted->size();
            }
            std::size_t next = end + 1;
            if (end < converted->size() && (*converted)[end] == '\r' && next < converted->size() &&
                (*converted)[next] == '\n') {
                ++next;
            }
            const std::string_view text(converted->data() + start, end - start);
            target->moveToLine(line);
            target->setCursorOffset(0);
            target->insertEmptyLine();
            target->insertAt(line, 0, text);
            ++line;
            start = next;
        }
        processor.showStatus("Write successful.");
        return 1;
    }
    if (name == "set_column_pos" || name == "set_line_pos") {
        if (!needs(1)) {
            return badCount();
        }
        if (doc == nullptr) {
            return 0;
        }
        const int32_t value = call.number(0);
        if (name == "set_column_pos") {
            doc->setCursorColumn(value > 1 ? value - 1 : 0);
        } else {
            doc->moveToLine(value > 1 ? value - 1 : 0);
        }
        if (EditPane* pane = processor.pane()) {
            pane->bringCursorIntoView();
        }
        return 1;
    }
    if (name == "set_file_name") {
        if (!needs(1) || !call.isString(0)) {
            return badCount();
        }
        if (doc == nullptr) {
            return 0;
        }
        const std::string file = call.text(0);
        const std::optional<std::string> found = toolchain::locateFile(file, {}, m_services.outputs.locateSettings());
        std::error_code error;
        const std::string before = doc->fileName();
        doc->setFileName(found ? *found : (std::filesystem::current_path(error) / file).string());
        // The window shows the new name, and a new extension brings its profile.
        if (DocumentWindows* windows = processor.windows()) {
            windows->documentRenamed(*doc, extensionChanged(before, doc->fileName()));
        }
        return 1;
    }
    if (name == "set_find_text" || name == "set_replace_text") {
        if (!needs(1)) {
            return badCount();
        }
        // The search texts are UTF-8; a script's string is read as such when it is UTF-8.
        if (name == "set_find_text") {
            processor.searchState().setFindText(text::externalToUtf8(call.text(0)), false);
        } else {
            processor.searchState().setReplaceText(text::externalToUtf8(call.text(0)));
        }
        return 1;
    }
    if (name == "yield") {
        if (count != 0) {
            return badCount();
        }
        processor.frame().drainEvents();
        return 1;
    }
    if (name == "typing_aids") {
        // typing_aids(0) types the script's text as it is (no templates, wrapping, smart indent or
        // brace) and gives 1 when the aids were on; typing_aids(that) restores them.
        if (!needs(1)) {
            return badCount();
        }
        const bool was = processor.typingAids();
        processor.setTypingAids(call.number(0) != 0);
        return was ? 1 : 0;
    }
    if (name == "user_input") {
        if ((count != 2 && count != 4) || !call.isVariable(1) || (count == 4 && !call.isVariable(3))) {
            return badCount();
        }
        std::vector<std::string> prompts{call.text(0)};
        if (count == 4) {
            prompts.push_back(call.text(2));
        }
        UserInputModel model(std::move(prompts));
        if (processor.frame().showDialog(model) != DialogResult::Accepted) {
            return 0;
        }
        for (int field = 0; field * 2 + 1 < count; ++field) {
            const int variable = field * 2 + 1;
            const std::string& text = model.text(static_cast<std::size_t>(field));
            if (call.isString(variable)) {
                call.setText(variable, text);
            } else {
                call.setNumber(variable, script::textToNumber(text));
            }
        }
        return 1;
    }
    if (name == "spawn" && m_services.tools != nullptr) {
        if (count < 1 || count > 3 || !call.isString(0) || (count >= 2 && !call.isString(1))) {
            return badCount();
        }
        const int32_t flags = count == 3 ? call.number(2) : 0;
        toolchain::ToolRecord record;
        record.program = call.text(0);
        record.arguments = count >= 2 ? call.text(1) : std::string();
        record.showMode = (flags & 1) != 0 ? platform::ShowMode::Normal : platform::ShowMode::Hidden;
        record.captureOutput = (flags & 2) != 0;
        record.captureErrors = (flags & 4) != 0;
        record.askArguments = (flags & 8) != 0;
        record.type = (flags & 16) != 0 ? toolchain::ToolType::DosCommandLine : toolchain::ToolType::DosProgram;
        // Run as a tool: a captured run is followed and its output shown in Standard Output (at
        // once in a run without a window); a refusal or failure is said on the status line.
        (void)m_services.tools->runRecord(record);
        return 0;
    }
    return std::nullopt;
}

} // namespace vexa
