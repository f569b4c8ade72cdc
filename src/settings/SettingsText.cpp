// Parsing, lookup and line-preserving change of the settings text.
#include "settings/SettingsText.h"

#include <algorithm>
#include <charconv>
#include <climits>

#include "settings/Format.h"

namespace vexa {
namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view trim(std::string_view text) {
    size_t start = text.find_first_not_of(kBlanks);
    if (start == std::string_view::npos) {
        return {};
    }
    size_t end = text.find_last_not_of(kBlanks);
    return text.substr(start, end - start + 1);
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalNames(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

// The section a line opens, or nothing when it is not a section line. A '[' without its ']'
// still opens a section named by the rest of the line.
std::optional<std::string_view> sectionOf(std::string_view line) {
    std::string_view text = trim(line);
    if (text.empty() || text.front() != '[') {
        return std::nullopt;
    }
    text.remove_prefix(1);
    return trim(text.substr(0, text.find(']')));
}

bool isComment(std::string_view line) {
    std::string_view text = trim(line);
    return !text.empty() && text.front() == ';';
}

bool isQuote(char c) {
    return c == '"' || c == '\'';
}

// A value loses its outer blanks and one pair of enclosing quotes when it is read, so a value
// that has either is written inside a pair of quotes of its own; every other value is written
// as it is, the way hand-written files have it.
std::string quotedForWriting(std::string value) {
    bool blankAtEdge = !value.empty() && (kBlanks.find(value.front()) != std::string_view::npos ||
                                          kBlanks.find(value.back()) != std::string_view::npos);
    bool quoted = value.size() >= 2 && isQuote(value.front()) && value.back() == value.front();
    if (blankAtEdge || quoted) {
        return '"' + value + '"';
    }
    return value;
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

SettingsText SettingsText::parse(std::string_view bytes) {
    SettingsText text;
    size_t firstBreak = bytes.find('\n');
    if (firstBreak != std::string_view::npos && firstBreak > 0 && bytes[firstBreak - 1] == '\r') {
        text.m_lineEnd = "\r\n";
    }
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        std::string_view line = bytes.substr(start, end == std::string_view::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        text.m_lines.emplace_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return text;
}

std::optional<SettingsText::Location> SettingsText::locate(std::string_view section,
                                                           std::string_view key) const {
    section = trim(section);
    key = trim(key);
    bool inSection = false;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        std::string_view line = m_lines[i];
        if (auto name = sectionOf(line)) {
            inSection = equalNames(*name, section);
            continue;
        }
        if (!inSection || isComment(line)) {
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        std::string_view lineKey = line.substr(0, equals);
        if (equalNames(trim(lineKey), key)) {
            size_t keyEnd = lineKey.find_last_not_of(kBlanks);
            return Location{i, keyEnd == std::string_view::npos ? 0 : keyEnd + 1};
        }
    }
    return std::nullopt;
}

std::optional<std::string> SettingsText::find(std::string_view section, std::string_view key) const {
    auto location = locate(section, key);
    if (!location) {
        return std::nullopt;
    }
    std::string_view line = m_lines[location->line];
    std::string_view value = trim(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

std::string SettingsText::getString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, size_t size) const {
    std::string value = find(section, key).value_or(std::string(defaultValue));
    if (value.size() >= size) {
        value.resize(size == 0 ? 0 : size - 1);
    }
    return value;
}

int SettingsText::getInteger(std::string_view section, std::string_view key, int defaultValue) const {
    auto value = find(section, key);
    if (!value || value->empty()) {
        return defaultValue;
    }
    std::string_view text = *value;
    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        ++digits;
    }
    long long number = 0;
    for (size_t i = 0; i < digits; ++i) {
        // Past the int range the number only needs to stay past it, not to grow further.
        number = std::min<long long>(number * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    if (negative) {
        number = -number;
    }
    return static_cast<int>(std::clamp<long long>(number, INT_MIN, INT_MAX));
}

bool SettingsText::putString(std::string_view section, std::string_view key, std::string_view value) {
    section = trim(section);
    key = trim(key);
    if (key.empty() || key.find('=') != std::string_view::npos || hasLineBreak(key) ||
        section.find(']') != std::string_view::npos || hasLineBreak(section)) {
        return false;
    }
    std::string safeValue(value);
    std::replace_if(
        safeValue.begin(), safeValue.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    safeValue = quotedForWriting(std::move(safeValue));

    if (auto location = locate(section, key)) {
        std::string& line = m_lines[location->line];
        line = line.substr(0, location->keyEnd) + "=" + safeValue;
        return true;
    }
    std::string newLine = std::string(key) + "=" + safeValue;

    // The key goes after the last non-blank line of the first section of that name, so the
    // blank line that separates it from the next section stays where it was.
    std::optional<size_t> insertAfter;
    bool inSection = false;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        if (auto name = sectionOf(m_lines[i])) {
            if (inSection) {
                break;
            }
            inSection = equalNames(*name, section);
            if (inSection) {
                insertAfter = i;
            }
            continue;
        }
        if (inSection && !trim(m_lines[i]).empty()) {
            insertAfter = i;
        }
    }
    if (insertAfter) {
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(*insertAfter + 1), newLine);
        return true;
    }
    if (!m_lines.empty() && !trim(m_lines.back()).empty()) {
        m_lines.emplace_back();
    }
    m_lines.push_back("[" + std::string(section) + "]");
    m_lines.push_back(newLine);
    return true;
}

bool SettingsText::putInteger(std::string_view section, std::string_view key, int value) {
    return putString(section, key, formatText("%d", value));
}

bool SettingsText::hasSection(std::string_view section) const {
    section = trim(section);
    return std::any_of(m_lines.begin(), m_lines.end(), [&](const std::string& line) {
        auto name = sectionOf(line);
        return name && equalNames(*name, section);
    });
}

std::string SettingsText::serialize() const {
    std::string bytes;
    for (const auto& line : m_lines) {
        bytes += line;
        bytes += m_lineEnd;
    }
    return bytes;
}

} // namespace vexa
