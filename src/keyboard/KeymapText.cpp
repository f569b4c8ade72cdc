// Writing and reading the text form of keymaps.
#include "keyboard/KeymapText.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "commands/FunctionTable.h"
#include "keyboard/TextScan.h"
#include "settings/Format.h"

namespace vexa {

namespace {

// The first line is read into a 50-byte buffer: what lies beyond 49 characters belongs to the
// records that follow.
constexpr std::size_t kFirstLineLength = 49;

// Hands out the lines of the text that hold something, without their line ends.
class LineReader {
public:
    explicit LineReader(std::string_view text) : m_text(text) {}

    std::optional<std::string_view> firstLine() {
        std::size_t end = 0;
        while (end < m_text.size() && end < kFirstLineLength) {
            if (m_text[end++] == '\n') {
                break;
            }
        }
        const std::string_view line = m_text.substr(0, end);
        m_position = end;
        return line;
    }

    std::optional<std::string_view> nextLine() {
        while (m_position < m_text.size()) {
            std::size_t end = m_text.find('\n', m_position);
            if (end == std::string_view::npos) {
                end = m_text.size();
            }
            const std::string_view line = m_text.substr(m_position, end - m_position);
            m_position = end + 1;
            if (!TextScan(line).atEnd()) {
                return line;
            }
        }
        return std::nullopt;
    }

private:
    std::string_view m_text;
    std::size_t m_position = 0;
};

} // namespace

std::string exportKeymapText(const Keymap& keymap) {
    const FunctionTable& functions = FunctionTable::standard();
    const KeymapFlags& flags = keymap.flags();
    std::string text = formatText("%hd %hd %hd\r\n", static_cast<short>(flags.allowShiftMarking),
                                  static_cast<short>(flags.keyPressRemovesMark),
                                  static_cast<short>(flags.cutCopyRemovesMark));
    text += formatText("%hd\r\n", static_cast<short>(keymap.tables().size()));
    for (const KeyTable& table : keymap.tables()) {
        text += formatText("%4.4d %3.3d %5.5d\r\n", table.prefix().keyCode, table.prefix().modifiers,
                           static_cast<int>(table.size()));
        std::vector<KeyBinding> sorted(table.bindings().begin(), table.bindings().end());
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const KeyBinding& a, const KeyBinding& b) { return a.function < b.function; });
        for (const KeyBinding& binding : sorted) {
            const std::string name(functions.nameOf(binding.function));
            text += formatText("%4.4d %3.3d %s\r\n", binding.keyCode, binding.modifiers, name.c_str());
        }
    }
    return text;
}

Keymap importKeymapText(std::string_view text) {
    Keymap keymap;
    LineReader lines(text);
    {
        TextScan flags(*lines.firstLine());
        for (uint16_t* flag : {&keymap.flags().allowShiftMarking, &keymap.flags().keyPressRemovesMark,
                               &keymap.flags().cutCopyRemovesMark}) {
            const std::optional<int16_t> value = flags.shortNumber();
            if (!value) {
                break;
            }
            *flag = static_cast<uint16_t>(*value);
        }
    }
    const std::optional<std::string_view> countLine = lines.nextLine();
    if (!countLine) {
        return keymap;
    }
    const int tableCount = std::min<int>(TextScan(*countLine).shortNumber().value_or(0), Keymap::kMaxTables);
    const FunctionTable& functions = FunctionTable::standard();
    for (int slot = 0; slot < tableCount; ++slot) {
        const std::optional<std::string_view> header = lines.nextLine();
        if (!header) {
            break;
        }
        TextScan scan(*header);
        const std::optional<int16_t> code = scan.shortNumber();
        const std::optional<int16_t> modifiers = scan.shortNumber();
        const std::optional<int16_t> count = scan.shortNumber();
        if (!code || !modifiers || !count) {
            break;
        }
        KeyTable table({static_cast<uint16_t>(*code), static_cast<uint16_t>(*modifiers)});
        const int bindingCount = std::min<int>(*count, static_cast<int>(KeyTable::kMaxBindings));
        bool complete = true;
        for (int index = 0; index < bindingCount; ++index) {
            const std::optional<std::string_view> line = lines.nextLine();
            if (!line) {
                complete = false;
                break;
            }
            TextScan bindingScan(*line);
            const std::optional<int16_t> keyCode = bindingScan.shortNumber();
            const std::optional<int16_t> keyModifiers = bindingScan.shortNumber();
            if (!keyCode || !keyModifiers) {
                complete = false;
                break;
            }
            const std::optional<std::string> name = bindingScan.word();
            const FunctionId function = name ? functions.idOf(*name) : kNoFunction;
            (void)table.append(
                {static_cast<uint16_t>(*keyCode), static_cast<uint16_t>(*keyModifiers), function});
        }
        (void)keymap.appendTable(std::move(table));
        if (!complete) {
            break;
        }
    }
    return keymap;
}

} // namespace vexa
