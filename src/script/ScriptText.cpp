// Text helpers of the script language.
#include "script/ScriptText.h"

#include <limits>

namespace vexa::script {

int32_t textToNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr uint64_t kLimit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    uint64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const auto digit = static_cast<uint64_t>(text[i] - '0');
        // The negative side reaches one further than the positive one.
        const uint64_t limit = negative ? kLimit + 1 : kLimit;
        value = value > (limit - digit) / 10 ? limit : value * 10 + digit;
    }
    const uint64_t bits = negative ? ~value + 1 : value;
    return static_cast<int32_t>(static_cast<uint32_t>(bits));
}

std::string formatScriptText(std::string_view format, std::span<const std::string> values) {
    std::string result;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '\\' && i + 1 < format.size()) {
            if (format[i + 1] == 'n') {
                result += " \n";
            } else {
                result += c;
                result += format[i + 1];
            }
            ++i;
        } else if (c == '%' && i + 1 < format.size()) {
            if (next < values.size()) {
                result += values[next];
            }
            ++next;
            ++i;
        } else {
            result += c;
        }
    }
    return result;
}

std::vector<std::string> splitCommandLine(std::string_view line, size_t limit) {
    std::vector<std::string> words;
    size_t i = 0;
    while (words.size() < limit) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
        if (i >= line.size()) {
            break;
        }
        std::string word;
        bool quoted = false;
        for (; i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t')); ++i) {
            if (line[i] == '"') {
                quoted = !quoted;
            } else {
                word += line[i];
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

} // namespace vexa::script
